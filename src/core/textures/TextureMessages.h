#pragma once

#include <string>
#include <string_view>

namespace vestimo::textures {

// The maintainers' e-mail address that ends the messages asking users to send in details.
// Set at configure time through the VESTIMO_MAINTAINER_CONTACT cache variable.
extern const std::string_view MaintainerContact;

// The not-recognized message is NotRecognizedPrefix + MaintainerContact + NotRecognizedSuffix.
// It deliberately does not state the dimensions: the user is asked to note them.
inline constexpr std::string_view NotRecognizedPrefix =
    "This is a file dimension pair not recognized by this program. Please make a note of the dimensions and "
    "email them to ";
inline constexpr std::string_view NotRecognizedSuffix = " so we can update the program to recognize it.";
// "a not a" is the wording players know; it stays.
inline constexpr std::string_view NotValidSkinFile = "This is a not a valid Skin File.";
inline constexpr std::string_view ValidSkinFile = "This is a valid Skin File.";
inline constexpr std::string_view notOnCmxFile = "You cannot perform this action on a CMX file!";

// The whole not-recognized message, contact address included.
std::string notRecognizedMessage();

} // namespace vestimo::textures
