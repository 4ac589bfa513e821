#include "core/cmx/CmxWalk.h"

#include "core/cmx/CmxLayout.h"

#include <array>
#include <cstring>

namespace vestimo::cmx {

namespace {

bool isZeroLine(int n) {
    // The third and fourth lines of every skin record, and lines 3, 6 and 7 of the header.
    if (n == 3 || n == 6 || n == 7) {
        return true;
    }
    return n >= 11 && n <= 48 && (n % 4 == 3 || n % 4 == 0);
}

bool isLaterBoneSlot(int n) {
    return n >= 13 && n <= 45 && n % 4 == 1;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool CmxLineWalker::feed(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (done_) {
            return true;
        }
        const char c = bytes[i];
        if (keptLength_ == Keep && line_ != 8 && !skipLineFeed_) {
            // Nothing more of this line can matter: jump to its end.
            const void* end = std::memchr(bytes.data() + i, '\r', bytes.size() - i);
            const std::size_t stop =
                end == nullptr ? bytes.size()
                               : static_cast<std::size_t>(static_cast<const char*>(end) - bytes.data());
            lineLength_ += stop - i;
            i = stop;
            if (end == nullptr) {
                break;
            }
            endLine();
            skipLineFeed_ = true;
            continue;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (c == '\n') {
                continue; // the line feed of a CR LF pair belongs to the line end
            }
        }
        if (c == '\r') {
            endLine();
            skipLineFeed_ = true;
            continue;
        }
        // A bare line feed is part of the line's text.
        lineStarted_ = true;
        ++lineLength_;
        if (keptLength_ < Keep) {
            kept_[keptLength_++] = c;
        }
        if (line_ == 8) {
            numberByte(c);
        }
    }
    return done_;
}

WalkVerdict CmxLineWalker::finish() {
    // The last line needs no line end; an empty tail after a line end is no line.
    if (!done_ && lineStarted_) {
        endLine();
    }
    if (!done_) {
        done_ = true;
        verdict_ = WalkVerdict::Passed();
    }
    return verdict_;
}

bool CmxLineWalker::lineEquals(std::string_view literal) const {
    return lineLength_ == literal.size() && std::string_view(kept_, keptLength_) == literal;
}

// Line 8 must read as a decimal number greater than 0. What counts as a number: blanks (spaces,
// tabs), an optional sign, digits with an optional decimal point and fraction (at least one digit
// in all: "1", "1.", ".5", "0.5"), an optional exponent ("e" or "E", optional sign, digits), then
// blanks. Nothing else may stand on the line. The value is greater than 0 when there is no minus
// sign and some mantissa digit is not zero; the exponent only scales it, so it cannot make a
// positive number 0. This is decided byte by byte, so a line of any length needs no buffer.
void CmxLineWalker::numberByte(char c) {
    using S = NumberState;
    switch (number_) {
    case S::Leading:
        if (isBlank(c)) {
            return;
        }
        if (c == '+' || c == '-') {
            negative_ = c == '-';
            number_ = S::Sign;
            return;
        }
        mantissaByte(c);
        return;
    case S::Sign:
    case S::IntDigits:
    case S::Point:
    case S::FracDigits:
        mantissaByte(c);
        return;
    case S::ExpMark:
    case S::ExpSign:
    case S::ExpDigits:
    case S::Trailing:
        exponentByte(c);
        return;
    case S::Invalid:
        return;
    }
}

void CmxLineWalker::mantissaByte(char c) {
    using S = NumberState;
    const bool started = number_ != S::Leading && number_ != S::Sign;
    if (isDigit(c)) {
        mantissaDigit_ = true;
        nonZeroDigit_ = nonZeroDigit_ || c != '0';
        number_ = number_ == S::Point || number_ == S::FracDigits ? S::FracDigits : S::IntDigits;
    } else if (c == '.' && (number_ == S::IntDigits || !started)) {
        number_ = number_ == S::IntDigits ? S::FracDigits : S::Point;
    } else if (started && (c == 'e' || c == 'E') && mantissaDigit_) {
        number_ = S::ExpMark;
    } else if (started && isBlank(c) && mantissaDigit_) {
        number_ = S::Trailing;
    } else {
        number_ = S::Invalid;
    }
}

void CmxLineWalker::exponentByte(char c) {
    using S = NumberState;
    switch (number_) {
    case S::ExpMark:
        if (c == '+' || c == '-') {
            number_ = S::ExpSign;
            return;
        }
        number_ = isDigit(c) ? S::ExpDigits : S::Invalid;
        return;
    case S::ExpSign:
        number_ = isDigit(c) ? S::ExpDigits : S::Invalid;
        return;
    case S::ExpDigits:
        if (!isDigit(c)) {
            number_ = isBlank(c) ? S::Trailing : S::Invalid;
        }
        return;
    default:
        if (!isBlank(c)) {
            number_ = S::Invalid;
        }
        return;
    }
}

void CmxLineWalker::endLine() {
    const int n = line_;
    bool fault = false;
    if (n == 1) {
        if (lineEquals(AnimationHeader)) {
            done_ = true;
            verdict_ = WalkVerdict::Animation();
            return;
        }
    } else if (n == 2) {
        std::array<char, Keep> lower{};
        for (std::size_t i = 0; i < keptLength_; ++i) {
            const char c = kept_[i];
            lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        fault = !(lineLength_ == VersionLine.size() &&
                  std::string_view(lower.data(), keptLength_) == VersionLine);
    } else if (n == 4) {
        fault = !lineEquals("1");
    } else if (n == 8) {
        const bool complete = number_ == NumberState::IntDigits || number_ == NumberState::FracDigits ||
                              number_ == NumberState::ExpDigits || number_ == NumberState::Trailing ||
                              (number_ == NumberState::Point && mantissaDigit_);
        fault = !(complete && mantissaDigit_ && nonZeroDigit_ && !negative_);
    } else if (n == 9) {
        fault = !isBoneName(std::string_view(kept_, keptLength_), acceptHandsAtLine9_) || lineLength_ > Keep;
    } else if (isLaterBoneSlot(n)) {
        if (lineEquals("0")) {
            done_ = true;
            verdict_ = WalkVerdict::Passed();
            return;
        }
        fault = !isBoneName(std::string_view(kept_, keptLength_), false) || lineLength_ > Keep;
    } else if (isZeroLine(n)) {
        fault = !lineEquals("0");
    }
    if (fault) {
        done_ = true;
        verdict_ = WalkVerdict::Fault(n);
        return;
    }
    if (n == 48) {
        // Line 49 is read but never judged, so the verdict is known here whatever follows.
        done_ = true;
        verdict_ = WalkVerdict::Passed();
        return;
    }
    ++line_;
    lineStarted_ = false;
    keptLength_ = 0;
    lineLength_ = 0;
}

CmxRule ruleAtLine(int line) {
    switch (line) {
    case 2:
        return CmxRule::Version300;
    case 4:
        return CmxRule::One;
    case 8:
        return CmxRule::AtLeastOne;
    case 9:
        return CmxRule::Bone;
    default:
        break;
    }
    return isLaterBoneSlot(line) ? CmxRule::ZeroOrBone : CmxRule::Zero;
}

WalkVerdict walkCmxLines(ByteSource& source, bool acceptHandsAtLine9) {
    CmxLineWalker walker(acceptHandsAtLine9);
    // Skin descriptions are a few hundred bytes; a small buffer keeps the read close to what the
    // walk needs and the memory constant whatever the file holds.
    std::array<char, 4096> buffer{};
    while (!walker.done()) {
        const std::size_t got = source.read(buffer.data(), buffer.size());
        if (got == 0) {
            break;
        }
        walker.feed(std::string_view(buffer.data(), got));
    }
    return walker.finish();
}

WalkVerdict walkCmxText(std::string_view text, bool acceptHandsAtLine9) {
    CmxLineWalker walker(acceptHandsAtLine9);
    walker.feed(text);
    return walker.finish();
}

} // namespace vestimo::cmx
