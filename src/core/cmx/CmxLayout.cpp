#include "core/cmx/CmxLayout.h"

#include <algorithm>
#include <vector>

namespace vestimo::cmx {

namespace {

// Length in bytes of the character starting at text[i]; 1 for a byte that does not start valid UTF-8.
std::size_t characterLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    if (i + length > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

std::vector<std::string_view> splitCharacters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = characterLength(text, i);
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

std::string upperAscii(std::string_view character) {
    std::string result(character);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

} // namespace

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += characterLength(text, i)) {
        ++count;
    }
    return count;
}

std::string_view firstCharacters(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t taken = 0; taken < count && i < text.size(); ++taken) {
        i += characterLength(text, i);
    }
    return text.substr(0, i);
}

std::string_view dropLastCharacters(std::string_view text, std::size_t count) {
    const std::size_t total = characterCount(text);
    return total <= count ? std::string_view{} : firstCharacters(text, total - count);
}

std::string classKey(std::string_view fileName) {
    const std::vector<std::string_view> chars = splitCharacters(fileName);
    if (chars.empty()) {
        return "*";
    }
    // The pair is the last two of the first six characters; a shorter name gives its own last
    // two, and a one-character name gives that one character.
    const std::size_t end = std::min<std::size_t>(chars.size(), 6);
    const std::size_t begin = end >= 2 ? end - 2 : 0;
    std::string key = upperAscii(chars.front()) + "*";
    for (std::size_t i = begin; i < end; ++i) {
        key += upperAscii(chars[i]);
    }
    return key;
}

bool isSkinClass(std::string_view key) {
    return std::find(SkinClasses.begin(), SkinClasses.end(), key) != SkinClasses.end();
}

bool isBoneName(std::string_view line, bool acceptHands) {
    if (std::find(BoneNames.begin(), BoneNames.end(), line) != BoneNames.end()) {
        return true;
    }
    return acceptHands && (line == LeftHand || line == RightHand);
}

} // namespace vestimo::cmx
