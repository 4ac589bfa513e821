#include "core/buyable/BuyableExport.h"

#include "core/buyable/OutfitCodes.h"
#include "core/cmx/CmxLayout.h"

#include <array>
#include <optional>
#include <utility>

namespace vestimo::buyable {

namespace {

// `name` less its first `count` characters (empty when it is shorter).
std::string_view DropFirstCharacters(std::string_view name, std::size_t count) {
    return name.substr(cmx::FirstCharacters(name, count).size());
}

constexpr std::size_t CodeLength = 4;

} // namespace

std::string ReplaceFirstCharacter(std::string_view name, char letter) {
    std::string result(1, letter);
    result += DropFirstCharacters(name, 1);
    return result;
}

ExportedNames ExportNames(std::string_view bitmapName, std::string_view cmxName) {
    const std::optional<std::string_view> code =
        FindBuyableCode(cmx::FirstCharacters(bitmapName, CodeLength));
    if (!code) {
        return {std::string(bitmapName), std::string(cmxName), false};
    }
    std::string newBitmapName(*code);
    newBitmapName += DropFirstCharacters(bitmapName, CodeLength);
    std::string newCmxName(*code);
    newCmxName += DropFirstCharacters(cmxName, CodeLength);
    return {std::move(newBitmapName), std::move(newCmxName), true};
}

std::string BuyableCmxText(std::string_view cmxName, std::string_view meshName) {
    const std::array<std::string_view, 13> lines = {
        cmx::CharacterHeader,
        "Version 300",
        "0",
        "1",
        cmxName, // the new suit's name
        "0",
        "0",
        "1", // one skin record
        "PELVIS",
        meshName, // the picked skin's existing mesh; no mesh file is written
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
