#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

// Why a body file could not be read or posed: a kind and the facts the message is made of, so
// callers and tests can tell faults apart without comparing texts.
namespace vestimo::sim {

enum class SimErrorKind {
    FileEndsEarly,
    NotANumber,
    NotFinite,
    WrongValueCount,
    NegativeCount,
    CountTooLarge,
    MeshTooLarge,
    FaceOutOfRange,
    BindingOutOfRange,
    BlendOutOfRange,
    FewerVerticesThanBlends,
    UnknownParent,
    MissingBone,
    NoSkeleton,
    NoSuit,
};

// Text forms count lines from 1; binary forms count bytes from 0.
enum class Place { Nowhere, Line, Byte };

struct SimError {
    SimErrorKind kind = SimErrorKind::FileEndsEarly;
    Place place = Place::Nowhere;
    std::int64_t at = 0;
    // A piece of the file (a token, a bone name) and a second name where the kind needs one.
    std::string found;
    std::string other;
    // Numbers the message names: an item's index, the value it holds, the limit it broke.
    std::int64_t item = 0;
    std::int64_t value = 0;
    std::int64_t limit = 0;
};

inline SimError simError(SimErrorKind kind, Place place = Place::Nowhere, std::int64_t at = 0) {
    SimError error;
    error.kind = kind;
    error.place = place;
    error.at = at;
    return error;
}

// The message, with its line or byte in front.
QString describe(const SimError& error);

template <typename T> class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(SimError error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const SimError& error() const { return std::get<SimError>(state_); }

private:
    std::variant<T, SimError> state_;
};

} // namespace vestimo::sim
