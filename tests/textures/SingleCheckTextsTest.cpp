#include "core/catalogue/SingleChecks.h"

#include <gtest/gtest.h>

using namespace vestimo;

TEST(MaintainerContact, IsTheAddressConfiguredForTheBuild) {
    EXPECT_EQ(texts::maintainerContact(), QStringLiteral(CONFIGURED_MAINTAINER_CONTACT));
    EXPECT_FALSE(texts::maintainerContact().isEmpty());
}

TEST(SingleCheckTexts, TheUnknownSizeMessageAsksForTheDimensionsAndEndsWithTheContactSentence) {
    EXPECT_EQ(
        texts::dimensionsNotRecognized(),
        QStringLiteral("This is a file dimension pair not recognized by this program. Please make a note of "
                       "the dimensions and email them to ") +
            QStringLiteral(CONFIGURED_MAINTAINER_CONTACT) +
            QStringLiteral(" so we can update the program to recognize it."));
}

TEST(SingleCheckTexts, TheFaultOfEachLineKeepsItsOwnWording) {
    EXPECT_EQ(texts::cmxFaultAtLine(2), "Error With Line 2! Must Read version 300!");
    EXPECT_EQ(texts::cmxFaultAtLine(7), "Error With Line 7! Must equal 0!");
    EXPECT_EQ(texts::cmxFaultAtLine(8), "Error with Line 8! Must equal at least 1! If ");
    EXPECT_TRUE(texts::cmxFaultAtLine(17).endsWith("R_TOE0, Or L_TOE0\""));
    EXPECT_FALSE(texts::cmxFaultAtLine(13).endsWith(u'"'));
    EXPECT_EQ(texts::cmxFaultAtLine(44), "Error with Line 44! Must equal 0!");
}
