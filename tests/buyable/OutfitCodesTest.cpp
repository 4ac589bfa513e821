#include "core/buyable/OutfitCodes.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <string_view>

using namespace vestimo::buyable;

namespace {

struct Row {
    const char* source;
    const char* buyable;
};

// The published table, typed in again by hand so that a slip in either copy shows.
constexpr Row Expected[] = {
    // Formal
    {"F100", "F9QB"},
    {"F401", "F8QB"},
    {"F402", "F7QB"},
    {"F403", "F6QB"},
    {"F404", "F5QB"},
    // High Fashion
    {"H533", "H9QB"},
    {"H551", "H8QB"},
    {"H552", "H7QB"},
    {"H554", "H6QB"},
    {"H555", "H5QB"},
    {"H556", "H4QB"},
    {"H558", "H3QB"},
    {"H559", "H2QB"},
    {"H560", "H1QB"},
    {"H561", "H0QB"},
    {"H562", "H09B"},
    {"H563", "H08B"},
    {"H564", "H07B"},
    {"H565", "H06B"},
    // Sleepwear
    {"L100", "L9QB"},
    {"L401", "L8QB"},
    {"L402", "L7QB"},
    {"L403", "L6QB"},
    {"L404", "L5QB"},
    {"L405", "L4QB"},
    {"L406", "L3QB"},
    {"L407", "L2QB"},
    {"L408", "L1QB"},
    {"L409", "L0QB"},
    {"L410", "L09B"},
    {"L501", "L08B"},
    {"L502", "L07B"},
    // Swimwear
    {"S100", "S9QB"},
    {"S401", "S8QB"},
    {"S402", "S7QB"},
    {"S403", "S6QB"},
    {"S404", "S5QB"},
    {"S406", "S4QB"},
    {"S501", "S3QB"},
    {"S502", "S2QB"},
    {"S503", "S1QB"},
    // Winterwear
    {"W100", "W9QB"},
    {"W501", "W8QB"},
    {"W502", "W7QB"},
    {"W503", "W6QB"},
    {"W504", "W5QB"},
    {"W505", "W4QB"},
};

std::optional<std::string_view> Code(const char* code) {
    return std::string_view(code);
}

} // namespace

TEST(OutfitCodes, HoldTheFortySevenRowsInSearchOrder) {
    ASSERT_EQ(OutfitCodes.size(), std::size(Expected));
    for (std::size_t i = 0; i < OutfitCodes.size(); ++i) {
        EXPECT_EQ(OutfitCodes[i].source, Expected[i].source) << "row " << i + 1;
        EXPECT_EQ(OutfitCodes[i].buyable, Expected[i].buyable) << "row " << i + 1;
    }
}

TEST(OutfitCodes, ListEverySourceCodeOnceAndKeepTheCategoryLetter) {
    std::set<std::string_view> seen;
    for (const OutfitCode& code : OutfitCodes) {
        EXPECT_TRUE(seen.insert(code.source).second) << code.source;
        ASSERT_EQ(code.source.size(), 4u);
        ASSERT_EQ(code.buyable.size(), 4u);
        EXPECT_EQ(code.source.front(), code.buyable.front()) << code.source;
    }
}

TEST(findBuyableCode, ConvertsEveryRowOfTheTable) {
    for (const Row& row : Expected) {
        EXPECT_EQ(findBuyableCode(row.source), Code(row.buyable)) << row.source;
    }
}

TEST(findBuyableCode, LeavesCodesOutsideTheTableAlone) {
    EXPECT_EQ(findBuyableCode("F123"), std::nullopt);
    EXPECT_EQ(findBuyableCode("B100"), std::nullopt);
    EXPECT_EQ(findBuyableCode("H553"), std::nullopt);
    EXPECT_EQ(findBuyableCode("S405"), std::nullopt);
    EXPECT_EQ(findBuyableCode("F9QB"), std::nullopt); // an exported name is not converted again
    EXPECT_EQ(findBuyableCode(""), std::nullopt);
}

TEST(findBuyableCode, ComparesCaseSensitively) {
    EXPECT_EQ(findBuyableCode("f100"), std::nullopt);
    EXPECT_EQ(findBuyableCode("l401"), std::nullopt);
    EXPECT_EQ(findBuyableCode("F100"), Code("F9QB"));
}

TEST(findBuyableCode, MatchesOnlyAllFourCharacters) {
    EXPECT_EQ(findBuyableCode("F10"), std::nullopt);
    EXPECT_EQ(findBuyableCode("F1000"), std::nullopt);
    EXPECT_EQ(findBuyableCode("F100 "), std::nullopt);
    EXPECT_EQ(findBuyableCode(" F100"), std::nullopt);
    EXPECT_EQ(findBuyableCode(std::string_view("F100\0", 5)), std::nullopt);
}

TEST(findBuyableCode, LetsTheCategoryLetterPickTheRow) {
    EXPECT_EQ(findBuyableCode("F100"), Code("F9QB"));
    EXPECT_EQ(findBuyableCode("S100"), Code("S9QB"));
    EXPECT_EQ(findBuyableCode("L100"), Code("L9QB"));
    EXPECT_EQ(findBuyableCode("W100"), Code("W9QB"));
    EXPECT_EQ(findBuyableCode("H100"), std::nullopt);
}
