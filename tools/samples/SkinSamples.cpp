#include "samples/SkinSamples.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace vestimo::samples {

namespace {

constexpr std::size_t MaxSkins = 1000000;
constexpr std::size_t BodyPrefixLength = 9;
constexpr std::array<std::string_view, 5> BodyPairs = {"MA", "FA", "FC", "MC", "UC"};
// A handful of pictures is enough; making one per skin would dominate the run time.
constexpr std::uint32_t PictureVariants = 8;

enum class Kind : std::uint8_t { Valid, FaultyCmx, OversizedBitmap, NotPicture, Orphan, HandsAtLine9 };

// splitmix64: the same sequence on every platform, unlike the standard distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }

private:
    std::uint64_t state_;
};

std::size_t ShareOf(double share, std::size_t count, const char* what) {
    if (!(share >= 0.0 && share <= 1.0)) {
        throw std::invalid_argument(std::string(what) + " must lie between 0 and 1");
    }
    return static_cast<std::size_t>(std::llround(share * static_cast<double>(count)));
}

// Which kind each skin gets: the counts the shares ask for, spread by a seeded shuffle.
std::vector<Kind> AssignKinds(const SkinSetRecipe& recipe) {
    const std::size_t n = recipe.count;
    const std::array<std::pair<Kind, std::size_t>, 5> wanted = {{
        {Kind::FaultyCmx, ShareOf(recipe.faultyCmxShare, n, "faultyCmxShare")},
        {Kind::OversizedBitmap, ShareOf(recipe.oversizedBitmapShare, n, "oversizedBitmapShare")},
        {Kind::NotPicture, ShareOf(recipe.notPictureShare, n, "notPictureShare")},
        {Kind::Orphan, ShareOf(recipe.orphanShare, n, "orphanShare")},
        {Kind::HandsAtLine9, ShareOf(recipe.handsAtLine9Share, n, "handsAtLine9Share")},
    }};
    std::size_t total = 0;
    for (const auto& [kind, k] : wanted) {
        total += k;
    }
    if (total > n) {
        throw std::invalid_argument("the shares add up to more skins than the set has");
    }
    std::vector<Kind> kinds;
    kinds.reserve(n);
    for (const auto& [kind, k] : wanted) {
        kinds.insert(kinds.end(), k, kind);
    }
    kinds.resize(n, Kind::Valid);
    Random random(recipe.seed);
    for (std::size_t i = n; i > 1; --i) {
        std::swap(kinds[i - 1], kinds[random.Below(i)]);
    }
    return kinds;
}

} // namespace

std::string BodyMeshFile(std::string_view baseName) {
    return "xskin-" + std::string(baseName) + "-PELVIS-BODY.skn";
}

std::string HeadMeshFile(std::string_view baseName) {
    return "xskin-" + std::string(baseName) + "-HEAD-HEAD.skn";
}

std::string MeshBytes() {
    return "// stand-in skin mesh: never read, only moved by name\r\n0\r\n";
}

std::string SkinBaseName(std::size_t index) {
    if (index >= MaxSkins) {
        throw std::invalid_argument("skin index too large for a unique bitmap prefix");
    }
    char name[80];
    std::snprintf(name, sizeof name, "B%03zu%s%03zu_s%05zu", index % 1000,
                  BodyPairs[index % BodyPairs.size()].data(), index / 1000, index);
    return name;
}

std::string BodyBitmapFile(std::string_view baseName, std::string_view variant) {
    const std::size_t cut = std::min(baseName.size(), BodyPrefixLength);
    return std::string(baseName.substr(0, cut)) + std::string(variant) + std::string(baseName.substr(cut)) +
           ".bmp";
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

SkinSetRecipe mixedSkinSet(std::size_t count) {
    SkinSetRecipe recipe;
    recipe.count = count;
    recipe.seed = 2024;
    recipe.faultyCmxShare = 0.10;
    recipe.oversizedBitmapShare = 0.03;
    recipe.notPictureShare = 0.02;
    recipe.orphanShare = 0.05;
    recipe.handsAtLine9Share = 0.02;
    recipe.animationFiles = count / 100;
    return recipe;
}

SkinSetSummary GenerateSkinDirectory(const std::filesystem::path& dir, const SkinSetRecipe& recipe) {
    if (recipe.count > MaxSkins) {
        throw std::invalid_argument("at most 1,000,000 skins");
    }
    const std::size_t limit = TextureLimitFor(recipe.textureWidth, recipe.textureHeight);
    if (limit == 0) {
        throw std::invalid_argument("texture size is not one the game accepts");
    }
    const std::vector<Kind> kinds = AssignKinds(recipe);

    BmpOptions picture;
    picture.width = recipe.textureWidth;
    picture.height = recipe.textureHeight;
    if (NaturalBmpSize(picture) > limit) {
        throw std::invalid_argument("an 8-bit bitmap of this size is over its limit");
    }
    std::vector<std::string> pictures;
    for (std::uint32_t v = 0; v < PictureVariants; ++v) {
        picture.seed = recipe.seed * PictureVariants + v;
        pictures.push_back(MakeBmp(picture));
    }

    std::filesystem::create_directories(dir);
    SkinSetSummary summary;
    const auto& ruled = RuledCmxLines();
    std::size_t faultyIndex = 0;
    std::size_t oversizedIndex = 0;
    std::size_t handsIndex = 0;
    for (std::size_t i = 0; i < recipe.count; ++i) {
        const std::string base = SkinBaseName(i);
        const std::string cmxName = base + ".cmx";
        const std::string meshName = BodyMeshFile(base);
        const std::string& bitmap = pictures[i % PictureVariants];
        std::string cmx;
        switch (kinds[i]) {
        case Kind::FaultyCmx:
            cmx = CmxWithFaultAt(base, ruled[faultyIndex++ % ruled.size()]);
            summary.faultyCmxNames.push_back(cmxName);
            ++summary.faultyCmx;
            break;
        case Kind::HandsAtLine9:
            cmx = ReplaceCmxLine(ValidBodyCmx(base), 9, handsIndex++ % 2 == 0 ? "L_HAND" : "R_HAND");
            ++summary.handsAtLine9;
            break;
        default:
            cmx = i % 4 == 0 ? TenRecordCmx(base) : ValidBodyCmx(base);
            break;
        }
        WriteFile(dir / cmxName, cmx);
        WriteFile(dir / meshName, MeshBytes());
        ++summary.cmxFiles;
        ++summary.meshFiles;

        if (kinds[i] == Kind::Orphan) {
            summary.orphanedNames.push_back(cmxName);
            summary.orphanedNames.push_back(meshName);
            ++summary.orphanedCmx;
        } else {
            WriteFile(dir / BodyBitmapFile(base), bitmap);
            ++summary.bitmapFiles;
        }
        if (kinds[i] == Kind::OversizedBitmap) {
            BmpOptions heavy = picture;
            heavy.seed = static_cast<std::uint32_t>(i);
            heavy.fileSize = limit + 1 + oversizedIndex++ % 500;
            const std::string name = BodyBitmapFile(base, "drk");
            WriteFile(dir / name, MakeBmp(heavy));
            summary.problemBitmapNames.push_back(name);
            ++summary.oversizedBitmaps;
            ++summary.bitmapFiles;
        } else if (kinds[i] == Kind::NotPicture) {
            const std::string name = BodyBitmapFile(base, "drk");
            WriteFile(dir / name,
                      "This was meant to be the dark skin of " + base + ", but it is only text.\r\n");
            summary.problemBitmapNames.push_back(name);
            ++summary.notPictureBitmaps;
            ++summary.bitmapFiles;
        }
    }
    for (std::size_t a = 0; a < recipe.animationFiles; ++a) {
        char name[80];
        std::snprintf(name, sizeof name, "a2o-idle-%05zu.cmx", a);
        WriteFile(dir / name, AnimationCmx());
        ++summary.cmxFiles;
        ++summary.animationFiles;
    }
    summary.skins = recipe.count;
    std::sort(summary.faultyCmxNames.begin(), summary.faultyCmxNames.end());
    std::sort(summary.problemBitmapNames.begin(), summary.problemBitmapNames.end());
    std::sort(summary.orphanedNames.begin(), summary.orphanedNames.end());
    return summary;
}

} // namespace vestimo::samples
