#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vestimo::cmx {

// Outcome of walking a CMX file's lines against the layout.
struct WalkVerdict {
    enum class Kind { Passed, Animation, Fault };
    Kind kind = Kind::Passed;
    int line = 0; // the first faulty line (1-based) when kind is Fault

    static WalkVerdict Passed() { return {Kind::Passed, 0}; }
    static WalkVerdict Animation() { return {Kind::Animation, 0}; }
    static WalkVerdict Fault(int line) { return {Kind::Fault, line}; }
    bool operator==(const WalkVerdict&) const = default;
};

// The rule a line of a skin description must keep.
enum class CmxRule {
    Version300, // line 2: "version 300"
    Zero,       // "0"
    One,        // line 4: "1"
    AtLeastOne, // line 8: a number of at least 1
    Bone,       // line 9: a bone name
    ZeroOrBone, // the later bone slots: "0", which ends the walk, or a bone name
};

// The rule of line `line`; Zero for every line that has no other.
CmxRule ruleAtLine(int line);

// Where the walk reads its bytes from; the caller opens and closes the underlying file.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `capacity` bytes; returns how many were read, 0 at the end (or on a read error,
    // which the source remembers for its owner to report).
    virtual std::size_t read(char* buffer, std::size_t capacity) = 0;
};

// Walks CMX text fed to it piece by piece. Holds only the few bytes a rule compares, so a line of
// any length costs constant memory. Once Done(), further input is ignored.
class CmxLineWalker {
public:
    explicit CmxLineWalker(bool acceptHandsAtLine9) : acceptHandsAtLine9_(acceptHandsAtLine9) {}

    // Feeds the next bytes of the file; returns true when the verdict is known.
    bool feed(std::string_view bytes);
    // Ends the input and returns the verdict.
    WalkVerdict finish();
    bool done() const { return done_; }
    // Lines fully read so far (for tests).
    int linesRead() const { return line_ - 1; }

private:
    // Enough for every literal a line is compared with; a longer line equals none of them.
    static constexpr std::size_t Keep = 64;

    void endLine();
    void numberByte(char c);
    void mantissaByte(char c);
    void exponentByte(char c);
    bool lineEquals(std::string_view literal) const;

    bool acceptHandsAtLine9_;
    bool done_ = false;
    WalkVerdict verdict_;

    int line_ = 1;              // number of the line being read
    bool lineStarted_ = false;  // a byte of the current line has been read
    bool skipLineFeed_ = false; // the previous byte was a carriage return
    char kept_[Keep] = {};
    std::size_t keptLength_ = 0;
    std::uint64_t lineLength_ = 0;

    // Line 8, read as a number while it streams past (see NumberByte).
    enum class NumberState : std::uint8_t {
        Leading,
        Sign,
        IntDigits,
        Point,
        FracDigits,
        ExpMark,
        ExpSign,
        ExpDigits,
        Trailing,
        Invalid
    };
    NumberState number_ = NumberState::Leading;
    bool negative_ = false;
    bool nonZeroDigit_ = false;
    bool mantissaDigit_ = false;
};

// Reads lines from `source` until the layout gives a verdict.
WalkVerdict walkCmxLines(ByteSource& source, bool acceptHandsAtLine9);

// The same over text already in memory.
WalkVerdict walkCmxText(std::string_view text, bool acceptHandsAtLine9);

} // namespace vestimo::cmx
