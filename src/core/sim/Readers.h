#pragma once

#include "core/sim/SimError.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The two ways the game writes the same fields: one value (or one record of values) a line, or
// packed little-endian. The readers keep the first fault and read nothing after it, so the parsers
// above them stay straight lines; every count is checked against what is left of the input before
// anything is kept for it, so memory stays bounded by the input's size.
namespace vestimo::sim::detail {

// The least an item of a counted list can take: lines in the text form, bytes in the binary one.
struct ItemSize {
    std::int64_t lines = 1;
    std::int64_t bytes = 1;
};

class ReaderBase {
public:
    bool failed() const { return error_.has_value(); }
    const SimError& error() const { return *error_; }
    void fail(SimError error) {
        if (!error_) {
            error_ = std::move(error);
        }
    }

protected:
    std::optional<SimError> error_;
};

class TextReader : public ReaderBase {
public:
    explicit TextReader(std::string_view text) : text_(text) {}

    static constexpr Place place = Place::Line;
    // Where the next field starts.
    std::int64_t mark() const { return line_ + 1; }
    std::int64_t placeOf(std::int64_t first, std::int64_t index, ItemSize size) const {
        return first + index * size.lines;
    }
    SimError errorAt(SimErrorKind kind, std::int64_t at) const { return simError(kind, place, at); }

    std::string text() {
        std::string_view line;
        return nextLine(line) ? std::string(line) : std::string();
    }

    // The next line as `count` values; vectors are written between bars ("| x y z |").
    void record(std::size_t count, bool bars = false) {
        tokens_.clear();
        next_ = 0;
        std::string_view line;
        if (!nextLine(line)) {
            return;
        }
        std::string_view rest = line;
        if (bars) {
            rest = strip(rest, '|');
        }
        while (!rest.empty()) {
            const std::size_t end = rest.find_first_of(" \t");
            tokens_.push_back(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : trim(rest.substr(end));
        }
        if (tokens_.size() != count) {
            SimError e = errorAt(SimErrorKind::WrongValueCount, line_);
            e.limit = static_cast<std::int64_t>(count);
            e.found = std::string(line);
            fail(std::move(e));
        }
    }

    std::int32_t integer() {
        const std::string_view token = take();
        std::int32_t value = 0;
        const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
        if (!failed() && (ec != std::errc() || end != token.data() + token.size())) {
            failWith(SimErrorKind::NotANumber, token);
        }
        return failed() ? 0 : value;
    }

    float number() {
        const std::string_view token = take();
        double value = 0;
        const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
        if (failed()) {
            return 0;
        }
        if (end != token.data() + token.size() ||
            (ec != std::errc() && ec != std::errc::result_out_of_range)) {
            failWith(SimErrorKind::NotANumber, token);
            return 0;
        }
        const auto single = static_cast<float>(value);
        if (ec != std::errc() || !std::isfinite(single)) {
            failWith(SimErrorKind::NotFinite, token);
            return 0;
        }
        return single;
    }

    std::int64_t remaining() const { return static_cast<std::int64_t>(text_.size() - pos_); }
    // An item of `lines` lines takes at least two bytes a line (a character and the line's end).
    static std::int64_t leastBytes(ItemSize size) { return 2 * size.lines; }
    std::int64_t fieldStart() const { return line_; }
    void beginField() {}

private:
    static std::string_view trim(std::string_view s) {
        const std::size_t first = s.find_first_not_of(" \t\r");
        if (first == std::string_view::npos) {
            return {};
        }
        return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
    }
    static std::string_view strip(std::string_view s, char bar) {
        if (!s.empty() && s.front() == bar) {
            s.remove_prefix(1);
        }
        if (!s.empty() && s.back() == bar) {
            s.remove_suffix(1);
        }
        return trim(s);
    }

    bool nextLine(std::string_view& line) {
        if (failed()) {
            return false;
        }
        if (pos_ >= text_.size()) {
            fail(errorAt(SimErrorKind::FileEndsEarly, line_ + 1));
            return false;
        }
        const std::size_t end = text_.find('\n', pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        line = trim(text_.substr(pos_, stop - pos_));
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        ++line_;
        return true;
    }

    std::string_view take() { return next_ < tokens_.size() ? tokens_[next_++] : std::string_view(); }

    void failWith(SimErrorKind kind, std::string_view token) {
        SimError e = errorAt(kind, line_);
        e.found = std::string(token);
        fail(std::move(e));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::int64_t line_ = 0;
    std::vector<std::string_view> tokens_;
    std::size_t next_ = 0;
};

class BinaryReader : public ReaderBase {
public:
    explicit BinaryReader(std::string_view bytes) : bytes_(bytes) {}

    static constexpr Place place = Place::Byte;
    std::int64_t mark() const { return static_cast<std::int64_t>(pos_); }
    std::int64_t placeOf(std::int64_t first, std::int64_t index, ItemSize size) const {
        return first + index * size.bytes;
    }
    SimError errorAt(SimErrorKind kind, std::int64_t at) const { return simError(kind, place, at); }

    // One length byte, or 255 and a 32-bit length, then the characters.
    std::string text() {
        beginField();
        const unsigned char* first = need(1);
        if (first == nullptr) {
            return {};
        }
        std::int64_t length = *first;
        if (length == 255) {
            length = raw();
            if (!failed() && (length < 0 || length > remaining())) {
                SimError e = errorAt(SimErrorKind::CountTooLarge, start_);
                e.value = length;
                fail(std::move(e));
            }
        }
        const unsigned char* chars = failed() ? nullptr : need(static_cast<std::size_t>(length));
        return chars == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(chars), length);
    }

    void record(std::size_t /*count*/, bool /*bars*/ = false) {}

    std::int32_t integer() {
        beginField();
        return raw();
    }

    float number() {
        beginField();
        const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(raw()));
        if (!failed() && !std::isfinite(value)) {
            SimError e = errorAt(SimErrorKind::NotFinite, start_);
            e.found = std::to_string(value);
            fail(std::move(e));
        }
        return failed() ? 0.0F : value;
    }

    std::int64_t remaining() const { return static_cast<std::int64_t>(bytes_.size() - pos_); }
    static std::int64_t leastBytes(ItemSize size) { return size.bytes; }
    std::int64_t fieldStart() const { return start_; }
    void beginField() { start_ = mark(); }

private:
    const unsigned char* need(std::size_t count) {
        if (failed()) {
            return nullptr;
        }
        if (count > bytes_.size() - pos_) {
            fail(errorAt(SimErrorKind::FileEndsEarly, static_cast<std::int64_t>(bytes_.size())));
            return nullptr;
        }
        const auto* at = reinterpret_cast<const unsigned char*>(bytes_.data() + pos_);
        pos_ += count;
        return at;
    }
    std::int32_t raw() {
        const unsigned char* b = need(4);
        if (b == nullptr) {
            return 0;
        }
        const std::uint32_t value = std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) |
                                    (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
        return static_cast<std::int32_t>(value);
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::int64_t start_ = 0;
};

// Meshes past this many faces, vertices, texture coordinates or blends are refused outright.
inline constexpr std::int64_t MaxMeshElements = 1'000'000;

// A count of items of at least `size` each, refused when negative, over `limit` or larger than
// what is left of the input could hold.
template <typename Reader> std::size_t readCount(Reader& r, ItemSize size, std::int64_t limit = -1) {
    r.record(1);
    r.beginField();
    const std::int64_t at = r.fieldStart();
    const std::int64_t count = r.integer();
    if (r.failed()) {
        return 0;
    }
    SimError e = r.errorAt(SimErrorKind::NegativeCount, at);
    e.value = count;
    if (count < 0) {
        r.fail(std::move(e));
    } else if (limit >= 0 && count > limit) {
        e.kind = SimErrorKind::MeshTooLarge;
        e.limit = limit;
        r.fail(std::move(e));
    } else if (count > (r.remaining() + 1) / Reader::leastBytes(size)) {
        e.kind = SimErrorKind::CountTooLarge;
        r.fail(std::move(e));
    }
    return r.failed() ? 0 : static_cast<std::size_t>(count);
}

template <typename Reader> std::int32_t readInteger(Reader& r) {
    r.record(1);
    return r.integer();
}

template <typename Reader> float readNumber(Reader& r) {
    r.record(1);
    return r.number();
}

} // namespace vestimo::sim::detail
