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
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
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

// What one place holds, listed once: the names as stored, and for an archive its manifest.
struct Listing {
    std::optional<platform::FileIdentity> identity; // of the place when it was listed
    QStringList names;
    QHash<QString, QString> byFolded;
    QHash<QString, qsizetype> entryOf;
    std::shared_ptr<const FarArchive> far;
    // Worked out from the names once, however many builds ask: the bitmaps by folded name, and
    // the heads and bodies of each kind of Sim.
    std::optional<std::vector<std::pair<QString, QString>>> bitmaps;
    QHash<QString, QStringList> candidates;

    void add(const QString& name, qsizetype entry) {
        const QString folded = name.toCaseFolded();
        if (byFolded.contains(folded)) {
            return;
        }
        byFolded.insert(folded, name);
        names.append(name);
        if (entry >= 0) {
            entryOf.insert(folded, entry);
        }
    }
};

// Something read from a file and kept while the file's identity is unchanged.
template <typename T> struct Kept {
    platform::FileIdentity identity;
    std::shared_ptr<const T> value;
    quint64 posedOn = 0; // a posed mesh: the skeleton it was posed on; a skeleton: its own number
};

} // namespace

struct TryOnMemo::State {
    QHash<QString, std::shared_ptr<Listing>> listings;
    QHash<QString, Kept<sim::PosedSkeleton>> skeletons;
    QHash<QString, Kept<sim::Suit>> suits;
    QHash<QString, Kept<sim::PosedMesh>> meshes;
    QHash<QString, Kept<QByteArray>> textures;
    qint64 textureBytes = 0;
    quint64 skeletonsMade = 0;
};

TryOnMemo::TryOnMemo() : state_(std::make_unique<State>()) {}
TryOnMemo::~TryOnMemo() = default;

namespace {

// A folder of ten thousand skins keeps no more than this many meshes and texture bytes; past it the
// memo starts again (the skeleton and the completing pieces are kept apart and stay).
constexpr qsizetype MaxKeptMeshes = 512;
constexpr qint64 MaxKeptTextureBytes = qint64{64} * 1024 * 1024;

// One place pieces are looked for: a folder of loose files or one of the game's archives. Its
// names are listed once, the first time it is asked (once for every build sharing a memo, while
// the place is unchanged).
class Source {
public:
    static Source folder(QString path, TryOnMemo::State* memo) {
        Source s;
        s.folder_ = std::move(path);
        s.memo_ = memo;
        return s;
    }
    static Source archive(QString path, TryOnMemo::State* memo) {
        Source s;
        s.archive_ = std::move(path);
        s.memo_ = memo;
        return s;
    }

    bool isArchive() const { return !archive_.isEmpty(); }
    const QString& path() const { return isArchive() ? archive_ : folder_; }

    // Every name the place holds, as stored (archives: the name without its folders).
    const QStringList& names() {
        load();
        return listing_->names;
    }
    // The stored name matching `name` without regard to case, or empty.
    QString find(const QString& name) {
        load();
        return listing_->byFolded.value(name.toCaseFolded());
    }
    // The bitmaps whose names start with `prefix` and go on past it, without regard to case, in
    // name order.
    QStringList bitmaps(const QString& prefix) {
        load();
        if (!listing_->bitmaps) {
            std::vector<std::pair<QString, QString>> index;
            for (const QString& name : listing_->names) {
                if (name.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive)) {
                    index.emplace_back(name.toCaseFolded(), name);
                }
            }
            std::sort(index.begin(), index.end());
            listing_->bitmaps = std::move(index);
        }
        const QString folded = prefix.toCaseFolded();
        QStringList found;
        const auto& index = *listing_->bitmaps;
        for (auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(folded, QString()));
             it != index.end() && it->first.startsWith(folded); ++it) {
            if (it->second.size() > prefix.size() + 4) {
                found.append(it->second);
            }
        }
        std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
        return found;
    }
    // What the builder worked out from the names, kept with them.
    QHash<QString, QStringList>& candidates() {
        load();
        return listing_->candidates;
    }
    QString shown(const QString& stored) const {
        return isArchive() ? texts::tryOnInArchive(archive_, stored) : platform::joinPath(folder_, stored);
    }
    // The file that holds `stored`: the archive for a piece inside one.
    QString file(const QString& stored) const {
        return isArchive() ? QFileInfo(archive_).absoluteFilePath()
                           : QFileInfo(platform::joinPath(folder_, stored)).absoluteFilePath();
    }
    // The identity of that file now; an archive's as it was when its manifest was read, which is
    // the file its pieces are read from.
    std::optional<platform::FileIdentity> identity(const QString& stored) {
        if (isArchive()) {
            load();
            return listing_->identity;
        }
        return platform::identifyFile(platform::joinPath(folder_, stored));
    }
    std::optional<QByteArray> read(const QString& stored, qint64 limit, QString& why) {
        if (isArchive()) {
            load();
            FarError error;
            const auto entry = listing_->entryOf.find(stored.toCaseFolded());
            if (!listing_->far || entry == listing_->entryOf.end()) {
                return std::nullopt;
            }
            auto bytes = listing_->far->read(listing_->far->entries()[static_cast<std::size_t>(*entry)],
                                             limit, &error);
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
        if (listing_) {
            return;
        }
        // Taken before listing: a change made meanwhile shows at the next build.
        const std::optional<platform::FileIdentity> identity =
            platform::identifyFile(isArchive() ? archive_ : folder_ + QStringLiteral("/."));
        if (memo_ != nullptr && identity) {
            const auto kept = memo_->listings.constFind(path());
            if (kept != memo_->listings.cend() && (*kept)->identity == identity) {
                listing_ = *kept;
                return;
            }
        }
        auto listing = std::make_shared<Listing>();
        listing->identity = identity;
        if (!isArchive()) {
            for (const QString& name : platform::listFiles(folder_, QStringLiteral("*")).names) {
                listing->add(name, -1);
            }
        } else {
            FarError error;
            if (auto far = FarArchive::open(archive_, &error)) {
                listing->far = std::make_shared<const FarArchive>(std::move(*far));
                const auto& entries = listing->far->entries();
                for (std::size_t i = 0; i < entries.size(); ++i) {
                    listing->add(baseName(QString::fromLatin1(entries[i].name)), static_cast<qsizetype>(i));
                }
            }
        }
        if (memo_ != nullptr && identity) {
            memo_->listings.insert(path(), listing);
        }
        listing_ = std::move(listing);
    }

    QString folder_;
    QString archive_;
    TryOnMemo::State* memo_ = nullptr;
    std::shared_ptr<Listing> listing_;
};

// Where a file was found: the place, and its name there as stored.
struct Located {
    std::size_t source = 0;
    QString stored;
};

// The skin's folder, then each install's Skins folder, then their archives.
class Library {
public:
    Library(const QString& skinFolder, const TryOnPlaces& places, TryOnMemo::State* memo) {
        QStringList seen;
        const auto addFolder = [&](const QString& folder) {
            const QString clean = QDir::cleanPath(folder);
            if (!folder.isEmpty() && !seen.contains(clean)) {
                seen.append(clean);
                sources_.push_back(Source::folder(clean, memo));
                folders_.append(clean);
            }
        };
        addFolder(skinFolder);
        for (const QString& folder : places.skinFolders) {
            addFolder(folder);
        }
        for (const QString& archive : places.archives.mid(0, MaxArchives)) {
            sources_.push_back(Source::archive(archive, memo));
        }
    }

    QString lookedIn() const {
        return texts::tryOnLookedIn(folders_, static_cast<qsizetype>(sources_.size()) - folders_.size());
    }
    std::size_t size() const { return sources_.size(); }
    Source& at(std::size_t i) { return sources_[i]; }

    // The first of `names` there, in the places' order.
    std::optional<Located> locate(const QStringList& names) {
        for (std::size_t i = 0; i < sources_.size(); ++i) {
            for (const QString& name : names) {
                const QString stored = sources_[i].find(name);
                if (!stored.isEmpty()) {
                    return Located{i, stored};
                }
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
    SceneBuilder(const TryOnRequest& request, const TryOnPlaces& places, TryOnMemo* memo)
        : request_(request), skinFile_(QFileInfo(request.cmxPath)),
          memo_(memo != nullptr ? &memo->state() : nullptr),
          library_(skinFile_.absolutePath(), places, memo_) {}

    TryOnScene build() {
        const QString skinName = skinFile_.fileName();
        kind_ = kindOf(skinName);
        QString why;
        const platform::ReadResult read = platform::readFile(request_.cmxPath, MaxCmxBytes);
        if (!read.ok) {
            return failed(texts::tryOnUnreadable(request_.cmxPath, texts::fileErrorReason(read.error)));
        }
        addSource(skinFile_.absoluteFilePath());
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
    void addSource(const QString& path) {
        if (!scene_.sources.contains(path)) {
            scene_.sources.append(path);
        }
    }

    // The file `where` turned into a T by `make`, or what the memo kept of it while the file is
    // unchanged; nothing with `why` set when it cannot be read or made. A posed mesh is kept for
    // the skeleton it was posed on (`posedOn`).
    template <typename T, typename Make>
    std::optional<Kept<T>> remembered(QHash<QString, Kept<T>>* kept, const Located& where, qint64 limit,
                                      QString& why, const Make& make, quint64 posedOn = 0) {
        Source& source = library_.at(where.source);
        const QString key = source.shown(where.stored);
        // Taken before reading: a change made meanwhile shows at the next build.
        const std::optional<platform::FileIdentity> identity =
            kept != nullptr ? source.identity(where.stored) : std::nullopt;
        if (identity) {
            const auto found = kept->constFind(key);
            // A skeleton's number is its own, not one to match.
            if (found != kept->cend() && found->identity == *identity &&
                (std::is_same_v<T, sim::PosedSkeleton> || found->posedOn == posedOn)) {
                addSource(source.file(where.stored));
                return *found;
            }
        }
        auto bytes = source.read(where.stored, limit, why);
        if (!bytes) {
            return std::nullopt;
        }
        addSource(source.file(where.stored));
        std::optional<T> made = make(where.stored, *bytes, why);
        if (!made) {
            return std::nullopt;
        }
        Kept<T> entry{identity.value_or(platform::FileIdentity{}),
                      std::make_shared<const T>(std::move(*made)), posedOn};
        if constexpr (std::is_same_v<T, sim::PosedSkeleton>) {
            // Meshes posed on an older skeleton of the same name are never taken for this one's.
            entry.posedOn = memo_ != nullptr ? ++memo_->skeletonsMade : 0;
        }
        if (identity) {
            kept->insert(key, entry);
        }
        return entry;
    }

    // A completing piece's suit, read or remembered.
    std::optional<Kept<sim::Suit>> suitAt(const Located& where, QString& why) {
        return remembered(memo_ != nullptr ? &memo_->suits : nullptr, where, MaxCmxBytes, why,
                          [](const QString& stored, const QByteArray& bytes, QString& reason) {
                              return suitOf(stored, bytes, reason);
                          });
    }
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
        const QStringList bitmaps = library_.at(0).bitmaps(prefix);
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
        const auto where = library_.locate(cmxVariants(name));
        if (!where) {
            fail(texts::tryOnNoSkeleton(name, library_.lookedIn()));
            return false;
        }
        const QString shown = library_.at(where->source).shown(where->stored);
        QString why;
        const auto skeleton =
            remembered(memo_ != nullptr ? &memo_->skeletons : nullptr, *where, MaxCmxBytes, why,
                       [](const QString& stored, const QByteArray& bytes, QString& reason) {
                           std::optional<sim::PosedSkeleton> made;
                           auto parsed = skeletonOf(stored, bytes, reason);
                           if (!parsed) {
                               return made;
                           }
                           auto posed = sim::poseSkeleton(*parsed);
                           if (!posed.ok()) {
                               reason = sim::describe(posed.error());
                               return made;
                           }
                           made = std::move(posed).value();
                           return made;
                       });
        if (!skeleton) {
            fail(texts::tryOnUnreadable(shown, why));
            return false;
        }
        skeleton_ = skeleton->value;
        skeletonMade_ = skeleton->posedOn;
        scene_.skeletonFile = shown;
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
            if (path.contains(u'/')) {
                platform::ReadResult read = platform::readFile(path, MaxCmxBytes);
                if (!read.ok) {
                    scene_.missing.append(texts::tryOnUnreadable(path, texts::fileErrorReason(read.error)));
                    continue;
                }
                addSource(QFileInfo(path).absoluteFilePath());
                const QString name = QFileInfo(path).fileName();
                auto suit = suitOf(name, read.bytes, why);
                if (!suit) {
                    scene_.missing.append(texts::tryOnUnreadable(path, why));
                    continue;
                }
                files.push_back({isHead ? TryOnPiece::Role::Head : TryOnPiece::Role::With, name, path,
                                 std::move(*suit), 0});
                continue;
            }
            const auto where = library_.locate(cmxVariants(path));
            if (!where) {
                scene_.missing.append(texts::tryOnNoPiece(path, library_.lookedIn()));
                continue;
            }
            const auto suit = suitAt(*where, why);
            const QString shown = library_.at(where->source).shown(where->stored);
            if (!suit) {
                scene_.missing.append(texts::tryOnUnreadable(shown, why));
                continue;
            }
            files.push_back({isHead ? TryOnPiece::Role::Head : TryOnPiece::Role::With, where->stored, shown,
                             *suit->value, where->source});
        }
    }

    // Every head (or body) of the Sim's kind in reach, lowest-numbered first, each name once.
    QStringList candidates(QChar part) {
        QStringList names;
        QStringList folded;
        const QString key = QString(part) + kind_.gender + kind_.age;
        for (std::size_t i = 0; i < library_.size(); ++i) {
            Source& source = library_.at(i);
            // A folder of ten thousand skins is sorted through once, not at every build.
            auto kept = source.candidates().find(key);
            if (kept == source.candidates().end()) {
                QStringList matching;
                for (const QString& name : source.names()) {
                    const QString plain =
                        name.endsWith(BcfExtension, Qt::CaseInsensitive) ? name.chopped(4) : name;
                    if (!plain.endsWith(CmxExtension, Qt::CaseInsensitive)) {
                        continue;
                    }
                    const Kind kind = kindOf(plain);
                    if (kind.known && kind.part == part && kind.gender == kind_.gender &&
                        kind.age == kind_.age) {
                        matching.append(plain);
                    }
                }
                kept = source.candidates().insert(key, matching);
            }
            for (const QString& plain : *kept) {
                if (!folded.contains(plain.toCaseFolded())) {
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
        const auto where = library_.locate(cmxVariants(name));
        if (!where) {
            scene_.missing.append(texts::tryOnNoPiece(name, library_.lookedIn()));
            return;
        }
        QString why;
        const auto suit = suitAt(*where, why);
        const QString shown = library_.at(where->source).shown(where->stored);
        if (!suit) {
            scene_.missing.append(texts::tryOnUnreadable(shown, why));
            return;
        }
        files.push_back({role, where->stored, shown, *suit->value, where->source});
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
            for (const QString& bitmap : source.bitmaps(prefix)) {
                if (toneOf(bitmap, prefix) != tone) {
                    continue;
                }
                QString why;
                const auto bytes = textureAt({at, bitmap}, why);
                if (bytes) {
                    piece.textureFile = source.shown(bitmap);
                    piece.texture = *bytes->value;
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
        addSource(QFileInfo(path).absoluteFilePath());
        piece.textureFile = path;
        piece.texture = std::move(read.bytes);
    }

    // A completing piece's texture, read or remembered; the memo keeps a bounded amount.
    std::optional<Kept<QByteArray>> textureAt(const Located& where, QString& why) {
        if (memo_ != nullptr && memo_->textureBytes > MaxKeptTextureBytes) {
            memo_->textures.clear();
            memo_->textureBytes = 0;
        }
        const qsizetype before = memo_ != nullptr ? memo_->textures.size() : 0;
        auto bytes = remembered(
            memo_ != nullptr ? &memo_->textures : nullptr, where, MaxTextureBytes, why,
            [](const QString&, const QByteArray& read, QString&) { return std::optional<QByteArray>(read); });
        if (bytes && memo_ != nullptr && memo_->textures.size() > before) {
            memo_->textureBytes += bytes->value->size();
        }
        return bytes;
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
        std::optional<Located> where;
        // The piece's own place first, then every place in order.
        for (const QString& name : names) {
            const QString stored = library_.at(file.source).find(name);
            if (!stored.isEmpty()) {
                where = Located{file.source, stored};
                break;
            }
        }
        if (!where) {
            where = library_.locate(names);
        }
        if (!where) {
            return texts::tryOnNoMesh(mesh, library_.lookedIn());
        }
        const QString shown = library_.at(where->source).shown(where->stored);
        if (memo_ != nullptr && memo_->meshes.size() >= MaxKeptMeshes) {
            memo_->meshes.clear();
        }
        QString why;
        const auto posed = remembered(
            memo_ != nullptr ? &memo_->meshes : nullptr, *where, MaxMeshBytes, why,
            [this](const QString& stored, const QByteArray& bytes, QString& reason) {
                std::optional<sim::PosedMesh> made;
                const bool binary = stored.endsWith(QStringLiteral(".bmf"), Qt::CaseInsensitive);
                auto parsed = binary ? sim::parseBmf(bytes)
                                     : sim::parseSkn(std::string_view(
                                           bytes.constData(), static_cast<std::size_t>(bytes.size())));
                if (!parsed.ok()) {
                    reason = sim::describe(parsed.error());
                    return made;
                }
                auto onSkeleton = sim::poseMesh(parsed.value(), *skeleton_);
                if (!onSkeleton.ok()) {
                    reason = sim::describe(onSkeleton.error());
                    return made;
                }
                made = std::move(onSkeleton).value();
                return made;
            },
            skeletonMade_);
        if (!posed) {
            return texts::tryOnUnreadable(shown, why);
        }
        TryOnPiece piece = textured;
        piece.meshFile = shown;
        piece.mesh = *posed->value;
        scene_.pieces.push_back(std::move(piece));
        return {};
    }

    const TryOnRequest& request_;
    QFileInfo skinFile_;
    TryOnMemo::State* memo_;
    Library library_;
    Kind kind_;
    QString tone_;
    QString skinTexture_;
    std::shared_ptr<const sim::PosedSkeleton> skeleton_;
    quint64 skeletonMade_ = 0;
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

TryOnScene buildTryOnScene(const TryOnRequest& request, const TryOnPlaces& places, TryOnMemo* memo) {
    return SceneBuilder(request, places, memo).build();
}

} // namespace vestimo::tryon
