#include "core/textures/TextureMessages.h"

#include <gtest/gtest.h>

#include <string>

using namespace vestimo::textures;

TEST(MaintainerContact, IsTheAddressConfiguredForTheBuild) {
    EXPECT_EQ(MaintainerContact, CONFIGURED_MAINTAINER_CONTACT);
    EXPECT_FALSE(MaintainerContact.empty());
}

TEST(notRecognizedMessage, AsksForTheDimensionsAndEndsWithTheContactSentence) {
    EXPECT_EQ(
        notRecognizedMessage(),
        std::string("This is a file dimension pair not recognized by this program. Please make a note of the "
                    "dimensions and email them to ") +
            CONFIGURED_MAINTAINER_CONTACT + " so we can update the program to recognize it.");
}

TEST(BitmapCheckMessages, KeepTheirWordingByteForByte) {
    EXPECT_EQ(NotValidSkinFile, "This is a not a valid Skin File.");
    EXPECT_EQ(ValidSkinFile, "This is a valid Skin File.");
    EXPECT_EQ(notOnCmxFile, "You cannot perform this action on a CMX file!");
}
