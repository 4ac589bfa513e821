#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One report on a skin folder: which tones and meshes its body skins lack, and which of its files
// no skin uses, collide in case, repeat each other or misname their skin. Writes and moves nothing.
namespace vestimo::report {

enum class RowKind {
    BodySkin,         // one for every CMX file of a body class (any skin class but the heads, C)
    NameMismatch,     // a skin CMX file whose line 5 is not its base name, without regard to case
    UnclaimedBitmap,  // a bitmap that no skin CMX file's bitmap prefix begins
    CaseTwins,        // names that are equal without regard to case
    IdenticalContent, // files of equal content (every byte) under different names
    Unreadable,       // a file that could not be read or named, so the other rows leave it out
};

// The three skin tones, in this order; a bitmap name carries them as "lgt", "med" and "drk".
inline constexpr int ToneCount = 3;
QString toneName(int tone);

enum class MeshState { Present, CaseDiffers, Missing };

struct ReportRow {
    RowKind kind = RowKind::BodySkin;
    QStringList files; // the CMX file for a body skin; all files of the group otherwise
    QString description;
    QString advice; // what a maker can do about it
    // Body skins only.
    QStringList tonesPresent; // tone names in tone order
    QStringList tonesMissing;
    MeshState mesh = MeshState::Missing;
    QString meshName; // the name the mesh must have

    bool operator==(const ReportRow&) const = default;
};

struct SkinSetReport {
    bool ok = true;
    QString error; // why the folder could not be listed
    QList<ReportRow> rows;
};

// The rows, ordered by kind (as RowKind lists them) and then by their first file name without
// regard to case (then with it, for a stable order). Every file of the folder is listed once: a
// skin CMX file is read for its line 5, and a file whose length another file shares for its
// content. A file over 64 KiB of a shared length is first told apart by its last 4 KiB and read
// through only when another of its length ends alike. Files are identical only when every byte
// agrees: a 64-bit hash finds the candidates, and each is compared byte for byte with the first
// file of that content (kept in memory up to 16 MiB of contents, read again past that). Files
// longer than ReportReadLimit are not read and get an Unreadable row. Links are followed, as
// skin files may be links to files kept elsewhere.
//
// Rules:
// - A bitmap is a file ending in ".bmp", a CMX file one ending in ".cmx", without regard to case.
// - A bitmap belongs to a skin CMX file when its name, without regard to case, begins with the
//   CMX file's bitmap prefix (see textures::bitmapPrefix; taken literally, "*" and "?" included)
//   and continues for at least the four characters of ".bmp".
// - It shows a tone when the three characters right after the prefix are that tone's name
//   ("lgt", "med" or "drk"), without regard to case, and ".bmp" still follows: for
//   B123FAFit_Dress.cmx, B123FAFitDRK_Dress.bmp is the dark tone and B123FAFit_drk.bmp none.
// - The mesh is present when a file has exactly textures::meshFileName's name; a file whose name
//   differs only in case is noted as such, with nothing to do: the game finds it (the directory
//   checks keep their exact-case rule).
// - Line 5 is read as the CMX rules read lines (a carriage return ends a line, a line feed right
//   after it is skipped) in the players' code page, and compared whole (no trimming) with the name
//   less its last four characters. Files that begin with the animation header are not compared.
// - Empty files are never reported as identical.
SkinSetReport makeSkinSetReport(const QString& directory);

// The kind as the report's table names it.
QString rowKindText(RowKind kind);

// The rows as text to copy: one line per row, kind, files (joined by ", "), description and advice
// separated by tabs, each line ended by "\n".
QString reportText(const QList<ReportRow>& rows);

// Skins are a few hundred kilobytes; a file past this is not read.
inline constexpr qint64 ReportReadLimit = qint64{64} * 1024 * 1024;

} // namespace vestimo::report
