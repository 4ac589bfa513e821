#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace vestimo::buyable {

// An outfit code is the first four characters of a skin name: the category letter and three more.
struct OutfitCode {
    std::string_view source;  // as read from the bitmap name
    std::string_view buyable; // what both exported names start with instead
};

// Searched in this order (Formal, High Fashion, Sleepwear, Swimwear, Winterwear). Each source code
// carries its own category letter, so the category chosen for the skin picks the row. Within a
// category the buyable codes count down: digit + "QB", then "0" + digit + "B" past the tenth.
inline constexpr std::array<OutfitCode, 47> OutfitCodes = {{
    {"F100", "F9QB"}, {"F401", "F8QB"}, {"F402", "F7QB"}, {"F403", "F6QB"}, {"F404", "F5QB"},

    {"H533", "H9QB"}, {"H551", "H8QB"}, {"H552", "H7QB"}, {"H554", "H6QB"}, {"H555", "H5QB"},
    {"H556", "H4QB"}, {"H558", "H3QB"}, {"H559", "H2QB"}, {"H560", "H1QB"}, {"H561", "H0QB"},
    {"H562", "H09B"}, {"H563", "H08B"}, {"H564", "H07B"}, {"H565", "H06B"},

    {"L100", "L9QB"}, {"L401", "L8QB"}, {"L402", "L7QB"}, {"L403", "L6QB"}, {"L404", "L5QB"},
    {"L405", "L4QB"}, {"L406", "L3QB"}, {"L407", "L2QB"}, {"L408", "L1QB"}, {"L409", "L0QB"},
    {"L410", "L09B"}, {"L501", "L08B"}, {"L502", "L07B"},

    {"S100", "S9QB"}, {"S401", "S8QB"}, {"S402", "S7QB"}, {"S403", "S6QB"}, {"S404", "S5QB"},
    {"S406", "S4QB"}, {"S501", "S3QB"}, {"S502", "S2QB"}, {"S503", "S1QB"},

    {"W100", "W9QB"}, {"W501", "W8QB"}, {"W502", "W7QB"}, {"W503", "W6QB"}, {"W504", "W5QB"},
    {"W505", "W4QB"},
}};

// The buyable code of `sourceCode`, compared exactly and case-sensitively on the whole text, so a
// code of other than four characters never matches.
std::optional<std::string_view> findBuyableCode(std::string_view sourceCode);

} // namespace vestimo::buyable
