#include "core/cmx/CmxLayout.h"

#include <gtest/gtest.h>

using namespace vestimo::cmx;

TEST(classKey, TakesFirstLetterAndCharactersFiveAndSixUpperCased) {
    EXPECT_EQ(classKey("B123FAred.cmx"), "B*FA");
    EXPECT_EQ(classKey("c042mc_bob.cmx"), "C*MC");
    EXPECT_EQ(classKey("b123fa.cmx"), "B*FA");
}

TEST(classKey, ShortNamesUseTheirLastTwoCharactersOrTheOneCharacter) {
    EXPECT_EQ(classKey("B.cmx"), "B*MX");
    EXPECT_EQ(classKey("B12.cmx"), "B*CM");
    EXPECT_EQ(classKey("X"), "X*X");
    EXPECT_EQ(classKey("ab"), "A*AB");
    EXPECT_EQ(classKey(""), "*");
}

TEST(classKey, CountsMultiByteCharactersAsOneEach) {
    // "é" is two bytes in UTF-8 but one character in the name.
    EXPECT_EQ(classKey("B\xC3\xA9"
                       "12FA.cmx"),
              "B*FA");
    EXPECT_EQ(classKey("\xC3\xA9"
                       "bcdef"),
              "\xC3\xA9*EF");
}

TEST(SkinClasses, HoldThirtySevenKeysWithCaAndDoOnlyAfterB) {
    EXPECT_EQ(SkinClasses.size(), 37u);
    EXPECT_TRUE(isSkinClass("B*CA"));
    EXPECT_TRUE(isSkinClass("B*DO"));
    EXPECT_FALSE(isSkinClass("C*CA"));
    EXPECT_FALSE(isSkinClass("C*DO"));
    for (const char* letter : {"B", "C", "L", "F", "W", "S", "H"}) {
        for (const char* pair : {"MA", "FA", "FC", "MC", "UC"}) {
            EXPECT_TRUE(isSkinClass(std::string(letter) + "*" + pair)) << letter << pair;
        }
    }
    EXPECT_FALSE(isSkinClass("*"));
    EXPECT_FALSE(isSkinClass("b*fa"));
    EXPECT_FALSE(isSkinClass("B?FA"));
    EXPECT_FALSE(isSkinClass("A*MA"));
}

TEST(BoneNames, AcceptTheTwentyBonesAndHandsOnlyWhenAsked) {
    EXPECT_EQ(BoneNames.front(), "PELVIS");
    EXPECT_EQ(BoneNames.back(), "L_TOE0");
    for (const auto bone : BoneNames) {
        EXPECT_TRUE(isBoneName(bone, false));
    }
    EXPECT_FALSE(isBoneName("L_HAND", false));
    EXPECT_FALSE(isBoneName("R_HAND", false));
    EXPECT_TRUE(isBoneName("L_HAND", true));
    EXPECT_TRUE(isBoneName("R_HAND", true));
    EXPECT_FALSE(isBoneName("pelvis", true));
    EXPECT_FALSE(isBoneName("PELVIS ", false));
    EXPECT_FALSE(isBoneName("0", true));
}

TEST(Characters, PrefixAndDropCountCharacters) {
    EXPECT_EQ(firstCharacters("B123FAFit_Dress.cmx", 9), "B123FAFit");
    EXPECT_EQ(firstCharacters("B12", 9), "B12");
    EXPECT_EQ(dropLastCharacters("B100FAFit_xyz.cmx", 4), "B100FAFit_xyz");
    EXPECT_EQ(dropLastCharacters(".cmx", 4), "");
    EXPECT_EQ(dropLastCharacters("ab", 4), "");
    EXPECT_EQ(characterCount("\xC3\xA9t\xC3\xA9"), 3u);
    EXPECT_EQ(characterCount("\xFF\xFE"), 2u); // stray bytes count one each
}
