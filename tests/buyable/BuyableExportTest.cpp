#include "core/buyable/BuyableExport.h"

#include "core/cmx/CmxWalk.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

using namespace vestimo::buyable;

TEST(letterOf, GivesEachCategoryItsNameLetter) {
    EXPECT_EQ(letterOf(Category::Formal), 'F');
    EXPECT_EQ(letterOf(Category::Swimwear), 'S');
    EXPECT_EQ(letterOf(Category::Sleepwear), 'L');
    EXPECT_EQ(letterOf(Category::Winterwear), 'W');
    EXPECT_EQ(letterOf(Category::HighFashion), 'H');
}

TEST(replaceFirstCharacter, PutsTheLetterInPlaceOfTheFirstCharacter) {
    EXPECT_EQ(replaceFirstCharacter("B100FAFitlgt_xyz.bmp", 'F'), "F100FAFitlgt_xyz.bmp");
    EXPECT_EQ(replaceFirstCharacter("F100FAFit_xyz", 'S'), "S100FAFit_xyz");
    EXPECT_EQ(replaceFirstCharacter("b", 'H'), "H");
}

TEST(replaceFirstCharacter, GivesJustTheLetterForAnEmptyName) {
    EXPECT_EQ(replaceFirstCharacter("", 'W'), "W");
}

TEST(replaceFirstCharacter, ReplacesAMultiByteCharacterWhole) {
    EXPECT_EQ(replaceFirstCharacter("\xC3\xA9"
                                    "100FA",
                                    'L'),
              "L100FA");
}

TEST(exportNames, GivesBothNamesTheBuyableCodeOfTheBitmapName) {
    const ExportedNames names = exportNames("F100FAFitlgt_xyz.bmp", "F100FAFit_xyz");
    EXPECT_EQ(names.newBitmapName, "F9QBFAFitlgt_xyz.bmp");
    EXPECT_EQ(names.newCmxName, "F9QBFAFit_xyz");
    EXPECT_TRUE(names.converted);
}

TEST(exportNames, UsesTheSameCodeForBothNames) {
    const ExportedNames names = exportNames("L401MAPjs_abc.bmp", "L401MAPjs_abc");
    EXPECT_EQ(names.newBitmapName.substr(0, 4), "L8QB");
    EXPECT_EQ(names.newCmxName.substr(0, 4), "L8QB");
}

TEST(exportNames, LetsTheCategoryPickTheRow) {
    EXPECT_EQ(exportNames("F100FAFitlgt_xyz.bmp", "F100FAFit_xyz").newCmxName, "F9QBFAFit_xyz");
    EXPECT_EQ(exportNames("S100FAFitlgt_xyz.bmp", "S100FAFit_xyz").newCmxName, "S9QBFAFit_xyz");
}

TEST(exportNames, ReplacesTheCmxNamesOwnFirstFourCharactersWhateverTheyWere) {
    const ExportedNames names = exportNames("W501FCCoat_q.bmp", "xyzwFCCoat_q");
    EXPECT_EQ(names.newBitmapName, "W8QBFCCoat_q.bmp");
    EXPECT_EQ(names.newCmxName, "W8QBFCCoat_q");
    // Only the bitmap name decides: a convertible CMX name does not help an unknown bitmap code.
    const ExportedNames unknown = exportNames("F123FAFit.bmp", "F100FAFit");
    EXPECT_EQ(unknown.newCmxName, "F100FAFit");
    EXPECT_FALSE(unknown.converted);
}

TEST(exportNames, LeavesBothNamesUnchangedForACodeOutsideTheTable) {
    const ExportedNames names = exportNames("F123FAFitlgt_xyz.bmp", "F123FAFit_xyz");
    EXPECT_EQ(names.newBitmapName, "F123FAFitlgt_xyz.bmp");
    EXPECT_EQ(names.newCmxName, "F123FAFit_xyz");
    EXPECT_FALSE(names.converted);
}

TEST(exportNames, IgnoresLowerCaseCodes) {
    const ExportedNames names = exportNames("f100FAFit.bmp", "f100FAFit");
    EXPECT_EQ(names.newBitmapName, "f100FAFit.bmp");
    EXPECT_EQ(names.newCmxName, "f100FAFit");
    EXPECT_FALSE(names.converted);
}

TEST(exportNames, ConvertsNamesThatAreJustTheCode) {
    const ExportedNames names = exportNames("H565", "H565");
    EXPECT_EQ(names.newBitmapName, "H06B");
    EXPECT_EQ(names.newCmxName, "H06B");
    EXPECT_TRUE(names.converted);
}

TEST(exportNames, TreatsTheRestOfACmxNameShorterThanFourCharactersAsEmpty) {
    EXPECT_EQ(exportNames("F100FAFit.bmp", "F10").newCmxName, "F9QB");
    EXPECT_EQ(exportNames("F100FAFit.bmp", "").newCmxName, "F9QB");
}

TEST(exportNames, CutsCmxNamesByCharactersNotBytes) {
    // "é" is two bytes in UTF-8 but one character of the name.
    EXPECT_EQ(exportNames("F100FAFit.bmp", "F\xC3\xA9"
                                           "00FAFit")
                  .newCmxName,
              "F9QBFAFit");
    EXPECT_EQ(exportNames("F100FAFit.bmp", "F10\xC3\xA9"
                                           "FAFit")
                  .newCmxName,
              "F9QBFAFit");
    // A bitmap code containing a multi-byte character is not in the table.
    EXPECT_FALSE(exportNames("F1\xC3\xA9"
                             "0FA.bmp",
                             "F100FA")
                     .converted);
}

TEST(buyableCmxText, WritesThirteenLinesEndedByCarriageReturnAndLineFeed) {
    EXPECT_EQ(buyableCmxText("F9QBFAFit_xyz", "xskin-B100FAFit_xyz-PELVIS-BODY"),
              "// Character File. Copyright 1997, Maxis Inc.\r\n"
              "Version 300\r\n"
              "0\r\n"
              "1\r\n"
              "F9QBFAFit_xyz\r\n"
              "0\r\n"
              "0\r\n"
              "1\r\n"
              "PELVIS\r\n"
              "xskin-B100FAFit_xyz-PELVIS-BODY\r\n"
              "0\r\n"
              "0\r\n"
              "0\r\n");
}

TEST(buyableCmxText, PassesTheCmxLineWalk) {
    const std::string text = buyableCmxText("F9QBFAFit_xyz", "xskin-B100FAFit_xyz-PELVIS-BODY");
    EXPECT_EQ(vestimo::cmx::walkCmxText(text, false), vestimo::cmx::WalkVerdict::Passed());
}

TEST(buyableCmxText, WritesNamesInTheCodePageTheEditorAndTheGameRead) {
    // "é" and "€" in UTF-8 become the single bytes 0xE9 and 0x80 of Windows-1252.
    const std::string text =
        buyableCmxText("F9QBFAFit_caf\xC3\xA9", "xskin-B100FAFit_\xE2\x82\xAC-PELVIS-BODY");
    EXPECT_NE(text.find("\r\nF9QBFAFit_caf\xE9\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nxskin-B100FAFit_\x80-PELVIS-BODY\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\xC3'), std::string::npos);
    EXPECT_EQ(vestimo::cmx::walkCmxText(text, false), vestimo::cmx::WalkVerdict::Passed());
}

TEST(findNameFault, AcceptsEveryCharacterOfTheCodePage) {
    EXPECT_FALSE(findNameFault("F9QBFAFit_xyz"));
    EXPECT_FALSE(findNameFault("F9QB caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8 \xC3\xBF"));
    EXPECT_FALSE(findNameFault(""));
}

TEST(findNameFault, NamesTheFirstControlCharacter) {
    for (const auto& [name, character] :
         std::initializer_list<std::pair<std::string_view, char32_t>>{{"F9QB\nx", U'\n'},
                                                                      {"F9QB\rx", U'\r'},
                                                                      {"F9QB\tx", U'\t'},
                                                                      {std::string_view("F9QB\0x", 6), U'\0'},
                                                                      {"F9QB\x7F", U'\x7F'},
                                                                      {"F9QB\xC2\x85x\n", U'\x85'}}) {
        const auto fault = findNameFault(name);
        ASSERT_TRUE(fault) << name;
        EXPECT_EQ(fault->kind, NameFault::Kind::ControlCharacter) << name;
        EXPECT_EQ(fault->character, character) << name;
    }
}

TEST(findNameFault, NamesACharacterTheCodePageLacks) {
    const auto latin = findNameFault("F9QB\xC4\x80x"); // U+0100
    ASSERT_TRUE(latin);
    EXPECT_EQ(latin->kind, NameFault::Kind::NotInCodePage);
    EXPECT_EQ(latin->character, U'\u0100');
    const auto smiley = findNameFault("F9QB\xF0\x9F\x98\x80"); // U+1F600
    ASSERT_TRUE(smiley);
    EXPECT_EQ(smiley->kind, NameFault::Kind::NotInCodePage);
    EXPECT_EQ(smiley->character, U'\U0001F600');
}

TEST(findNameFault, NamesAByteThatIsNotText) {
    for (const std::string_view name : {"F9QB\xFFx", "F9QB\xC3", "F9QB\xE0\x80\x80", "F9QB\xED\xA0\x80"}) {
        const auto fault = findNameFault(name);
        ASSERT_TRUE(fault) << name;
        EXPECT_EQ(fault->kind, NameFault::Kind::NotText) << name;
    }
}
