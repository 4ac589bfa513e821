#include "core/buyable/BuyableExport.h"

#include "core/buyable/OutfitCodes.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CodePage.h"

#include <array>
#include <optional>
#include <utility>

namespace vestimo::buyable {

namespace {

// `name` less its first `count` characters (empty when it is shorter).
std::string_view dropFirstCharacters(std::string_view name, std::size_t count) {
    return name.substr(cmx::firstCharacters(name, count).size());
}

constexpr std::size_t CodeLength = 4;

// The code point of one UTF-8 character as cmx::FirstCharacters cuts it, or nothing for a
// stray byte or a sequence that is not valid UTF-8.
std::optional<char32_t> codePoint(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) {
        return lead < 0x80 ? std::optional<char32_t>(lead) : std::nullopt;
    }
    char32_t c = lead & (0x7Fu >> character.size());
    for (std::size_t k = 1; k < character.size(); ++k) {
        c = (c << 6) | (static_cast<unsigned char>(character[k]) & 0x3Fu);
    }
    constexpr std::array<char32_t, 5> Smallest = {0, 0, 0x80, 0x800, 0x10000};
    if (c < Smallest[character.size()] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        return std::nullopt;
    }
    return c;
}

// Calls `each` with every character of a UTF-8 text and its code point (nothing when it has none).
template <typename Each> void forEachCharacter(std::string_view text, Each each) {
    while (!text.empty()) {
        const std::string_view character = cmx::firstCharacters(text, 1);
        each(character, codePoint(character));
        text.remove_prefix(character.size());
    }
}

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::string inCodePage(std::string_view name) {
    std::string bytes;
    forEachCharacter(name, [&bytes](std::string_view, std::optional<char32_t> c) {
        const std::optional<unsigned char> byte = c ? cmx::codePageByte(*c) : std::nullopt;
        bytes += byte ? static_cast<char>(*byte) : '?';
    });
    return bytes;
}

} // namespace

std::optional<NameFault> findNameFault(std::string_view name) {
    std::optional<NameFault> fault;
    forEachCharacter(name, [&fault](std::string_view character, std::optional<char32_t> c) {
        if (fault) {
            return;
        }
        if (!c) {
            fault = NameFault{NameFault::Kind::NotText, static_cast<unsigned char>(character[0])};
        } else if (isControl(*c)) {
            fault = NameFault{NameFault::Kind::ControlCharacter, *c};
        } else if (!cmx::codePageByte(*c)) {
            fault = NameFault{NameFault::Kind::NotInCodePage, *c};
        }
    });
    return fault;
}

std::string replaceFirstCharacter(std::string_view name, char letter) {
    std::string result(1, letter);
    result += dropFirstCharacters(name, 1);
    return result;
}

ExportedNames exportNames(std::string_view bitmapName, std::string_view cmxName) {
    const std::optional<std::string_view> code =
        findBuyableCode(cmx::firstCharacters(bitmapName, CodeLength));
    if (!code) {
        return {std::string(bitmapName), std::string(cmxName), false};
    }
    std::string newBitmapName(*code);
    newBitmapName += dropFirstCharacters(bitmapName, CodeLength);
    std::string newCmxName(*code);
    newCmxName += dropFirstCharacters(cmxName, CodeLength);
    return {std::move(newBitmapName), std::move(newCmxName), true};
}

std::string buyableCmxText(std::string_view cmxName, std::string_view meshName) {
    const std::string cmxLine = inCodePage(cmxName);
    const std::string meshLine = inCodePage(meshName);
    const std::array<std::string_view, 13> lines = {
        cmx::CharacterHeader,
        "Version 300",
        "0",
        "1",
        cmxLine, // the new suit's name
        "0",
        "0",
        "1", // one skin record
        "PELVIS",
        meshLine, // the picked skin's existing mesh; no mesh file is written
        "0",
        "0",
        "0", // an empty bone slot closes the list of records
    };
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace vestimo::buyable
