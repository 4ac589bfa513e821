#include "platform/Wildcard.h"

#include <gtest/gtest.h>

using vestimo::platform::WildcardMatch;

TEST(Wildcard, MatchesWithoutRegardToCase) {
    EXPECT_TRUE(WildcardMatch("*.BMP", "skin.bmp"));
    EXPECT_TRUE(WildcardMatch("*.BMP", "SKIN.BMP"));
    EXPECT_TRUE(WildcardMatch("*.bmp", "SKIN.Bmp"));
    EXPECT_FALSE(WildcardMatch("*.BMP", "skin.cmx"));
    EXPECT_FALSE(WildcardMatch("*.BMP", "skin.bmp.txt"));
}

TEST(Wildcard, StarAndQuestionMarkAreTheOnlySpecialCharacters) {
    EXPECT_TRUE(WildcardMatch("B123FAFit*.BMP", "b123fafitlgt_dress.bmp"));
    EXPECT_FALSE(WildcardMatch("B123FAFit*.BMP", "B123FAFat_Dress.bmp"));
    EXPECT_TRUE(WildcardMatch("B?23*", "Bx23"));
    EXPECT_FALSE(WildcardMatch("B?23*", "B23"));
    EXPECT_TRUE(WildcardMatch("[a]*.BMP", "[A]skin.bmp"));
    EXPECT_FALSE(WildcardMatch("[a]*.BMP", "askin.bmp"));
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_TRUE(WildcardMatch("**.*", "x.y"));
    EXPECT_FALSE(WildcardMatch("", "x"));
    EXPECT_TRUE(WildcardMatch("*.bmp", "*x.bmp")); // a star in a name is just a character
    EXPECT_TRUE(WildcardMatch("*.BMP", QString::fromUtf8("\xC3\x89T\xC3\x89.bmp")));
    EXPECT_TRUE(WildcardMatch(QString::fromUtf8("\xC3\xA9*"), QString::fromUtf8("\xC3\x89t\xC3\xA9")));
}

TEST(Wildcard, LongNamesWithManyStarsStayFast) {
    const QString name = QString(4000, u'a') + u'b';
    EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*a*c", name));
    EXPECT_TRUE(WildcardMatch("*a*a*a*a*a*a*a*a*b", name));
}
