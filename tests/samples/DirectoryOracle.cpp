#include "DirectoryOracle.h"

#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxWalk.h"
#include "samples/SkinSamples.h"

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vestimo::samples::test {

namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// How many leading characters of a CMX name its bitmaps must share.
std::size_t prefixLength(const std::string& key) {
    if (key == "B*CA" || key == "B*DO") {
        return 7;
    }
    return key[0] == 'C' ? 6 : 9;
}

} // namespace

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

DirectoryVerdicts JudgeDirectory(const fs::path& dir) {
    DirectoryVerdicts v;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> bitmapsLower;
    for (const std::string& name : names) {
        if (EndsWith(Lower(name), ".bmp")) {
            bitmapsLower.push_back(Lower(name));
        }
    }
    for (const std::string& name : names) {
        const std::string lower = Lower(name);
        if (EndsWith(lower, ".skn")) {
            ++v.skn;
        } else if (EndsWith(lower, ".bmp")) {
            ++v.bmp;
            const std::string bytes = readFile(dir / name);
            QImage image;
            if (!image.loadFromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "BMP")) {
                v.problemBitmaps.push_back(name);
                continue;
            }
            const std::size_t limit = TextureLimitFor(image.width(), image.height());
            if (limit != 0 && bytes.size() > limit) {
                v.problemBitmaps.push_back(name);
            }
        } else if (EndsWith(lower, ".cmx")) {
            ++v.cmx;
            const std::string key = cmx::classKey(name);
            if (!cmx::isSkinClass(key)) {
                continue;
            }
            if (cmx::walkCmxText(readFile(dir / name), true).kind == cmx::WalkVerdict::Kind::Fault) {
                v.faultyCmx.push_back(name);
            }
            const std::string prefix = Lower(name.substr(0, prefixLength(key)));
            const bool hasBitmap = std::any_of(bitmapsLower.begin(), bitmapsLower.end(),
                                               [&](const std::string& b) { return b.rfind(prefix, 0) == 0; });
            if (!hasBitmap) {
                v.orphaned.push_back(name);
                const std::string base = name.substr(0, name.size() - 4);
                const std::string mesh = key[0] == 'C' ? HeadMeshFile(base) : BodyMeshFile(base);
                if (fs::exists(dir / mesh)) {
                    v.orphaned.push_back(mesh);
                }
            }
        }
    }
    std::sort(v.orphaned.begin(), v.orphaned.end());
    return v;
}

} // namespace vestimo::samples::test
