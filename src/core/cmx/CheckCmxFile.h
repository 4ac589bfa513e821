#pragma once

#include <string>
#include <string_view>

namespace vestimo::cmx {

// The one message "Check CMX For Errors" shows for the file selected in the window. The class is
// taken from the name of the file open in the editor (`nameBoxText`); the lines are read from the
// selected file as it is stored on disk. Nothing is written or changed.
std::string checkCmxFile(bool selected, std::string_view fileName, std::string_view pattern,
                         std::string_view skinDirectory, std::string_view nameBoxText);

// directory + separator + name, with no doubled separator when the directory already ends in one.
std::string joinPath(std::string_view directory, std::string_view name);

} // namespace vestimo::cmx
