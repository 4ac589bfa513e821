#pragma once

#include <optional>

// The players' code page, Windows-1252, in which CMX files are written and read.
//
// Its five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same
// number, so every byte has a character and back.
namespace vestimo::cmx {

// The character of a byte.
char16_t codePageCharacter(unsigned char byte);

// The byte of a character, or nothing when the code page has none.
std::optional<unsigned char> codePageByte(char32_t c);

} // namespace vestimo::cmx
