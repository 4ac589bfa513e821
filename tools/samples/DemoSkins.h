#pragma once

#include <cstddef>
#include <filesystem>

namespace vestimo::samples {

// Fills `dir` (created when missing) with the small hand-picked skin directory that new users try
// the program on: valid body and head skins of every accepted texture size, ready-to-buy skins,
// CMX files with one mistake each, animation descriptions, problem bitmaps and an orphaned CMX
// file. The same files every time. Returns how many files were written.
// Throws std::runtime_error when a file cannot be written.
std::size_t WriteDemoSkinDirectory(const std::filesystem::path& dir);

} // namespace vestimo::samples
