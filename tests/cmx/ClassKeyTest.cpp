#include "core/cmx/CmxLayout.h"

#include <gtest/gtest.h>

using namespace vestimo::cmx;

TEST(ClassKey, TakesFirstLetterAndCharactersFiveAndSixUpperCased) {
    EXPECT_EQ(ClassKey("B123FAred.cmx"), "B*FA");
    EXPECT_EQ(ClassKey("c042mc_bob.cmx"), "C*MC");
    EXPECT_EQ(ClassKey("b123fa.cmx"), "B*FA");
}

TEST(ClassKey, ShortNamesUseTheirLastTwoCharactersOrTheOneCharacter) {
    EXPECT_EQ(ClassKey("B.cmx"), "B*MX");
    EXPECT_EQ(ClassKey("B12.cmx"), "B*CM");
    EXPECT_EQ(ClassKey("X"), "X*X");
    EXPECT_EQ(ClassKey("ab"), "A*AB");
    EXPECT_EQ(ClassKey(""), "*");
}

TEST(ClassKey, CountsMultiByteCharactersAsOneEach) {
    // "é" is two bytes in UTF-8 but one character in the name.
    EXPECT_EQ(ClassKey("B\xC3\xA9" "12FA.cmx"), "B*FA");
    EXPECT_EQ(ClassKey("\xC3\xA9" "bcdef"), "\xC3\xA9*EF");
}

TEST(SkinClasses, HoldThirtySevenKeysWithCaAndDoOnlyAfterB) {
    EXPECT_EQ(SkinClasses.size(), 37u);
    EXPECT_TRUE(IsSkinClass("B*CA"));
    EXPECT_TRUE(IsSkinClass("B*DO"));
    EXPECT_FALSE(IsSkinClass("C*CA"));
    EXPECT_FALSE(IsSkinClass("C*DO"));
    for (const char* letter : {"B", "C", "L", "F", "W", "S", "H"}) {
        for (const char* pair : {"MA", "FA", "FC", "MC", "UC"}) {
            EXPECT_TRUE(IsSkinClass(std::string(letter) + "*" + pair)) << letter << pair;
        }
    }
    EXPECT_FALSE(IsSkinClass("*"));
    EXPECT_FALSE(IsSkinClass("b*fa"));
    EXPECT_FALSE(IsSkinClass("B?FA"));
    EXPECT_FALSE(IsSkinClass("A*MA"));
}

TEST(BoneNames, AcceptTheTwentyBonesAndHandsOnlyWhenAsked) {
    EXPECT_EQ(BoneNames.front(), "PELVIS");
    EXPECT_EQ(BoneNames.back(), "L_TOE0");
    for (const auto bone : BoneNames) {
        EXPECT_TRUE(IsBoneName(bone, false));
    }
    EXPECT_FALSE(IsBoneName("L_HAND", false));
    EXPECT_FALSE(IsBoneName("R_HAND", false));
    EXPECT_TRUE(IsBoneName("L_HAND", true));
    EXPECT_TRUE(IsBoneName("R_HAND", true));
    EXPECT_FALSE(IsBoneName("pelvis", true));
    EXPECT_FALSE(IsBoneName("PELVIS ", false));
    EXPECT_FALSE(IsBoneName("0", true));
}

TEST(Characters, PrefixAndDropCountCharacters) {
    EXPECT_EQ(FirstCharacters("B123FAFit_Dress.cmx", 9), "B123FAFit");
    EXPECT_EQ(FirstCharacters("B12", 9), "B12");
    EXPECT_EQ(DropLastCharacters("B100FAFit_xyz.cmx", 4), "B100FAFit_xyz");
    EXPECT_EQ(DropLastCharacters(".cmx", 4), "");
    EXPECT_EQ(DropLastCharacters("ab", 4), "");
    EXPECT_EQ(CharacterCount("\xC3\xA9t\xC3\xA9"), 3u);
    EXPECT_EQ(CharacterCount("\xFF\xFE"), 2u); // stray bytes count one each
}
