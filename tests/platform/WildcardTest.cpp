#include "platform/Wildcard.h"

#include <gtest/gtest.h>

using vestimo::platform::wildcardMatch;

TEST(Wildcard, MatchesWithoutRegardToCase) {
    EXPECT_TRUE(wildcardMatch("*.BMP", "skin.bmp"));
    EXPECT_TRUE(wildcardMatch("*.BMP", "SKIN.BMP"));
    EXPECT_TRUE(wildcardMatch("*.bmp", "SKIN.Bmp"));
    EXPECT_FALSE(wildcardMatch("*.BMP", "skin.cmx"));
    EXPECT_FALSE(wildcardMatch("*.BMP", "skin.bmp.txt"));
}

TEST(Wildcard, StarAndQuestionMarkAreTheOnlySpecialCharacters) {
    EXPECT_TRUE(wildcardMatch("B123FAFit*.BMP", "b123fafitlgt_dress.bmp"));
    EXPECT_FALSE(wildcardMatch("B123FAFit*.BMP", "B123FAFat_Dress.bmp"));
    EXPECT_TRUE(wildcardMatch("B?23*", "Bx23"));
    EXPECT_FALSE(wildcardMatch("B?23*", "B23"));
    EXPECT_TRUE(wildcardMatch("[a]*.BMP", "[A]skin.bmp"));
    EXPECT_FALSE(wildcardMatch("[a]*.BMP", "askin.bmp"));
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_TRUE(wildcardMatch("**.*", "x.y"));
    EXPECT_FALSE(wildcardMatch("", "x"));
    EXPECT_TRUE(wildcardMatch("*.bmp", "*x.bmp")); // a star in a name is just a character
    EXPECT_TRUE(wildcardMatch("*.BMP", QString::fromUtf8("\xC3\x89T\xC3\x89.bmp")));
    EXPECT_TRUE(wildcardMatch(QString::fromUtf8("\xC3\xA9*"), QString::fromUtf8("\xC3\x89t\xC3\xA9")));
}

TEST(Wildcard, LongNamesWithManyStarsStayFast) {
    const QString name = QString(4000, u'a') + u'b';
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*c", name));
    EXPECT_TRUE(wildcardMatch("*a*a*a*a*a*a*a*a*b", name));
}

// A pattern that is a star and a fixed ending takes a shorter road; it must agree with the
// general match at the edges.
TEST(Wildcard, AStarAndAnEndingMatchesExactlyTheNamesThatEndSo) {
    EXPECT_TRUE(wildcardMatch("*.bmp", ".BMP"));
    EXPECT_FALSE(wildcardMatch("*.bmp", "bmp"));
    EXPECT_FALSE(wildcardMatch("*.bmp", ""));
    EXPECT_TRUE(wildcardMatch("*.bmp", "a.bmp.bmp"));
    EXPECT_FALSE(wildcardMatch("*.bmp", "a.bmp "));
    EXPECT_TRUE(wildcardMatch("*", "anything.at.all"));
    EXPECT_TRUE(wildcardMatch("*.cmx", QString::fromUtf8("\xF0\x9F\x98\x80.CMX"))); // beyond the basic plane
    EXPECT_FALSE(wildcardMatch("*.cmx", QString::fromUtf8("a.cm\xF0\x9F\x98\x80")));
}
