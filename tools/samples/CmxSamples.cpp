#include "samples/CmxSamples.h"

#include <array>
#include <stdexcept>

namespace vestimo::samples {

namespace {

// Bones of records 2 to 10 of the ten-record file; record 1 is the PELVIS.
constexpr std::array<std::string_view, 9> LaterBones = {"SPINE", "SPINE1", "HEAD",   "L_ARM", "R_ARM",
                                                        "L_LEG", "R_LEG",  "L_FOOT", "R_FOOT"};

std::vector<std::string> Header(std::string_view baseName, std::string_view records) {
    return {std::string(CharacterHeader), "version 300", "0", "1",
            std::string(baseName),        "0",           "0", std::string(records)};
}

std::string SingleRecordCmx(std::string_view baseName, std::string_view bone, std::string_view meshSuffix) {
    std::vector<std::string> lines = Header(baseName, "1");
    lines.insert(lines.end(), {std::string(bone), "xskin-" + std::string(baseName) + std::string(meshSuffix),
                               "0", "0", "0"});
    return JoinCrlf(lines);
}

bool IsBoneSlot(int line) {
    return line >= 9 && line <= 45 && line % 4 == 1;
}
bool IsMeshName(int line) {
    return line >= 10 && line <= 46 && line % 4 == 2;
}

} // namespace

std::string JoinCrlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string ValidBodyCmx(std::string_view baseName) {
    return SingleRecordCmx(baseName, "PELVIS", "-PELVIS-BODY");
}

std::string ValidHeadCmx(std::string_view baseName) {
    return SingleRecordCmx(baseName, "HEAD", "-HEAD-HEAD");
}

std::vector<std::string> TenRecordCmxLines(std::string_view baseName) {
    std::vector<std::string> lines = Header(baseName, "10");
    const std::string base(baseName);
    lines.insert(lines.end(), {"PELVIS", "xskin-" + base + "-PELVIS-BODY", "0", "0"});
    for (const std::string_view bone : LaterBones) {
        lines.insert(lines.end(),
                     {std::string(bone), "xskin-" + base + "-" + std::string(bone) + "-BODY", "0", "0"});
    }
    lines.emplace_back("0");
    return lines;
}

std::string TenRecordCmx(std::string_view baseName) {
    return JoinCrlf(TenRecordCmxLines(baseName));
}

bool CmxLineHasRule(int line) {
    if (line == 2 || line == 3 || line == 4 || line == 6 || line == 7 || line == 8 || line == 9) {
        return true;
    }
    return line >= 11 && line <= 48 && !IsMeshName(line);
}

const std::vector<int>& RuledCmxLines() {
    static const std::vector<int> lines = [] {
        std::vector<int> result;
        for (int line = 1; line <= 49; ++line) {
            if (CmxLineHasRule(line)) {
                result.push_back(line);
            }
        }
        return result;
    }();
    return lines;
}

std::string CmxWithFaultAt(std::string_view baseName, int line) {
    if (!CmxLineHasRule(line)) {
        throw std::invalid_argument("CMX line " + std::to_string(line) + " has no rule to break");
    }
    std::vector<std::string> lines = TenRecordCmxLines(baseName);
    std::string& target = lines[static_cast<std::size_t>(line - 1)];
    if (line == 2) {
        target = "version 301";
    } else if (line == 4) {
        target = "0";
    } else if (line == 8) {
        target = "0";
    } else if (line == 9) {
        target = "pelvis"; // bone names are compared with their case
    } else if (IsBoneSlot(line)) {
        target = "R_HAND"; // the hand bones never pass after the first record
    } else {
        target = "1"; // the lines that must hold "0"
    }
    return JoinCrlf(lines);
}

std::string ReplaceCmxLine(std::string_view text, int line, std::string_view replacement) {
    if (line < 1) {
        throw std::out_of_range("CMX lines are numbered from 1");
    }
    std::size_t start = 0;
    for (int n = 1; n < line; ++n) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            throw std::out_of_range("CMX text has fewer than " + std::to_string(line) + " lines");
        }
        start = end + 2;
    }
    std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) {
        if (start == text.size()) {
            throw std::out_of_range("CMX text has fewer than " + std::to_string(line) + " lines");
        }
        end = text.size();
    }
    std::string result(text.substr(0, start));
    result += replacement;
    result += text.substr(end);
    return result;
}

std::string AnimationCmx() {
    return JoinCrlf({std::string(AnimationHeader), "version 300", "0", "1", "a2o-wave", "1", "adult-wave",
                     "1", "0", "PELVIS", "0", "0"});
}

} // namespace vestimo::samples
