#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace vestimo::samples::test {

// What the three directory-wide checks would move from a skin directory, worked out from the
// files alone (Qt decodes the bitmaps, the CMX walk judges the descriptions). Names sorted.
struct DirectoryVerdicts {
    std::vector<std::string> faultyCmx; // class-named CMX files the walk faults (hands accepted on line 9)
    std::vector<std::string> problemBitmaps; // not decodable, or over the limit of their size
    std::vector<std::string> orphaned;       // class-named CMX files without a bitmap, and their meshes
    std::size_t cmx = 0, bmp = 0, skn = 0;
};

DirectoryVerdicts JudgeDirectory(const std::filesystem::path& dir);

std::string readFile(const std::filesystem::path& path);
std::string Lower(std::string text);

} // namespace vestimo::samples::test
