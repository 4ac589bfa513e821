#include "core/collection/Collection.h"
#include "core/collection/CollectionReader.h"

#include "core/catalogue/Buyable.h"
#include "core/catalogue/Checks.h"
#include "core/catalogue/Collection.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/Report.h"
#include "core/catalogue/Verdicts.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CodePage.h"
#include "core/sim/Character.h"
#include "core/textures/AssociatedFiles.h"
#include "core/textures/CheckBmpFile.h"
#include "platform/IdenticalFiles.h"
#include "platform/SkinFolder.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <utility>

namespace vestimo::collection {

namespace {

const QString CmxExtension = QStringLiteral(".cmx");
const QString BitmapExtension = QStringLiteral(".bmp");
const std::array<QString, 2> MeshExtensions = {QStringLiteral(".skn"), QStringLiteral(".bmf")};
const std::array<QString, 3> Tones = {QStringLiteral("lgt"), QStringLiteral("med"), QStringLiteral("drk")};

bool endsWithNoCase(const QString& name, const QString& extension) {
    return name.endsWith(extension, Qt::CaseInsensitive);
}
bool isMesh(const QString& name) {
    return std::any_of(MeshExtensions.begin(), MeshExtensions.end(),
                       [&](const QString& extension) { return endsWithNoCase(name, extension); });
}
QString withoutExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}
bool nameLess(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

// Lines 1 and 5 as the CMX rules read lines: a carriage return ends a line, a line feed right
// after it is skipped.
std::pair<std::string_view, std::optional<std::string_view>> headLines(std::string_view bytes) {
    std::string_view first;
    std::size_t start = 0;
    for (int line = 1; line <= 5 && start < bytes.size(); ++line) {
        const std::size_t end = std::min(bytes.find('\r', start), bytes.size());
        const std::string_view text = bytes.substr(start, end - start);
        if (line == 1) {
            first = text;
        } else if (line == 5) {
            return {first, text};
        }
        start = end + 1;
        if (start < bytes.size() && bytes[start] == '\n') {
            ++start;
        }
    }
    return {first, std::nullopt};
}

QString fromCodePage(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        text += QChar(cmx::codePageCharacter(static_cast<unsigned char>(byte)));
    }
    return text;
}

// Line 5 is sound when the walk found no fault up to it; a file of no skin class (a hand) is not
// walked, so its suit parsing stands for it.
bool line5Sound(const CmxFacts& facts) {
    switch (facts.verdict.kind) {
    case cmx::CmxVerdict::Kind::Passed:
        return true;
    case cmx::CmxVerdict::Kind::Fault:
        return facts.verdict.line > 5;
    case cmx::CmxVerdict::Kind::OtherClass:
        return facts.suit;
    default:
        return false;
    }
}

Gender genderOf(QChar letter) {
    switch (letter.unicode()) {
    case u'F':
        return Gender::Female;
    case u'M':
        return Gender::Male;
    case u'U':
        return Gender::Unisex;
    default:
        return Gender::Unknown;
    }
}

std::optional<buyable::Category> categoryOf(char letter) {
    for (const buyable::Category category :
         {buyable::Category::Formal, buyable::Category::Swimwear, buyable::Category::Sleepwear,
          buyable::Category::Winterwear, buyable::Category::HighFashion}) {
        if (buyable::letterOf(category) == letter) {
            return category;
        }
    }
    return std::nullopt;
}

QString categoryText(buyable::Category category) {
    switch (category) {
    case buyable::Category::Formal:
        return texts::formal();
    case buyable::Category::Swimwear:
        return texts::swimwear();
    case buyable::Category::Sleepwear:
        return texts::sleepwear();
    case buyable::Category::Winterwear:
        return texts::winterwear();
    case buyable::Category::HighFashion:
        return texts::highFashion();
    }
    return {};
}

const QString& firstFile(const Card& card) {
    if (!card.cmxFile.isEmpty()) {
        return card.cmxFile;
    }
    return card.textures.isEmpty() ? card.meshes.constFirst() : card.textures.constFirst();
}

class Grouping {
public:
    explicit Grouping(const FolderFacts& facts) : facts_(facts) {}

    Collection run() {
        index();
        for (const FolderFile& file : facts_.files) {
            if (endsWithNoCase(file.name, CmxExtension)) {
                skinCard(file.name);
            }
        }
        orphanCards();
        folderProblems();
        finishCards();
        return std::move(collection_);
    }

private:
    void index() {
        for (const FolderFile& file : facts_.files) {
            byName_.insert(file.name, &file);
            twins_[file.name.toCaseFolded()].append(file.name);
            if (endsWithNoCase(file.name, BitmapExtension)) {
                bitmaps_.emplace_back(file.name.toCaseFolded(), file.name);
            } else if (isMesh(file.name)) {
                meshes_.insert(file.name.toCaseFolded(), file.name);
            }
        }
        std::sort(bitmaps_.begin(), bitmaps_.end());
        for (const CmxFacts& cmx : facts_.cmx) {
            cmx_.insert(cmx.name, &cmx);
        }
    }

    void addProblem(BadgeKind kind, QStringList files, QString reason) {
        collection_.problems.push_back(Problem{kind, std::move(files), std::move(reason)});
    }

    void skinCard(const QString& name) {
        const CmxFacts* found = cmx_.value(name);
        const CmxFacts facts = found != nullptr ? *found : cmxFacts(name, {});
        const bool skin = !facts.animation && !facts.skeleton && (cmx::namesSkinClass(name) || facts.suit);
        if (!skin) {
            return;
        }
        Card card;
        card.cmxFile = name;
        card.kind = kindOf(name, facts.handBones);
        card.name = facts.line5 && !facts.line5->isEmpty() && line5Sound(facts) ? *facts.line5
                                                                                : withoutExtension(name);
        if (facts.verdict.kind == cmx::CmxVerdict::Kind::Fault) {
            addProblem(BadgeKind::FaultyCmx, {name}, texts::cmxCheckReason(facts.verdict));
        } else if (facts.verdict.unreadable()) {
            addProblem(BadgeKind::UnreadCmx, {name}, texts::cmxCheckReason(facts.verdict));
        }
        claimTextures(card, name);
        claimMeshes(card, facts);
        collection_.cards.push_back(std::move(card));
    }

    // The bitmaps whose names begin with the skin's bitmap prefix (a hand's: its name less the
    // extension) and go on past it, and the tones right after the prefix.
    void claimTextures(Card& card, const QString& name) {
        QString prefix = textures::bitmapPrefix(name);
        if (prefix.isEmpty()) {
            prefix = withoutExtension(name);
        }
        const QString folded = prefix.toCaseFolded();
        std::array<bool, 3> tones{};
        for (auto it = std::lower_bound(bitmaps_.begin(), bitmaps_.end(), std::pair(folded, QString()));
             it != bitmaps_.end() && it->first.startsWith(folded); ++it) {
            if (it->first.size() < folded.size() + BitmapExtension.size()) {
                continue;
            }
            card.textures.append(it->second);
            claimed_.insert(it->second);
            const QString tone = it->first.mid(folded.size(), 3);
            for (std::size_t t = 0; t < Tones.size(); ++t) {
                tones[t] = tones[t] || (tone == Tones[t] &&
                                        it->first.size() >= folded.size() + 3 + BitmapExtension.size());
            }
        }
        for (std::size_t t = 0; t < Tones.size(); ++t) {
            (tones[t] ? card.tonesPresent : card.tonesMissing).append(Tones[t]);
        }
        if (card.textures.isEmpty()) {
            addProblem(BadgeKind::NoTexture, {name}, texts::noBitmapBeginsWith(prefix));
        }
    }

    // The meshes the suit names, found without regard to case; a skin whose text does not parse
    // is held to the mesh name the associated-files check expects.
    void claimMeshes(Card& card, const CmxFacts& facts) {
        const QStringList wanted =
            facts.suit ? facts.meshes : QStringList{withoutExtension(textures::meshFileName(facts.name))};
        for (const QString& mesh : wanted) {
            QString stored;
            for (const QString& extension : MeshExtensions) {
                stored = meshes_.value((mesh + extension).toCaseFolded());
                if (!stored.isEmpty()) {
                    break;
                }
            }
            if (stored.isEmpty()) {
                addProblem(BadgeKind::NoMesh, {facts.name},
                           texts::reportMeshMissing(mesh + MeshExtensions[0]));
                continue;
            }
            if (!card.meshes.contains(stored)) {
                card.meshes.append(stored);
            }
            claimed_.insert(stored);
        }
    }

    void orphanCards() {
        for (const auto& [folded, name] : bitmaps_) {
            if (!claimed_.contains(name)) {
                orphanCard(CardKind::OrphanTexture, name);
            }
        }
        for (const QString& name : meshes_) {
            if (!claimed_.contains(name)) {
                orphanCard(CardKind::OrphanMesh, name);
            }
        }
    }
    void orphanCard(CardKind kind, const QString& name) {
        Card card;
        card.name = withoutExtension(name);
        card.kind.card = kind;
        (kind == CardKind::OrphanTexture ? card.textures : card.meshes).append(name);
        collection_.cards.push_back(std::move(card));
    }

    // The problems of single files and groups of them, whatever card they end up on.
    void folderProblems() {
        if (facts_.judged) {
            bitmapProblems();
        }
        for (const QStringList& names : std::as_const(twins_)) {
            if (names.size() > 1) {
                addProblem(BadgeKind::CaseTwins, names, texts::reportCaseTwins());
            }
        }
        if (!facts_.judged) {
            return;
        }
        for (const IdenticalNames& group : facts_.identical) {
            addProblem(BadgeKind::IdenticalCopies, group.names, texts::reportIdenticalContent(group.length));
        }
        for (const UnreadName& file : facts_.unread) {
            addProblem(BadgeKind::Unread, {file.name}, texts::reportUnreadable(file.why));
        }
    }
    void bitmapProblems() {
        for (const MeasuredBitmap& bitmap : facts_.bitmaps) {
            bitmapProblem(bitmap.name, textures::judgeBitmap(bitmap.picture));
            measured_.insert(bitmap.name);
        }
        for (const auto& [folded, name] : bitmaps_) {
            if (!measured_.contains(name)) {
                bitmapProblem(name, textures::judgeBitmap(platform::PictureSize{}));
            }
        }
    }
    // As the bitmap check judges: a picture that does not load and one over its limit are moved,
    // a size the table does not list is passed over.
    void bitmapProblem(const QString& name, const textures::BitmapVerdict& verdict) {
        using Kind = textures::BitmapVerdict::Kind;
        if (verdict.kind == Kind::OverLimit) {
            addProblem(BadgeKind::TextureOverLimit, {name}, texts::bitmapCheckReason(verdict));
        } else if (verdict.kind == Kind::NotAPicture || verdict.kind == Kind::LengthUnread) {
            addProblem(BadgeKind::TextureDamaged, {name}, texts::bitmapCheckReason(verdict));
        }
    }

    void finishCards() {
        QHash<QString, std::vector<qsizetype>> problemsOf;
        for (std::size_t i = 0; i < collection_.problems.size(); ++i) {
            for (const QString& file : collection_.problems[i].files) {
                problemsOf[file].push_back(static_cast<qsizetype>(i));
            }
        }
        for (Card& card : collection_.cards) {
            for (const QString& file : card.files()) {
                const std::vector<qsizetype> problems = problemsOf.value(file);
                card.problems.insert(card.problems.end(), problems.begin(), problems.end());
                if (const FolderFile* listed = byName_.value(file)) {
                    card.newestNs = std::max(card.newestNs, listed->modifiedNs);
                }
            }
            std::sort(card.problems.begin(), card.problems.end());
            card.problems.erase(std::unique(card.problems.begin(), card.problems.end()), card.problems.end());
        }
        std::sort(collection_.cards.begin(), collection_.cards.end(), [](const Card& a, const Card& b) {
            if (a.name != b.name) {
                return nameLess(a.name, b.name);
            }
            return nameLess(firstFile(a), firstFile(b));
        });
    }

    const FolderFacts& facts_;
    Collection collection_;
    QHash<QString, const FolderFile*> byName_;
    QHash<QString, const CmxFacts*> cmx_;
    QHash<QString, QStringList> twins_;
    std::vector<std::pair<QString, QString>> bitmaps_; // folded and stored, in folded order
    QHash<QString, QString> meshes_;                   // folded to stored
    QSet<QString> claimed_;
    QSet<QString> measured_;
};

} // namespace

QStringList Card::files() const {
    QStringList all;
    if (!cmxFile.isEmpty()) {
        all.append(cmxFile);
    }
    return all + textures + meshes;
}

CmxFacts cmxFacts(const QString& name, std::string_view bytes) {
    CmxFacts facts;
    facts.name = name;
    facts.verdict = cmx::judgeCmxText(bytes, name, true);
    const auto [first, fifth] = headLines(bytes);
    facts.animation = first == cmx::AnimationHeader;
    if (fifth) {
        facts.line5 = fromCodePage(*fifth);
    }
    if (facts.animation) {
        return facts;
    }
    auto parsed = sim::parseCmx(bytes);
    if (!parsed.ok()) {
        return facts;
    }
    const sim::CharacterFile& file = parsed.value();
    facts.skeleton = !file.skeletons.empty() && file.suits.empty();
    facts.suit = !file.suits.empty();
    if (facts.suit) {
        for (const sim::Skin& skin : file.suits.front().skins) {
            facts.meshes.append(QString::fromStdString(skin.meshName));
            const QString bone = QString::fromStdString(skin.boneName).toUpper();
            if (bone == QLatin1String(cmx::LeftHand.data()) || bone == QLatin1String(cmx::RightHand.data())) {
                facts.handBones.append(bone);
            }
        }
    }
    return facts;
}

// A CMX file no check reads (a CMX file that is empty gets the empty file's facts).
CmxFacts unreadCmxFacts(const QString& name, const QString& why) {
    CmxFacts facts;
    facts.name = name;
    facts.verdict = cmx::namesSkinClass(name)
                        ? cmx::CmxVerdict::unreadable(cmx::CmxVerdict::Kind::NotOpened, why)
                        : cmx::CmxVerdict::of(cmx::CmxVerdict::Kind::OtherClass);
    return facts;
}

SkinKind kindOf(const QString& cmxName, const QStringList& handBones) {
    SkinKind kind;
    const std::string key = cmx::classKey(cmxName.toStdString());
    if (cmx::isSkinClass(key)) {
        if (key == "B*CA" || key == "B*DO") {
            kind.card = CardKind::Pet;
            return kind;
        }
        kind.card = key[0] == 'B' ? CardKind::Body : key[0] == 'C' ? CardKind::Head : CardKind::Buyable;
        if (kind.card == CardKind::Buyable) {
            kind.category = categoryOf(key[0]);
        }
        kind.gender = genderOf(QChar(static_cast<char16_t>(key[2])));
        kind.age = key[3] == 'C' ? Age::Child : Age::Adult;
        return kind;
    }
    if (!handBones.isEmpty()) {
        // The hands: "HMLO" (hand, male, left, open); children's hands take C where adults have
        // their sex.
        kind.card = CardKind::Hand;
        const QChar who = cmxName.size() > 1 ? cmxName[1].toUpper() : QChar();
        kind.age = who == u'C' ? Age::Child : Age::Adult;
        kind.gender = who == u'C' ? Gender::Unisex : genderOf(who);
    }
    return kind;
}

Collection groupCollection(const FolderFacts& facts) {
    if (!facts.ok) {
        Collection collection;
        collection.ok = false;
        collection.error = facts.error;
        return collection;
    }
    Collection collection = Grouping(facts).run();
    collection.complete = facts.judged;
    return collection;
}

Collection readCollection(const QString& folder) {
    return CollectionReader(folder).judged();
}

QString kindText(const SkinKind& kind) {
    QString text;
    switch (kind.card) {
    case CardKind::Body:
        text = texts::collectionBody();
        break;
    case CardKind::Head:
        text = texts::collectionHead();
        break;
    case CardKind::Hand:
        text = texts::collectionHand();
        break;
    case CardKind::Pet:
        return texts::collectionPet();
    case CardKind::Buyable:
        text = texts::collectionBuyable(kind.category ? categoryText(*kind.category) : QString());
        break;
    case CardKind::Other:
        return texts::collectionOtherPiece();
    case CardKind::OrphanTexture:
        return texts::collectionOrphanTexture();
    case CardKind::OrphanMesh:
        return texts::collectionOrphanMesh();
    }
    QStringList parts = {text};
    if (kind.age != Age::Unknown) {
        parts.append(kind.age == Age::Child ? texts::collectionChild() : texts::collectionAdult());
    }
    if (kind.gender == Gender::Female) {
        parts.append(texts::collectionFemale());
    } else if (kind.gender == Gender::Male) {
        parts.append(texts::collectionMale());
    } else if (kind.gender == Gender::Unisex) {
        parts.append(texts::collectionUnisex());
    }
    return texts::collectionKindParts(parts);
}

QString badgeText(BadgeKind kind) {
    switch (kind) {
    case BadgeKind::FaultyCmx:
        return texts::badgeFaultyCmx();
    case BadgeKind::UnreadCmx:
        return texts::badgeUnreadCmx();
    case BadgeKind::NoTexture:
        return texts::badgeNoTexture();
    case BadgeKind::TextureOverLimit:
        return texts::badgeTextureOverLimit();
    case BadgeKind::TextureDamaged:
        return texts::badgeTextureDamaged();
    case BadgeKind::NoMesh:
        return texts::badgeNoMesh();
    case BadgeKind::CaseTwins:
        return texts::reportKindCaseTwins();
    case BadgeKind::IdenticalCopies:
        return texts::reportKindIdenticalContent();
    case BadgeKind::Unread:
        return texts::reportKindUnreadable();
    }
    return {};
}

} // namespace vestimo::collection
