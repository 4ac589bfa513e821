#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// CMX files as text in the editor box, without losing a byte.
//
// The files are 8-bit text in the players' code page, Windows-1252. Its five unassigned bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same number, so every byte has
// a character and back. CR LF is a line break; a bare CR or LF is shown as a visible stand-in,
// because the editor box would otherwise turn it into a line break like any other.
namespace vestimo::editor {

// Skin descriptions are a few kilobytes; a file past this is not one the editor takes.
inline constexpr qint64 CmxFileLimit = qint64{8} * 1024 * 1024;

// Stand-ins for a carriage return or line feed that is not part of a CR LF pair.
inline constexpr char16_t BareCarriageReturn = u'\u240D';
inline constexpr char16_t BareLineFeed = u'\u240A';

// The file's bytes as editor text: "\n" for each CR LF, the stand-ins for bare CR and LF.
QString decodeCmxText(const QByteArray& bytes);

// Editor text back to the file's bytes. Every line break ("\n", "\r\n", "\r", U+2028, U+2029)
// becomes CR LF, the stand-ins become their bytes, and a character with no byte becomes "?".
// EncodeCmxText(DecodeCmxText(b)) == b for every b.
QByteArray encodeCmxText(QStringView text);

// The bytes "Save CMX Changes" writes for the editor's raw text (QTextDocument::toRawText(): blocks
// separated by U+2029, no-break spaces kept): the text encoded, with a last CR LF added when the
// text has some and lacks one (an empty text stays empty).
QByteArray bytesToSave(QStringView rawText);

} // namespace vestimo::editor
