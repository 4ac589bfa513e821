#pragma once

#include <optional>
#include <string>
#include <string_view>

// What "Export As Buyable" writes, without the window: the new names and the CMX text.
// Names are UTF-8 as the file system gives them; a "character" is one code point, as in cmx/CmxLayout.h.
namespace vestimo::buyable {

enum class Category { Formal, Swimwear, Sleepwear, Winterwear, HighFashion };

// The letter a skin name of the category starts with.
constexpr char letterOf(Category category) {
    switch (category) {
    case Category::Formal:
        return 'F';
    case Category::Swimwear:
        return 'S';
    case Category::Sleepwear:
        return 'L';
    case Category::Winterwear:
        return 'W';
    case Category::HighFashion:
        return 'H';
    }
    return 'F'; // not reached; keeps compilers quiet about a missing return
}

// `letter` followed by `name` less its first character. An empty name gives just the letter;
// whether an empty name may be renamed at all is for the caller to decide.
std::string replaceFirstCharacter(std::string_view name, char letter);

struct ExportedNames {
    std::string newBitmapName; // file name, extension kept
    std::string newCmxName;    // base name, without ".CMX"
    bool converted = false;    // the bitmap's outfit code was in the table
};

// The names the export writes under. Only the bitmap name's first four characters pick the row;
// when one matches, its buyable code replaces the first four characters of both names (the CMX
// name's own, whatever they are; a CMX name shorter than that becomes the code alone, so a caller
// that would rather refuse must check first). Otherwise both names stay as they are.
ExportedNames exportNames(std::string_view bitmapName, std::string_view cmxName);

// What keeps a name out of a CMX file's text.
struct NameFault {
    enum class Kind {
        ControlCharacter, // a line break above all, which would split the file's lines
        NotInCodePage,    // a character the players' code page (Windows-1252) has no byte for
        NotText,          // a byte that is not valid UTF-8
    };
    Kind kind;
    char32_t character; // the byte itself for NotText
};
// The first fault of a name, if it has one.
std::optional<NameFault> findNameFault(std::string_view name);

// The 13-line CMX file of a buyable outfit: the header and one skin record wearing `meshName` on the
// pelvis, each line ended by CR LF. "Version 300" keeps its capital V; the check ignores case there.
// Names are written in the players' code page, as the game and the editor read them; a name must
// be free of faults (FindNameFault) first, else a character without a byte becomes "?".
std::string buyableCmxText(std::string_view cmxName, std::string_view meshName);

} // namespace vestimo::buyable
