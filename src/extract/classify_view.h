// The pieces of view classification that tests reach directly: the lookup
// of a section line or detail circle in its owner's parent, and the test for
// an isometric section view. ClassifyView itself is declared in
// extract_view.h.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "source/source.h"

namespace kvswx {

// A 3x3 matrix, row by row: the first 9 numbers of a source transform.
using Matrix3 = std::array<double, 9>;

// The rotation part of a transform; zeros for none, missing values 0.
Matrix3 RotationOf(const Ref<SourceTransform>& transform);

// Element in row 3, column 3 of adj(P) * V, where adj is the adjugate (the
// transposed cofactor matrix, not divided by the determinant).
double AdjugateProductCorner(const Matrix3& p, const Matrix3& v);

// A section view whose corner element exceeds this magnitude is isometric.
inline constexpr double kIsometricSectionBound = 1e-13;

// Position of the section line (detail circle) among the section lines
// (detail circles) of the parent of the view that owns it, compared by exact
// name; -1 when it is not there or the owner has no parent.
std::int32_t FindSectionLineInParent(SourceSectionLine& line);
std::int32_t FindDetailCircleInParent(SourceDetailCircle& circle);

// Warnings a detail view raises, in the order they are collected and logged.
enum class DetailWarning : std::int32_t { ManualGeometry = 0, CenterLines = 1, Notes = 2 };

// The detail warnings of `view`: manual geometry when its sketch holds a
// segment, center lines when its center-line sketch does, notes when it has
// two notes or more (one is the view's own label).
std::vector<DetailWarning> CollectDetailWarnings(SourceView& view);

}  // namespace kvswx
