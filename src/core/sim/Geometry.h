#pragma once

#include <cmath>

// The few value types posing needs: points, turns and a turn followed by a move. Single precision,
// as the game stores them.
namespace vestimo::sim {

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;

    friend Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vec3 operator*(float s, Vec3 v) { return {s * v.x, s * v.y, s * v.z}; }
    friend bool operator==(Vec3 a, Vec3 b) = default;
};

inline float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(Vec3 v) {
    return std::sqrt(dot(v, v));
}
// The zero vector stays zero rather than becoming NaN.
inline Vec3 normalized(Vec3 v) {
    const float l = length(v);
    return l > 0 ? (1.0F / l) * v : v;
}

// A unit quaternion (x, y, z, w), the order the files write it in.
struct Quat {
    float x = 0;
    float y = 0;
    float z = 0;
    float w = 1;

    friend bool operator==(Quat a, Quat b) = default;
};

inline Quat conjugate(Quat q) {
    return {-q.x, -q.y, -q.z, q.w};
}
// a * b turns by b first, then by a.
inline Quat operator*(Quat a, Quat b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}
// Files round their quaternions to a few digits: scaling back to length one keeps long bone
// chains from shrinking or growing.
inline Quat normalized(Quat q) {
    const float l = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    return l > 0 ? Quat{q.x / l, q.y / l, q.z / l, q.w / l} : Quat{};
}
inline Vec3 rotate(Quat q, Vec3 v) {
    const Vec3 u{q.x, q.y, q.z};
    const Vec3 t = 2.0F * cross(u, v);
    return v + q.w * t + cross(u, t);
}

// Turn, then move: where a bone's own frame lies in its parent's (or in the world).
struct RigidTransform {
    Vec3 translation;
    Quat rotation;

    Vec3 apply(Vec3 point) const { return translation + rotate(rotation, point); }
    Vec3 turn(Vec3 direction) const { return rotate(rotation, direction); }
    // The frame `local` given in this one, expressed where this one is expressed.
    RigidTransform compose(const RigidTransform& local) const {
        return {apply(local.translation), normalized(rotation * local.rotation)};
    }
};

} // namespace vestimo::sim
