#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Which files of a skin belong together, by name alone: no widgets, usable wherever skins are judged.
namespace vestimo::textures {

// The bitmaps of a skin folder, read once, answering for each bitmap prefix whether the file
// list would show anything for the pattern prefix + "*.BMP".
class BitmapIndex {
public:
    // `bitmapNames`: the folder's ordinary files matching "*.BMP"; `storedOnly`: those of them
    // whose names are not valid text, as stored. Both count: prefixes are matched on the bytes.
    explicit BitmapIndex(QStringList bitmapNames, const QList<QByteArray>& storedOnly = {});

    bool hasBitmapFor(const QString& prefix) const;

private:
    QStringList names_;           // names that are not valid text keep each stray byte as a lone surrogate
    std::vector<QString> folded_; // case-folded and sorted, so one prefix is one contiguous run
};

// The bitmap prefix of a CMX file name of a skin class: its first 9 characters, 7 for B*CA and
// B*DO, 6 for head skins (C), cut from the whole name, extension included. Empty for a name
// outside the skin classes.
QString bitmapPrefix(const QString& cmxName);
// A skin to put on the Sim: its CMX file and the bitmap to wear, by their names in one folder.
struct SkinToTry {
    QString cmxName;
    QString bitmapName; // empty: the skin's own first texture
    bool operator==(const SkinToTry&) const = default;
};

// The CMX file of `cmxNames` whose bitmap prefix claims the bitmap `bitmapName` (its name begins
// with the prefix, compared without regard to case, and goes on past it), the longest prefix
// first; empty when none does.
QString skinClaiming(const QString& bitmapName, const QStringList& cmxNames);
// "xskin-<name less its last four characters>-HEAD-HEAD.skn" for a head skin (C),
// "...-PELVIS-BODY.skn" for any other.
QString meshFileName(const QString& cmxName);

} // namespace vestimo::textures
