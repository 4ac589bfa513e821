#pragma once

#include "samples/BmpSamples.h"
#include "samples/CmxSamples.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Whole skin sets: file names that belong together, and synthetic skin directories.
namespace vestimo::samples {

// "xskin-<base>-PELVIS-BODY.skn" and "xskin-<base>-HEAD-HEAD.skn"; base is the CMX name less ".cmx".
std::string BodyMeshFile(std::string_view baseName);
std::string HeadMeshFile(std::string_view baseName);

// Stand-in content for a mesh file; meshes are only ever found and moved by name.
std::string MeshBytes();

// What GenerateSkinDirectory writes. Every skin is a body skin with a valid CMX file, a valid
// bitmap and its mesh, unless one of the shares below picks it; a skin is picked for at most one
// kind, so the three directory-wide checks give the same result in any order. Shares are
// fractions of `count`, rounded to the nearest whole number of skins.
struct SkinSetRecipe {
    std::size_t count = 100; // skins, at most 1,000,000
    std::uint32_t seed = 1;  // picks which skins get which kind, and the pictures
    // The CMX file breaks a rule at some line (the lines with rules taken in turn).
    double faultyCmxShare = 0.0;
    // Besides its valid bitmap the skin has a second one ("drk") of the same size over the limit.
    double oversizedBitmapShare = 0.0;
    // Besides its valid bitmap the skin has a second ".bmp" ("drk") that is plain text.
    double notPictureShare = 0.0;
    // No bitmap begins with the skin's prefix; the CMX file and its mesh are there.
    double orphanShare = 0.0;
    // Valid but for "L_HAND" or "R_HAND" in the first bone slot, which the directory-wide check accepts.
    double handsAtLine9Share = 0.0;
    // Extra animation descriptions named outside the skin classes; no check moves them.
    std::size_t animationFiles = 0;
    // Size of every bitmap; must be an accepted texture size (see TextureLimits).
    int textureWidth = 256;
    int textureHeight = 256;
};

// The benchmarks' mix: 10% faulty CMX files, 3% oversized and 2% unreadable extra bitmaps, 5%
// skins without a bitmap, 2% with hand bones on line 9, one animation description per hundred.
SkinSetRecipe mixedSkinSet(std::size_t count);

struct SkinSetSummary {
    std::size_t skins = 0;
    std::size_t cmxFiles = 0;
    std::size_t bitmapFiles = 0;
    std::size_t meshFiles = 0;

    std::size_t faultyCmx = 0;
    std::size_t oversizedBitmaps = 0;
    std::size_t notPictureBitmaps = 0;
    std::size_t orphanedCmx = 0;
    std::size_t handsAtLine9 = 0;
    std::size_t animationFiles = 0;

    // What a correct checker moves, by file name, sorted. The directory-wide CMX check:
    std::vector<std::string> faultyCmxNames;
    // the directory-wide bitmap check (oversized and non-picture bitmaps):
    std::vector<std::string> problemBitmapNames;
    // the associated-files check (orphaned CMX files and their meshes):
    std::vector<std::string> orphanedNames;
};

// Name of skin i without extension, e.g. "B012FC000_s00012": chars 2-4 and 7-9 hold i, so every
// skin has its own 9-character bitmap prefix (digits only, so unique without regard to case);
// chars 5-6 cycle through the adult and child body classes MA, FA, FC, MC, UC.
std::string SkinBaseName(std::size_t index);
// The bitmap name that belongs to a body skin: prefix + variant + rest, e.g. "B012FC000lgt_s00012.bmp".
std::string BodyBitmapFile(std::string_view baseName, std::string_view variant = "lgt");

// Writes the skin set into `dir` (created when missing; files of the same names are replaced)
// and says what a correct checker must move. Deterministic in `recipe`; linear in `count`.
// Throws std::invalid_argument for a bad recipe and std::runtime_error when a file cannot be written.
SkinSetSummary GenerateSkinDirectory(const std::filesystem::path& dir, const SkinSetRecipe& recipe);

// Writes `bytes` to `path` exactly. Throws std::runtime_error on failure.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace vestimo::samples
