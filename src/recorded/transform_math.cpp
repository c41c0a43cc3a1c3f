#include "recorded/transform_math.h"

namespace kvswx::recorded {

Affine Affine::FromValues(const std::vector<double>& values) {
    auto at = [&](std::size_t i) { return i < values.size() ? values[i] : 0.0; };
    Affine a;
    for (std::size_t i = 0; i < 9; ++i) a.r[i] = at(i);
    for (std::size_t i = 0; i < 3; ++i) a.t[i] = at(9 + i);
    a.s = at(12);
    return a;
}

Affine Affine::Identity() {
    Affine a;
    a.r = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    a.s = 1.0;
    return a;
}

std::vector<double> Affine::ToValues() const {
    std::vector<double> v(16, 0.0);
    for (std::size_t i = 0; i < 9; ++i) v[i] = r[i];
    for (std::size_t i = 0; i < 3; ++i) v[9 + i] = t[i];
    v[12] = s;
    return v;
}

Vec3 Affine::MapVector(const Vec3& v) const {
    Vec3 out{};
    for (std::size_t j = 0; j < 3; ++j) {
        out[j] = s * (v[0] * r[j] + v[1] * r[3 + j] + v[2] * r[6 + j]);
    }
    return out;
}

Vec3 Affine::MapPoint(const Vec3& p) const {
    Vec3 out = MapVector(p);
    for (std::size_t j = 0; j < 3; ++j) out[j] += t[j];
    return out;
}

std::optional<Affine> Affine::Inverse() const {
    // Inverse of R by cofactors; then s' = 1/s and t' = -(t*R^-1)/s, so that
    // s'*((s*(p*R) + t)*R^-1) + t' = p.
    const auto& m = r;
    const double c00 = m[4] * m[8] - m[5] * m[7];
    const double c01 = m[5] * m[6] - m[3] * m[8];
    const double c02 = m[3] * m[7] - m[4] * m[6];
    const double det = m[0] * c00 + m[1] * c01 + m[2] * c02;
    if (det == 0.0 || s == 0.0) return std::nullopt;
    Affine inv;
    inv.r = {c00 / det, (m[2] * m[7] - m[1] * m[8]) / det, (m[1] * m[5] - m[2] * m[4]) / det,
             c01 / det, (m[0] * m[8] - m[2] * m[6]) / det, (m[2] * m[3] - m[0] * m[5]) / det,
             c02 / det, (m[1] * m[6] - m[0] * m[7]) / det, (m[0] * m[4] - m[1] * m[3]) / det};
    inv.s = 1.0 / s;
    inv.t = {0, 0, 0};
    const Vec3 rotated = Affine{inv.r, {0, 0, 0}, 1.0}.MapVector(t);
    for (std::size_t j = 0; j < 3; ++j) inv.t[j] = -rotated[j] / s;
    return inv;
}

Affine Affine::Then(const Affine& second) const {
    // p -> s2*((s1*(p*R1) + t1)*R2) + t2 = s1*s2*(p*(R1*R2)) + s2*(t1*R2) + t2
    Affine out;
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (std::size_t k = 0; k < 3; ++k) sum += r[3 * i + k] * second.r[3 * k + j];
            out.r[3 * i + j] = sum;
        }
    }
    out.s = s * second.s;
    const Vec3 moved = second.MapPoint(t);
    out.t = moved;
    return out;
}

}  // namespace kvswx::recorded
