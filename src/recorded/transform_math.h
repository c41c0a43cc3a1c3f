// Arithmetic of the application's 16-number transforms.
//
// Layout: [0-8] a 3x3 matrix R whose rows are the x, y and z axes, [9-11]
// the translation t, [12] the scale s, [13-15] unused. A point maps as
// p' = s*(p*R) + t with p a row vector; a vector as v' = s*(v*R).
#pragma once

#include <array>
#include <optional>
#include <vector>

namespace kvswx::recorded {

using Vec3 = std::array<double, 3>;

struct Affine {
    std::array<double, 9> r{};  // row-major: row i is axis i
    Vec3 t{};
    double s = 0.0;

    // From recorded values; values missing from a short array count as 0.
    static Affine FromValues(const std::vector<double>& values);
    static Affine Identity();
    // The 16 numbers, [13-15] zero.
    std::vector<double> ToValues() const;

    Vec3 MapPoint(const Vec3& p) const;
    Vec3 MapVector(const Vec3& v) const;
    // The mapping that undoes this one; nullopt when R is singular or s is 0.
    std::optional<Affine> Inverse() const;
    // Maps through this first, then through `second`.
    Affine Then(const Affine& second) const;
};

}  // namespace kvswx::recorded
