#pragma once

#include <string>
#include <string_view>

namespace vestimo::cmx {

inline constexpr std::string_view selectFileFirst = "Please select a file first!";
inline constexpr std::string_view NotOnBmpFile = "You cannot perform this action on a bmp file!";
inline constexpr std::string_view NotCheckableType =
    "This is an animation or another cmx type we can't check, so we can't deal with it at this time, sorry.";
inline constexpr std::string_view AnimationNotChecked = "We can't check animation files at this time, sorry.";
inline constexpr std::string_view NoErrorsFound = "No Errors Found.";

// The message naming the first faulty line `line` of a single-file check.
std::string faultMessage(int line);

} // namespace vestimo::cmx
