#include "core/buyable/BuyableExport.h"

#include "core/cmx/CmxWalk.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

using namespace vestimo::buyable;

TEST(LetterOf, GivesEachCategoryItsNameLetter) {
    EXPECT_EQ(LetterOf(Category::Formal), 'F');
    EXPECT_EQ(LetterOf(Category::Swimwear), 'S');
    EXPECT_EQ(LetterOf(Category::Sleepwear), 'L');
    EXPECT_EQ(LetterOf(Category::Winterwear), 'W');
    EXPECT_EQ(LetterOf(Category::HighFashion), 'H');
}

TEST(ReplaceFirstCharacter, PutsTheLetterInPlaceOfTheFirstCharacter) {
    EXPECT_EQ(ReplaceFirstCharacter("B100FAFitlgt_xyz.bmp", 'F'), "F100FAFitlgt_xyz.bmp");
    EXPECT_EQ(ReplaceFirstCharacter("F100FAFit_xyz", 'S'), "S100FAFit_xyz");
    EXPECT_EQ(ReplaceFirstCharacter("b", 'H'), "H");
}

TEST(ReplaceFirstCharacter, GivesJustTheLetterForAnEmptyName) {
    EXPECT_EQ(ReplaceFirstCharacter("", 'W'), "W");
}

TEST(ReplaceFirstCharacter, ReplacesAMultiByteCharacterWhole) {
    EXPECT_EQ(ReplaceFirstCharacter("\xC3\xA9"
                                    "100FA",
                                    'L'),
              "L100FA");
}

TEST(ExportNames, GivesBothNamesTheBuyableCodeOfTheBitmapName) {
    const ExportedNames names = ExportNames("F100FAFitlgt_xyz.bmp", "F100FAFit_xyz");
    EXPECT_EQ(names.newBitmapName, "F9QBFAFitlgt_xyz.bmp");
    EXPECT_EQ(names.newCmxName, "F9QBFAFit_xyz");
    EXPECT_TRUE(names.converted);
}

TEST(ExportNames, UsesTheSameCodeForBothNames) {
    const ExportedNames names = ExportNames("L401MAPjs_abc.bmp", "L401MAPjs_abc");
    EXPECT_EQ(names.newBitmapName.substr(0, 4), "L8QB");
    EXPECT_EQ(names.newCmxName.substr(0, 4), "L8QB");
}

TEST(ExportNames, LetsTheCategoryPickTheRow) {
    EXPECT_EQ(ExportNames("F100FAFitlgt_xyz.bmp", "F100FAFit_xyz").newCmxName, "F9QBFAFit_xyz");
    EXPECT_EQ(ExportNames("S100FAFitlgt_xyz.bmp", "S100FAFit_xyz").newCmxName, "S9QBFAFit_xyz");
}

TEST(ExportNames, ReplacesTheCmxNamesOwnFirstFourCharactersWhateverTheyWere) {
    const ExportedNames names = ExportNames("W501FCCoat_q.bmp", "xyzwFCCoat_q");
    EXPECT_EQ(names.newBitmapName, "W8QBFCCoat_q.bmp");
    EXPECT_EQ(names.newCmxName, "W8QBFCCoat_q");
    // Only the bitmap name decides: a convertible CMX name does not help an unknown bitmap code.
    const ExportedNames unknown = ExportNames("F123FAFit.bmp", "F100FAFit");
    EXPECT_EQ(unknown.newCmxName, "F100FAFit");
    EXPECT_FALSE(unknown.converted);
}

TEST(ExportNames, LeavesBothNamesUnchangedForACodeOutsideTheTable) {
    const ExportedNames names = ExportNames("F123FAFitlgt_xyz.bmp", "F123FAFit_xyz");
    EXPECT_EQ(names.newBitmapName, "F123FAFitlgt_xyz.bmp");
    EXPECT_EQ(names.newCmxName, "F123FAFit_xyz");
    EXPECT_FALSE(names.converted);
}

TEST(ExportNames, IgnoresLowerCaseCodes) {
    const ExportedNames names = ExportNames("f100FAFit.bmp", "f100FAFit");
    EXPECT_EQ(names.newBitmapName, "f100FAFit.bmp");
    EXPECT_EQ(names.newCmxName, "f100FAFit");
    EXPECT_FALSE(names.converted);
}

TEST(ExportNames, ConvertsNamesThatAreJustTheCode) {
    const ExportedNames names = ExportNames("H565", "H565");
    EXPECT_EQ(names.newBitmapName, "H06B");
    EXPECT_EQ(names.newCmxName, "H06B");
    EXPECT_TRUE(names.converted);
}

TEST(ExportNames, TreatsTheRestOfACmxNameShorterThanFourCharactersAsEmpty) {
    EXPECT_EQ(ExportNames("F100FAFit.bmp", "F10").newCmxName, "F9QB");
    EXPECT_EQ(ExportNames("F100FAFit.bmp", "").newCmxName, "F9QB");
}

TEST(ExportNames, CutsCmxNamesByCharactersNotBytes) {
    // "é" is two bytes in UTF-8 but one character of the name.
    EXPECT_EQ(ExportNames("F100FAFit.bmp", "F\xC3\xA9"
                                           "00FAFit")
                  .newCmxName,
              "F9QBFAFit");
    EXPECT_EQ(ExportNames("F100FAFit.bmp", "F10\xC3\xA9"
                                           "FAFit")
                  .newCmxName,
              "F9QBFAFit");
    // A bitmap code containing a multi-byte character is not in the table.
    EXPECT_FALSE(ExportNames("F1\xC3\xA9"
                             "0FA.bmp",
                             "F100FA")
                     .converted);
}

TEST(BuyableCmxText, WritesThirteenLinesEndedByCarriageReturnAndLineFeed) {
    EXPECT_EQ(BuyableCmxText("F9QBFAFit_xyz", "xskin-B100FAFit_xyz-PELVIS-BODY"),
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

TEST(BuyableCmxText, PassesTheCmxLineWalk) {
    const std::string text = BuyableCmxText("F9QBFAFit_xyz", "xskin-B100FAFit_xyz-PELVIS-BODY");
    EXPECT_EQ(vestimo::cmx::WalkCmxText(text, false), vestimo::cmx::WalkVerdict::Passed());
}

TEST(BuyableCmxText, WritesNamesInTheCodePageTheEditorAndTheGameRead) {
    // "é" and "€" in UTF-8 become the single bytes 0xE9 and 0x80 of Windows-1252.
    const std::string text =
        BuyableCmxText("F9QBFAFit_caf\xC3\xA9", "xskin-B100FAFit_\xE2\x82\xAC-PELVIS-BODY");
    EXPECT_NE(text.find("\r\nF9QBFAFit_caf\xE9\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nxskin-B100FAFit_\x80-PELVIS-BODY\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\xC3'), std::string::npos);
    EXPECT_EQ(vestimo::cmx::WalkCmxText(text, false), vestimo::cmx::WalkVerdict::Passed());
}

TEST(FindNameFault, AcceptsEveryCharacterOfTheCodePage) {
    EXPECT_FALSE(FindNameFault("F9QBFAFit_xyz"));
    EXPECT_FALSE(FindNameFault("F9QB caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8 \xC3\xBF"));
    EXPECT_FALSE(FindNameFault(""));
}

TEST(FindNameFault, NamesTheFirstControlCharacter) {
    for (const auto& [name, character] :
         std::initializer_list<std::pair<std::string_view, char32_t>>{{"F9QB\nx", U'\n'},
                                                                      {"F9QB\rx", U'\r'},
                                                                      {"F9QB\tx", U'\t'},
                                                                      {std::string_view("F9QB\0x", 6), U'\0'},
                                                                      {"F9QB\x7F", U'\x7F'},
                                                                      {"F9QB\xC2\x85x\n", U'\x85'}}) {
        const auto fault = FindNameFault(name);
        ASSERT_TRUE(fault) << name;
        EXPECT_EQ(fault->kind, NameFault::Kind::ControlCharacter) << name;
        EXPECT_EQ(fault->character, character) << name;
    }
}

TEST(FindNameFault, NamesACharacterTheCodePageLacks) {
    const auto latin = FindNameFault("F9QB\xC4\x80x"); // U+0100
    ASSERT_TRUE(latin);
    EXPECT_EQ(latin->kind, NameFault::Kind::NotInCodePage);
    EXPECT_EQ(latin->character, U'\u0100');
    const auto smiley = FindNameFault("F9QB\xF0\x9F\x98\x80"); // U+1F600
    ASSERT_TRUE(smiley);
    EXPECT_EQ(smiley->kind, NameFault::Kind::NotInCodePage);
    EXPECT_EQ(smiley->character, U'\U0001F600');
}

TEST(FindNameFault, NamesAByteThatIsNotText) {
    for (const std::string_view name : {"F9QB\xFFx", "F9QB\xC3", "F9QB\xE0\x80\x80", "F9QB\xED\xA0\x80"}) {
        const auto fault = FindNameFault(name);
        ASSERT_TRUE(fault) << name;
        EXPECT_EQ(fault->kind, NameFault::Kind::NotText) << name;
    }
}
