#include "core/tryon/TryOn.h"

#include "core/catalogue/FileErrors.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/catalogue/Sim.h"
#include "core/catalogue/TryOn.h"
#include "core/cmx/CmxLayout.h"
#include "core/sim/Character.h"
#include "core/sim/Mesh.h"
#include "core/textures/AssociatedFiles.h"
#include "platform/FileSystem.h"
#include "platform/archive/FarArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

namespace vestimo::tryon {

namespace {

using platform::archive::FarArchive;
using platform::archive::FarError;

constexpr qint64 MaxCmxBytes = qint64{4} * 1024 * 1024;
// A text mesh at the parsers' million faces is some 60 MB; anything larger is refused unread.
constexpr qint64 MaxMeshBytes = qint64{96} * 1024 * 1024;
constexpr qint64 MaxTextureBytes = qint64{16} * 1024 * 1024;
// A damaged install with endless archives costs no more than this many opened.
constexpr qsizetype MaxArchives = 64;

const std::array<QString, 3> Tones = {QStringLiteral("lgt"), QStringLiteral("med"), QStringLiteral("drk")};
const QString CmxExtension = QStringLiteral(".cmx");
const QString BcfExtension = QStringLiteral(".bcf");
const QString BitmapExtension = QStringLiteral(".bmp");

// The name after the last folder separator, either kind (archives use "\").
QString baseName(const QString& name) {
    const qsizetype cut = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    return name.mid(cut + 1);
}

// One place pieces are looked for: a folder of loose files or one of the game's archives. Its
// names are listed once, the first time it is asked.
class Source {
public:
    static Source folder(QString path) {
        Source s;
        s.folder_ = std::move(path);
        return s;
    }
    static Source archive(QString path) {
        Source s;
        s.archive_ = std::move(path);
        return s;
    }

    bool isArchive() const { return !archive_.isEmpty(); }
    const QString& path() const { return isArchive() ? archive_ : folder_; }

    // Every name the place holds, as stored (archives: the name without its folders).
    const QStringList& names() {
        load();
        return names_;
    }
    // The stored name matching `name` without regard to case, or empty.
    QString find(const QString& name) {
        load();
        return byFolded_.value(name.toCaseFolded());
    }
    QString shown(const QString& stored) const {
        return isArchive() ? texts::tryOnInArchive(archive_, stored) : platform::joinPath(folder_, stored);
    }
    std::optional<QByteArray> read(const QString& stored, qint64 limit, QString& why) {
        if (isArchive()) {
            FarError error;
            const auto entry = entryOf_.find(stored.toCaseFolded());
            if (!far_ || entry == entryOf_.end()) {
                return std::nullopt;
            }
            auto bytes = far_->read(far_->entries()[static_cast<std::size_t>(*entry)], limit, &error);
            if (!bytes) {
                why = texts::farError(error);
            }
            return bytes;
        }
        platform::ReadResult result = platform::readFile(platform::joinPath(folder_, stored), limit);
        if (!result.ok) {
            why = texts::fileErrorReason(result.error);
            return std::nullopt;
        }
        return std::move(result.bytes);
    }

private:
    void load() {
        if (loaded_) {
            return;
        }
        loaded_ = true;
        if (!isArchive()) {
            for (const QString& name : platform::listFiles(folder_, QStringLiteral("*")).names) {
                add(name, -1);
            }
            return;
        }
        FarError error;
        far_ = FarArchive::open(archive_, &error);
        if (!far_) {
            return;
        }
        const auto& entries = far_->entries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            add(baseName(QString::fromLatin1(entries[i].name)), static_cast<qsizetype>(i));
        }
    }
    void add(const QString& name, qsizetype entry) {
        const QString folded = name.toCaseFolded();
        if (byFolded_.contains(folded)) {
            return;
        }
        byFolded_.insert(folded, name);
        names_.append(name);
        if (entry >= 0) {
            entryOf_.insert(folded, entry);
        }
    }

    QString folder_;
    QString archive_;
    bool loaded_ = false;
    std::optional<FarArchive> far_;
    QStringList names_;
    QHash<QString, QString> byFolded_;
    QHash<QString, qsizetype> entryOf_;
};

struct Found {
    QString shown;
    QByteArray bytes;
    QString stored;
    std::size_t source = 0;
};

// The skin's folder, then each install's Skins folder, then their archives.
class Library {
public:
    Library(const QString& skinFolder, const TryOnPlaces& places) {
        QStringList seen;
        const auto addFolder = [&](const QString& folder) {
            const QString clean = QDir::cleanPath(folder);
            if (!folder.isEmpty() && !seen.contains(clean)) {
                seen.append(clean);
                sources_.push_back(Source::folder(clean));
                folders_.append(clean);
            }
        };
        addFolder(skinFolder);
        for (const QString& folder : places.skinFolders) {
            addFolder(folder);
        }
        for (const QString& archive : places.archives.mid(0, MaxArchives)) {
            sources_.push_back(Source::archive(archive));
        }
    }

    QString lookedIn() const {
        return texts::tryOnLookedIn(folders_, static_cast<qsizetype>(sources_.size()) - folders_.size());
    }
    std::size_t size() const { return sources_.size(); }
    Source& at(std::size_t i) { return sources_[i]; }

    // The first of `names` found, in the places' order; a file that is there but cannot be read
    // says why in `why` and ends the search.
    std::optional<Found> find(const QStringList& names, qint64 limit, QString& why) {
        for (std::size_t i = 0; i < sources_.size(); ++i) {
            for (const QString& name : names) {
                const QString stored = sources_[i].find(name);
                if (stored.isEmpty()) {
                    continue;
                }
                QString reason;
                auto bytes = sources_[i].read(stored, limit, reason);
                if (!bytes) {
                    why = texts::tryOnUnreadable(sources_[i].shown(stored), reason);
                    return std::nullopt;
                }
                return Found{sources_[i].shown(stored), std::move(*bytes), stored, i};
            }
        }
        return std::nullopt;
    }

private:
    std::vector<Source> sources_;
    QStringList folders_;
};

// The Sim a skin is made for, from its file name: "FA" female adult, "MC" male child, and so on.
struct Kind {
    QChar part;   // 'C' a head, 'H' a hand, anything else a body
    QChar gender; // 'F', 'M' or 'U'
    QChar age;    // 'A' or 'C'
    bool pet = false;
    bool known = false;
};

Kind kindOf(const QString& fileName) {
    Kind kind;
    const std::string key = cmx::classKey(fileName.toStdString());
    if (cmx::isSkinClass(key)) {
        kind.part = QChar(static_cast<char16_t>(key[0]));
        kind.pet = key == "B*CA" || key == "B*DO";
        kind.gender = QChar(static_cast<char16_t>(key[2]));
        kind.age = QChar(static_cast<char16_t>(key[3]));
        kind.known = true;
        return kind;
    }
    // The hands: "HMLO" (hand, male, left, open), adult unless the letter after the gender is C.
    const QString upper = fileName.toUpper();
    if (upper.size() >= 4 && upper[0] == u'H') {
        kind.part = u'H';
        kind.gender = upper[1];
        kind.age = upper[1] == u'C' ? u'C' : u'A';
        kind.known = true;
    }
    return kind;
}

QString skeletonName(const Kind& kind) {
    return kind.age == u'C' ? QStringLiteral("child-skeleton.cmx") : QStringLiteral("adult-skeleton.cmx");
}

// "HFLO" and "HFRO" for a female adult; children's hands take C where adults have their gender.
std::array<QString, 2> handNames(const Kind& kind) {
    const QChar who = kind.age == u'C' ? QChar(u'C') : kind.gender;
    return {QStringLiteral("H%1LO.cmx").arg(who), QStringLiteral("H%1RO.cmx").arg(who)};
}

// The names a file may have in a folder or an archive: as given, and the binary form.
QStringList cmxVariants(const QString& name) {
    return {name, name + BcfExtension};
}

// The bitmap prefix of a piece: the skin-class rule, or the whole name for the hands.
QString texturePrefix(const QString& cmxName) {
    const QString name = cmxName.endsWith(BcfExtension, Qt::CaseInsensitive) ? cmxName.chopped(4) : cmxName;
    const QString prefix = textures::bitmapPrefix(name);
    if (!prefix.isEmpty()) {
        return prefix;
    }
    return name.endsWith(CmxExtension, Qt::CaseInsensitive) ? name.chopped(CmxExtension.size()) : name;
}

// The tone a bitmap shows after its prefix, or empty.
QString toneOf(const QString& bitmap, const QString& prefix) {
    if (!bitmap.startsWith(prefix, Qt::CaseInsensitive)) {
        return {};
    }
    const QString tone = bitmap.mid(prefix.size(), 3).toLower();
    return std::find(Tones.begin(), Tones.end(), tone) != Tones.end() ? tone : QString();
}

// The bitmaps of `names` that belong to `prefix`, in name order.
QStringList bitmapsFor(const QStringList& names, const QString& prefix) {
    QStringList found;
    for (const QString& name : names) {
        if (name.endsWith(BitmapExtension, Qt::CaseInsensitive) &&
            name.startsWith(prefix, Qt::CaseInsensitive) &&
            name.size() > prefix.size() + BitmapExtension.size()) {
            found.append(name);
        }
    }
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return found;
}

std::optional<sim::Suit> suitOf(const QString& name, const QByteArray& bytes, QString& why) {
    if (name.endsWith(BcfExtension, Qt::CaseInsensitive)) {
        auto file = sim::parseBcf(bytes);
        if (!file.ok()) {
            why = sim::describe(file.error());
            return std::nullopt;
        }
        if (file.value().suits.empty()) {
            why = texts::simNoSuit();
            return std::nullopt;
        }
        return file.value().suits.front();
    }
    auto suit = sim::parseSuit(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!suit.ok()) {
        why = sim::describe(suit.error());
        return std::nullopt;
    }
    return std::move(suit).value();
}

std::optional<sim::Skeleton> skeletonOf(const QString& name, const QByteArray& bytes, QString& why) {
    if (name.endsWith(BcfExtension, Qt::CaseInsensitive)) {
        auto file = sim::parseBcf(bytes);
        if (!file.ok() || file.value().skeletons.empty()) {
            why = file.ok() ? texts::simNoSkeleton() : sim::describe(file.error());
            return std::nullopt;
        }
        return file.value().skeletons.front();
    }
    auto skeleton =
        sim::parseSkeleton(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!skeleton.ok()) {
        why = sim::describe(skeleton.error());
        return std::nullopt;
    }
    return std::move(skeleton).value();
}

// One CMX file to draw, found or given, before its meshes are read.
struct PieceFile {
    TryOnPiece::Role role = TryOnPiece::Role::Skin;
    QString name; // the file's own name, for its textures
    QString shown;
    sim::Suit suit;
    std::size_t source = 0; // where it was found; its meshes and textures are looked for there first
};

// Which part of the Sim a suit dresses, by the bones its skins hang on.
enum class Slot { Body, Head, LeftHand, RightHand };
Slot slotOf(const sim::Suit& suit) {
    for (const sim::Skin& skin : suit.skins) {
        const QString bone = QString::fromStdString(skin.boneName).toUpper();
        if (bone == QLatin1String(cmx::LeftHand.data())) {
            return Slot::LeftHand;
        }
        if (bone == QLatin1String(cmx::RightHand.data())) {
            return Slot::RightHand;
        }
        if (bone == QStringLiteral("HEAD")) {
            return Slot::Head;
        }
    }
    return Slot::Body;
}

class SceneBuilder {
public:
    SceneBuilder(const TryOnRequest& request, const TryOnPlaces& places)
        : request_(request), skinFile_(QFileInfo(request.cmxPath)),
          library_(skinFile_.absolutePath(), places) {}

    TryOnScene build() {
        const QString skinName = skinFile_.fileName();
        kind_ = kindOf(skinName);
        QString why;
        const platform::ReadResult read = platform::readFile(request_.cmxPath, MaxCmxBytes);
        if (!read.ok) {
            return failed(texts::tryOnUnreadable(request_.cmxPath, texts::fileErrorReason(read.error)));
        }
        auto suit = suitOf(skinName, read.bytes, why);
        if (!suit) {
            return failed(texts::tryOnUnreadable(request_.cmxPath, why));
        }
        ownTextures(skinName);
        if (kind_.pet) {
            return failed(texts::tryOnPetSkin(skinName));
        }
        if (!loadSkeleton()) {
            return std::move(scene_);
        }
        std::vector<PieceFile> files;
        files.push_back({TryOnPiece::Role::Skin, skinName, request_.cmxPath, std::move(*suit), 0});
        addChosen(files);
        if (!request_.alone) {
            complete(files);
        }
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (!drawPiece(files[i], i == 0) && i == 0) {
                return std::move(scene_);
            }
        }
        scene_.drawable = true;
        return std::move(scene_);
    }

private:
    void fail(const QString& why) {
        scene_.drawable = false;
        scene_.failure = why;
        scene_.pieces.clear();
    }
    TryOnScene failed(const QString& why) {
        fail(why);
        return std::move(scene_);
    }

    // The skin's own bitmaps in its folder, their tones, and the one to wear.
    void ownTextures(const QString& skinName) {
        const QString prefix = texturePrefix(skinName);
        const QStringList bitmaps = bitmapsFor(library_.at(0).names(), prefix);
        for (const QString& tone : Tones) {
            for (const QString& bitmap : bitmaps) {
                if (toneOf(bitmap, prefix) == tone) {
                    scene_.tones.append(tone);
                    break;
                }
            }
        }
        for (const QString& bitmap : bitmaps) {
            scene_.textures.append(library_.at(0).shown(bitmap));
        }
        if (!request_.texturePath.isEmpty()) {
            tone_ = toneOf(QFileInfo(request_.texturePath).fileName(), prefix);
        }
        if (tone_.isEmpty()) {
            tone_ = scene_.tones.contains(request_.tone) ? request_.tone : scene_.tones.value(0);
        }
        if (!request_.texturePath.isEmpty()) {
            return;
        }
        for (const QString& bitmap : bitmaps) {
            if (toneOf(bitmap, prefix) == tone_) {
                skinTexture_ = library_.at(0).shown(bitmap);
                break;
            }
        }
        if (skinTexture_.isEmpty() && !bitmaps.isEmpty()) {
            skinTexture_ = library_.at(0).shown(bitmaps.front());
        }
    }

    bool loadSkeleton() {
        const QString name = skeletonName(kind_);
        QString why;
        const auto found = library_.find(cmxVariants(name), MaxCmxBytes, why);
        if (!found) {
            fail(why.isEmpty() ? texts::tryOnNoSkeleton(name, library_.lookedIn()) : why);
            return false;
        }
        auto skeleton = skeletonOf(found->stored, found->bytes, why);
        if (!skeleton) {
            fail(texts::tryOnUnreadable(found->shown, why));
            return false;
        }
        auto posed = sim::poseSkeleton(*skeleton);
        if (!posed.ok()) {
            fail(texts::tryOnUnreadable(found->shown, sim::describe(posed.error())));
            return false;
        }
        skeleton_ = std::move(posed).value();
        scene_.skeletonFile = found->shown;
        return true;
    }

    // The pieces the player named, each read from the path given.
    void addChosen(std::vector<PieceFile>& files) {
        QStringList chosen = request_.with;
        if (!request_.head.isEmpty() && !request_.alone) {
            chosen.append(request_.head);
        }
        for (const QString& path : chosen) {
            const bool isHead = path == request_.head && !request_.head.isEmpty();
            QString why;
            std::optional<Found> found;
            if (path.contains(u'/')) {
                platform::ReadResult read = platform::readFile(path, MaxCmxBytes);
                if (!read.ok) {
                    scene_.missing.append(texts::tryOnUnreadable(path, texts::fileErrorReason(read.error)));
                    continue;
                }
                found = Found{path, std::move(read.bytes), QFileInfo(path).fileName(), 0};
            } else {
                found = library_.find(cmxVariants(path), MaxCmxBytes, why);
            }
            if (!found) {
                scene_.missing.append(why.isEmpty() ? texts::tryOnNoPiece(path, library_.lookedIn()) : why);
                continue;
            }
            auto suit = suitOf(found->stored, found->bytes, why);
            if (!suit) {
                scene_.missing.append(texts::tryOnUnreadable(found->shown, why));
                continue;
            }
            files.push_back({isHead ? TryOnPiece::Role::Head : TryOnPiece::Role::With, found->stored,
                             found->shown, std::move(*suit), found->source});
        }
    }

    // Every head (or body) of the Sim's kind in reach, lowest-numbered first, each name once.
    QStringList candidates(QChar part) {
        QStringList names;
        QStringList folded;
        for (std::size_t i = 0; i < library_.size(); ++i) {
            for (const QString& name : library_.at(i).names()) {
                const QString plain =
                    name.endsWith(BcfExtension, Qt::CaseInsensitive) ? name.chopped(4) : name;
                if (!plain.endsWith(CmxExtension, Qt::CaseInsensitive) ||
                    folded.contains(plain.toCaseFolded())) {
                    continue;
                }
                const Kind kind = kindOf(plain);
                if (kind.known && kind.part == part && kind.gender == kind_.gender && kind.age == kind_.age) {
                    names.append(plain);
                    folded.append(plain.toCaseFolded());
                }
            }
        }
        // Maxis numbers heads and bodies with digits; letters, which makers use too, sort after.
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
        return names;
    }

    // The rule's head or body, and the open hands, for whatever the skin and the chosen pieces
    // leave bare.
    void complete(std::vector<PieceFile>& files) {
        std::array<bool, 4> filled{};
        for (const PieceFile& file : files) {
            filled[static_cast<std::size_t>(slotOf(file.suit))] = true;
        }
        const bool head = kind_.part == u'C';
        const QChar other = head ? QChar(u'B') : QChar(u'C');
        const QString pattern = QStringLiteral("%1*%2%3").arg(other, kind_.gender, kind_.age);
        const std::array<QString, 2> hands = handNames(kind_);
        const QString handList = QStringLiteral("%1, %2").arg(hands[0].chopped(4), hands[1].chopped(4));
        scene_.rule =
            head ? texts::tryOnRuleHead(pattern, handList) : texts::tryOnRuleBody(pattern, handList);
        const QStringList found = candidates(other);
        if (!head) {
            scene_.heads = found;
        }
        const Slot completing = head ? Slot::Body : Slot::Head;
        if (!filled[static_cast<std::size_t>(completing)]) {
            if (found.isEmpty()) {
                scene_.missing.append(head ? texts::tryOnNoBody(pattern, library_.lookedIn())
                                           : texts::tryOnNoHead(pattern, library_.lookedIn()));
            } else {
                addFound(files, found.front(), head ? TryOnPiece::Role::Body : TryOnPiece::Role::Head);
            }
        }
        for (std::size_t side = 0; side < 2; ++side) {
            if (!filled[static_cast<std::size_t>(Slot::LeftHand) + side]) {
                addFound(files, hands[side], TryOnPiece::Role::Hand);
            }
        }
    }

    void addFound(std::vector<PieceFile>& files, const QString& name, TryOnPiece::Role role) {
        QString why;
        const auto found = library_.find(cmxVariants(name), MaxCmxBytes, why);
        if (!found) {
            scene_.missing.append(why.isEmpty() ? texts::tryOnNoPiece(name, library_.lookedIn()) : why);
            return;
        }
        auto suit = suitOf(found->stored, found->bytes, why);
        if (!suit) {
            scene_.missing.append(texts::tryOnUnreadable(found->shown, why));
            return;
        }
        files.push_back({role, found->stored, found->shown, std::move(*suit), found->source});
    }

    // The bitmap a piece wears: the skin's chosen one, else the piece's own of the tone.
    void textureFor(const PieceFile& file, TryOnPiece& piece) {
        QString path;
        if (file.role == TryOnPiece::Role::Skin) {
            path = request_.texturePath.isEmpty() ? skinTexture_ : request_.texturePath;
            if (path.isEmpty()) {
                scene_.missing.append(texts::tryOnNoTexture(file.name, tone_.isEmpty() ? Tones[0] : tone_));
                return;
            }
            readTexture(path, piece);
            return;
        }
        const QString prefix = texturePrefix(file.name);
        const QString tone = tone_.isEmpty() ? Tones[0] : tone_;
        for (std::size_t i = 0; i < library_.size(); ++i) {
            const std::size_t at = i == 0 ? file.source : (i <= file.source ? i - 1 : i);
            Source& source = library_.at(at);
            for (const QString& bitmap : bitmapsFor(source.names(), prefix)) {
                if (toneOf(bitmap, prefix) != tone) {
                    continue;
                }
                QString why;
                auto bytes = source.read(bitmap, MaxTextureBytes, why);
                if (bytes) {
                    piece.textureFile = source.shown(bitmap);
                    piece.texture = std::move(*bytes);
                    return;
                }
            }
        }
        scene_.missing.append(texts::tryOnNoTexture(file.name, tone));
    }

    void readTexture(const QString& path, TryOnPiece& piece) {
        platform::ReadResult read = platform::readFile(path, MaxTextureBytes);
        if (!read.ok) {
            scene_.missing.append(texts::tryOnUnreadable(path, texts::fileErrorReason(read.error)));
            return;
        }
        piece.textureFile = path;
        piece.texture = std::move(read.bytes);
    }

    // Reads and poses each mesh of one file. For the named skin, false when none can be drawn,
    // with the scene's failure saying why.
    bool drawPiece(const PieceFile& file, bool named) {
        if (file.suit.skins.empty()) {
            if (named) {
                fail(texts::tryOnNoMeshNamed(file.name));
            }
            return false;
        }
        TryOnPiece textured;
        textured.role = file.role;
        textured.cmxFile = file.shown;
        textureFor(file, textured);
        QString firstFault;
        bool drawn = false;
        for (const sim::Skin& skin : file.suit.skins) {
            const QString mesh = QString::fromStdString(skin.meshName);
            QString fault = meshFault(mesh, file, textured);
            if (fault.isEmpty()) {
                drawn = true;
            } else if (named && firstFault.isEmpty()) {
                firstFault = fault;
            } else {
                scene_.missing.append(fault);
            }
        }
        if (named && !drawn) {
            fail(firstFault);
            return false;
        }
        if (!firstFault.isEmpty()) {
            scene_.missing.append(firstFault);
        }
        return drawn;
    }

    // Adds the mesh posed, or says why not.
    QString meshFault(const QString& mesh, const PieceFile& file, const TryOnPiece& textured) {
        const QStringList names = {mesh + QStringLiteral(".skn"), mesh + QStringLiteral(".bmf")};
        QString why;
        std::optional<Found> found;
        // The piece's own place first, then every place in order.
        for (const QString& name : names) {
            const QString stored = library_.at(file.source).find(name);
            if (!stored.isEmpty()) {
                auto bytes = library_.at(file.source).read(stored, MaxMeshBytes, why);
                if (!bytes) {
                    return texts::tryOnUnreadable(library_.at(file.source).shown(stored), why);
                }
                found = Found{library_.at(file.source).shown(stored), std::move(*bytes), stored, file.source};
                break;
            }
        }
        if (!found) {
            found = library_.find(names, MaxMeshBytes, why);
        }
        if (!found) {
            return why.isEmpty() ? texts::tryOnNoMesh(mesh, library_.lookedIn()) : why;
        }
        const bool binary = found->stored.endsWith(QStringLiteral(".bmf"), Qt::CaseInsensitive);
        auto parsed = binary ? sim::parseBmf(found->bytes)
                             : sim::parseSkn(std::string_view(found->bytes.constData(),
                                                              static_cast<std::size_t>(found->bytes.size())));
        if (!parsed.ok()) {
            return texts::tryOnUnreadable(found->shown, sim::describe(parsed.error()));
        }
        auto posed = sim::poseMesh(parsed.value(), skeleton_);
        if (!posed.ok()) {
            return texts::tryOnUnreadable(found->shown, sim::describe(posed.error()));
        }
        TryOnPiece piece = textured;
        piece.meshFile = found->shown;
        piece.mesh = std::move(posed).value();
        scene_.pieces.push_back(std::move(piece));
        return {};
    }

    const TryOnRequest& request_;
    QFileInfo skinFile_;
    Library library_;
    Kind kind_;
    QString tone_;
    QString skinTexture_;
    sim::PosedSkeleton skeleton_;
    TryOnScene scene_;
};

// The FAR archives of one install: in GameData/Skins, then in GameData itself.
void addArchives(const core::games::GameInstall& install, QStringList& archives) {
    QStringList folders = {install.skins};
    const QString gameData = platform::resolveDirectory(install.root, QStringLiteral("GameData"));
    if (!gameData.isEmpty()) {
        folders.append(gameData);
    }
    for (const QString& folder : folders) {
        if (folder.isEmpty()) {
            continue;
        }
        QStringList names = platform::listFiles(folder, QStringLiteral("*.far")).names;
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
        for (const QString& name : names) {
            const QString path = platform::joinPath(folder, name);
            if (archives.size() < MaxArchives && !archives.contains(path)) {
                archives.append(path);
            }
        }
    }
}

bool holds(const QString& folder, const QString& inside) {
    if (folder.isEmpty()) {
        return false;
    }
    const QString outer = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString inner = QDir::cleanPath(QFileInfo(inside).absoluteFilePath());
    return inner == outer || inner.startsWith(outer + u'/');
}

} // namespace

std::vector<platform::render::SceneMesh> TryOnScene::sceneMeshes() const {
    std::vector<platform::render::SceneMesh> meshes;
    meshes.reserve(pieces.size());
    for (const TryOnPiece& piece : pieces) {
        platform::render::SceneMesh mesh;
        const auto& vertices = piece.mesh.vertices;
        mesh.positions.reserve(vertices.size() * 3);
        mesh.normals.reserve(vertices.size() * 3);
        mesh.uvs.reserve(vertices.size() * 2);
        for (const sim::PosedVertex& v : vertices) {
            mesh.positions.insert(mesh.positions.end(), {v.position.x, v.position.y, v.position.z});
            mesh.normals.insert(mesh.normals.end(), {v.normal.x, v.normal.y, v.normal.z});
            mesh.uvs.insert(mesh.uvs.end(), {v.u, v.v});
        }
        mesh.triangles.reserve(piece.mesh.triangles.size() * 3);
        for (const auto& t : piece.mesh.triangles) {
            mesh.triangles.insert(mesh.triangles.end(), t.begin(), t.end());
        }
        mesh.texture = piece.texture;
        meshes.push_back(std::move(mesh));
    }
    return meshes;
}

TryOnPlaces placesFor(const QString& skinFolder, const std::vector<core::games::GameInstall>& installs) {
    std::vector<const core::games::GameInstall*> ordered;
    for (const auto& install : installs) {
        ordered.push_back(&install);
    }
    std::stable_partition(ordered.begin(), ordered.end(), [&](const core::games::GameInstall* install) {
        return holds(install->skins, skinFolder);
    });
    TryOnPlaces places;
    for (const auto* install : ordered) {
        if (!install->skins.isEmpty()) {
            places.skinFolders.append(install->skins);
        }
    }
    for (const auto* install : ordered) {
        addArchives(*install, places.archives);
    }
    return places;
}

TryOnScene buildTryOnScene(const TryOnRequest& request, const TryOnPlaces& places) {
    return SceneBuilder(request, places).build();
}

} // namespace vestimo::tryon
