// Synthetic recordings: drawings of a chosen shape (sheets, views per sheet,
// segments per view, a weighted mix of segment kinds), generated from a seed.
// The same shape and seed give the same bytes on every machine: the random
// numbers come from std::mt19937_64 (fixed by the standard) turned into
// doubles by hand, and numbers are written with std::to_chars.
//
// Every view is a manual-geometry view of one part whose sketch holds only
// segments that extraction turns into records, so a drawing of N segments
// gives N segment elements in the XML.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace kvswx::cli {

enum class SyntheticKind { Line, Arc, Circle, Ellipse, EllipticalArc, Spline, Parabola };
inline constexpr std::size_t kSyntheticKindCount = 7;

// Names used on the command line, in SyntheticKind order.
inline constexpr std::array<std::string_view, kSyntheticKindCount> kSyntheticKindNames = {
    "line", "arc", "circle", "ellipse", "elliptical-arc", "spline", "parabola"};

// Upper bounds, so that a typing slip cannot ask for a file of terabytes.
inline constexpr std::int64_t kMaxSyntheticViews = 1'000'000;
inline constexpr std::int64_t kMaxSyntheticSegments = 100'000'000;

struct SyntheticShape {
    std::int64_t sheets = 1;
    std::int64_t viewsPerSheet = 1;  // not counting each sheet's own sheet view
    std::int64_t segmentsPerView = 100;
    // Relative weight of each kind, in SyntheticKind order; at least one > 0.
    std::array<std::uint32_t, kSyntheticKindCount> mix{1, 1, 1, 1, 1, 1, 1};
    std::uint64_t seed = 1;
};

// Reads "line=3,arc=1,spline=0": listed kinds get their weight, the others
// 0. Returns an error message, empty on success (`mix` is then replaced).
std::string ParseSyntheticMix(std::string_view text,
                              std::array<std::uint32_t, kSyntheticKindCount>& mix);

// Empty when the shape can be generated, else what is wrong with it.
std::string CheckSyntheticShape(const SyntheticShape& shape);

// Writes the recording (format kvswx-recording/1). The shape must pass
// CheckSyntheticShape.
void WriteSyntheticRecording(std::ostream& out, const SyntheticShape& shape);
std::string SyntheticRecording(const SyntheticShape& shape);

}  // namespace kvswx::cli
