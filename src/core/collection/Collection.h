#pragma once

#include "core/buyable/BuyableExport.h"
#include "core/cmx/CheckCmxFile.h"
#include "platform/Pictures.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>
#include <vector>

// A skin folder as collectors think of it: one card per skin (its CMX file, the textures its
// bitmap prefix claims and its meshes), cards of their own for textures and meshes no skin claims,
// and the problems the checks and the skin-set report find, each on the cards of its files.
// Decides only: the facts are gathered by CollectionReader or handed in by a test.
namespace vestimo::collection {

// One file of the folder's listing.
struct FolderFile {
    QString name;
    qint64 size = 0;
    qint64 modifiedNs = 0;
};

// What one CMX file says, read once.
struct CmxFacts {
    QString name;
    cmx::CmxVerdict verdict; // the checks' own verdict, hand bones allowed at line 9
    std::optional<QString> line5;
    bool animation = false; // line 1 is the animation header
    bool skeleton = false;  // its text holds a skeleton and no suit
    bool suit = false;      // its text parses as a suit
    QStringList meshes;     // the mesh names its suit's skins name, without extension
    QStringList handBones;  // the hand bones its skins hang on (a hand piece names one)
};

// A bitmap as measured (platform::measurePicture).
struct MeasuredBitmap {
    QString name;
    platform::PictureSize picture;
};

// A file whose content was identical to others', or could not be read for that comparison.
struct IdenticalNames {
    qint64 length = 0;
    QStringList names;
};
struct UnreadName {
    QString name;
    QString why;
};

// Everything the grouping decides on.
struct FolderFacts {
    bool ok = true;
    QString error; // why the folder could not be listed
    std::vector<FolderFile> files;
    std::vector<CmxFacts> cmx;           // for the folder's CMX files; one missing counts as empty
    std::vector<MeasuredBitmap> bitmaps; // for its bitmaps; one missing is judged not a picture
    std::vector<IdenticalNames> identical;
    std::vector<UnreadName> unread; // files the content comparison could not read
    // False: the bitmaps are not measured and contents not compared yet; the grouping then gives
    // only the badges the CMX files and the names decide.
    bool judged = true;
};

// The facts of the CMX file `name` holding `bytes`.
CmxFacts cmxFacts(const QString& name, std::string_view bytes);
// The facts of a CMX file that could not be read, and why.
CmxFacts unreadCmxFacts(const QString& name, const QString& why);

enum class CardKind { Body, Head, Hand, Pet, Buyable, Other, OrphanTexture, OrphanMesh };
enum class Age { Unknown, Adult, Child };
enum class Gender { Unknown, Female, Male, Unisex };

struct SkinKind {
    CardKind card = CardKind::Other;
    std::optional<buyable::Category> category; // Buyable only
    Age age = Age::Unknown;
    Gender gender = Gender::Unknown;
    bool operator==(const SkinKind&) const = default;
};

// The kind a skin CMX file's name gives (its class); a hand piece by the hand bones it names.
SkinKind kindOf(const QString& cmxName, const QStringList& handBones = {});

enum class BadgeKind {
    FaultyCmx,
    UnreadCmx,
    NoTexture,
    TextureOverLimit,
    TextureDamaged,
    NoMesh,
    CaseTwins,
    IdenticalCopies,
    Unread,
};

// One problem of the folder, on every card holding one of its files.
struct Problem {
    BadgeKind kind = BadgeKind::FaultyCmx;
    QStringList files;
    QString reason;
};

struct Card {
    QString name; // line 5 where it is sound, else the file name less its extension
    SkinKind kind;
    QString cmxFile; // empty for an orphan
    QStringList textures;
    QStringList meshes;
    QStringList tonesPresent; // of "lgt", "med", "drk", in that order; both empty for orphans
    QStringList tonesMissing;
    qint64 newestNs = 0;
    std::vector<qsizetype> problems; // indexes into Collection::problems

    QStringList files() const;
};

struct Collection {
    bool ok = true;
    QString error; // why the folder could not be listed
    std::vector<Card> cards;
    std::vector<Problem> problems; // every problem once, however many cards show it
    bool complete = true;          // false: the bitmaps are not judged yet, so badges may follow
};

// The cards of a folder, in name order (without regard to case). Skeleton and animation CMX files
// are no skins: a CMX file is a skin when its name is of a skin class or its text is a suit, and
// not when its text holds a skeleton and no suit or is an animation.
Collection groupCollection(const FolderFacts& facts);

// The collection of the folder at `folder`, every badge judged (CollectionReader's two steps).
Collection readCollection(const QString& folder);

// The words for a kind ("Buyable: Formal, adult, female") and a badge.
QString kindText(const SkinKind& kind);
QString badgeText(BadgeKind kind);

} // namespace vestimo::collection
