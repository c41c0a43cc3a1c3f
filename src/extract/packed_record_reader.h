// Reading the packed arrays in which a view returns the geometry of all its
// section lines or detail circles at once: one array of doubles, records
// one after another, each starting with (or holding at a fixed offset) a
// count that says how long it is.
//
// The arrays come from outside and may be shorter than their counts say, or
// hold counts that are negative, fractional or not a number. Nothing here
// reads past the end: every read is preceded by a Holds check, and a count
// that cannot describe values inside the array is no count at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "model/encodings.h"

namespace kvswx {

class PackedRecordReader {
public:
    explicit PackedRecordReader(const std::vector<double>& values) : values_(values) {}

    std::size_t Size() const { return values_.size(); }

    // The values [pos, pos + count) all exist.
    bool Holds(std::size_t pos, std::size_t count) const {
        return pos <= values_.size() && count <= values_.size() - pos;
    }

    // Callers check Holds first.
    double At(std::size_t pos) const { return values_[pos]; }
    Point3 PointAt(std::size_t pos) const {
        return {values_[pos], values_[pos + 1], values_[pos + 2]};
    }
    std::int32_t Int32At(std::size_t pos) const { return TruncateToInt32(values_[pos]); }

    // The count stored at `pos`, truncated toward zero; none when the value
    // is missing, not a number, negative or larger than the array (no record
    // inside the array could then hold that many groups).
    std::optional<std::size_t> CountAt(std::size_t pos) const {
        if (!Holds(pos, 1)) return std::nullopt;
        const double v = values_[pos];
        if (!(v >= 0.0) || v > static_cast<double>(values_.size())) return std::nullopt;
        return static_cast<std::size_t>(v);
    }

    // Start of the k-th record (from 0) of records laid one after another
    // from `first`, where `sizeAt(start)` gives the length of the record at
    // `start` (none when it has no valid length). None when k is negative or
    // a record before or at k does not fit whole. `sizeAt` must never give
    // 0: every record then advances the walk, so it ends within
    // Size() steps whatever k is.
    template <class SizeAt>
    std::optional<std::size_t> RecordStart(std::size_t first, std::int32_t k, SizeAt sizeAt) const {
        if (k < 0) return std::nullopt;
        std::size_t start = first;
        for (std::int32_t i = 0;; ++i) {
            const std::optional<std::size_t> size = sizeAt(start);
            if (!size || *size == 0 || !Holds(start, *size)) return std::nullopt;
            if (i == k) return start;
            start += *size;
        }
    }

    // A double truncated toward zero to a signed 32-bit integer, as the
    // processor's conversion does: a value out of range, and not-a-number,
    // gives the lowest value.
    static std::int32_t TruncateToInt32(double v) {
        if (!(v > -2147483649.0 && v < 2147483648.0))
            return std::numeric_limits<std::int32_t>::min();
        return static_cast<std::int32_t>(v);
    }

private:
    const std::vector<double>& values_;
};

}  // namespace kvswx
