#include "synthetic_recording.h"

#include <charconv>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

namespace kvswx::cli {

namespace {

constexpr double kPi = 3.141592653589793;

// Builds the text in a buffer handed to the stream in large pieces.
class JsonOut {
public:
    explicit JsonOut(std::ostream& out) : out_(out) { buf_.reserve(kFlushAt + 4096); }
    ~JsonOut() { Flush(); }
    JsonOut(const JsonOut&) = delete;
    JsonOut& operator=(const JsonOut&) = delete;

    JsonOut& operator<<(std::string_view s) {
        buf_ += s;
        if (buf_.size() >= kFlushAt) Flush();
        return *this;
    }
    // Appends by length: the iterator-pair overload trips a false -Wrestrict
    // in the mingw-w64 build.
    void AppendChars(const char* first, const char* last) {
        buf_.append(first, static_cast<std::size_t>(last - first));
    }
    JsonOut& operator<<(double v) {
        char tmp[32];
        AppendChars(tmp, std::to_chars(tmp, tmp + sizeof tmp, v).ptr);
        return *this;
    }
    JsonOut& operator<<(std::int64_t v) {
        char tmp[24];
        AppendChars(tmp, std::to_chars(tmp, tmp + sizeof tmp, v).ptr);
        return *this;
    }
    JsonOut& operator<<(std::uint64_t v) {
        char tmp[24];
        AppendChars(tmp, std::to_chars(tmp, tmp + sizeof tmp, v).ptr);
        return *this;
    }
    // "[a, b, c]"
    template <class It>
    void Array(It first, It last) {
        buf_ += '[';
        for (It it = first; it != last; ++it) {
            if (it != first) buf_ += ", ";
            *this << static_cast<double>(*it);
        }
        buf_ += ']';
    }
    void Array(std::initializer_list<double> values) { Array(values.begin(), values.end()); }
    void Flush() {
        out_.write(buf_.data(), static_cast<std::streamsize>(buf_.size()));
        buf_.clear();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    std::ostream& out_;
    std::string buf_;
};

struct Xyz {
    double x = 0, y = 0, z = 0;
};

class Generator {
public:
    Generator(std::ostream& out, const SyntheticShape& shape)
        : out_(out), shape_(shape), rng_(shape.seed) {
        std::uint64_t sum = 0;
        for (std::uint32_t w : shape.mix) {
            sum += w;
            cumulative_.push_back(sum);
        }
    }

    void Run() {
        out_ << "{\n  \"format\": \"kvswx-recording/1\",\n"
             << "  \"comment\": \"Synthetic drawing: " << shape_.sheets << " sheets, "
             << shape_.viewsPerSheet << " views per sheet, " << shape_.segmentsPerView
             << " segments per view, seed " << shape_.seed << ".\",\n"
             << "  \"application\": {\n    \"revision\": \"30.1.0\",\n"
             << "    \"modelDocuments\": [{\"id\": \"part\", \"path\": "
                "\"C:\\\\Models\\\\Synthetic.SLDPRT\"}]\n"
             << "  },\n  \"document\": {\n    \"path\": \"C:\\\\Drawings\\\\Synthetic.SLDDRW\",\n"
             << "    \"layers\": [\"0\"],\n    \"drawing\": {\n      \"sheets\": [";
        std::int64_t viewNumber = 0;
        for (std::int64_t s = 1; s <= shape_.sheets; ++s) {
            out_ << (s == 1 ? "\n" : ",\n") << "        {\"name\": \"Sheet" << s
                 << "\", \"views\": [\n"
                 << "          {\"name\": \"Sheet" << s << "\", \"type\": 1, \"visible\": 1}";
            for (std::int64_t v = 0; v < shape_.viewsPerSheet; ++v) View(++viewNumber, v);
            out_ << "\n        ]}";
        }
        out_ << "\n      ]\n    }\n  }\n}\n";
    }

private:
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(rng_() >> 11) * 0x1.0p-53; }
    double Between(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    Xyz Point() { return {Between(0, 0.4), Between(0, 0.3), 0}; }

    SyntheticKind NextKind() {
        const std::uint64_t pick = rng_() % cumulative_.back();
        std::size_t k = 0;
        while (pick >= cumulative_[k]) ++k;
        return static_cast<SyntheticKind>(k);
    }

    void View(std::int64_t number, std::int64_t indexOnSheet) {
        const double px = 0.05 + 0.01 * static_cast<double>(indexOnSheet % 40);
        const double py = 0.05 + 0.01 * static_cast<double>(indexOnSheet / 40 % 40);
        out_ << ",\n          {\"name\": \"Drawing View" << number
             << "\", \"type\": 7, \"visible\": 1, \"referencedModel\": \"part\", "
                "\"referencedDocumentPath\": \"C:\\\\Models\\\\Synthetic.SLDPRT\", "
                "\"referencedConfiguration\": \"Default\",\n           \"position\": ";
        out_.Array({px, py});
        out_ << ", \"scale\": [1, 2], \"transform\": ";
        out_.Array({1, 0, 0, 0, 1, 0, 0, 0, 1, px, py, 0, 0.5, 0, 0, 0});
        out_ << ",\n           \"sketch\": {\"placement\": [1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, "
                "0, 0, 0], "
                "\"segments\": [";
        arcData_.clear();
        for (std::int64_t i = 0; i < shape_.segmentsPerView; ++i) {
            out_ << (i == 0 ? "\n            " : ",\n            ");
            Segment();
        }
        out_ << "],\n            \"arcData\": ";
        out_.Array(arcData_.begin(), arcData_.end());
        out_ << "}}";
    }

    void Segment() {
        out_ << "{";
        // One segment in twenty is construction geometry: manual geometry
        // keeps it, flagged.
        if (rng_() % 20 == 0) out_ << "\"construction\": 1, ";
        switch (NextKind()) {
            case SyntheticKind::Line:
                Line();
                break;
            case SyntheticKind::Arc:
                Arc(false);
                break;
            case SyntheticKind::Circle:
                Arc(true);
                break;
            case SyntheticKind::Ellipse:
                Ellipse(false);
                break;
            case SyntheticKind::EllipticalArc:
                Ellipse(true);
                break;
            case SyntheticKind::Spline:
                Spline();
                break;
            case SyntheticKind::Parabola:
                Parabola();
                break;
        }
        out_ << "}";
    }

    void Xyz3(std::string_view key, const Xyz& p) {
        out_ << "\"" << key << "\": ";
        out_.Array({p.x, p.y, p.z});
    }

    void Line() {
        const Xyz p = Point();
        const double a = Between(0, 2 * kPi);
        const double length = Between(0.001, 0.1);
        const Xyz d{std::cos(a), std::sin(a), 0};
        out_ << "\"kind\": 0, \"length\": " << length << ", \"curve\": {\"lineData\": ";
        out_.Array({p.x, p.y, p.z, d.x, d.y, d.z});
        out_ << "}, ";
        Xyz3("start", p);
        out_ << ", ";
        Xyz3("end", {p.x + length * d.x, p.y + length * d.y, 0});
    }

    // Arcs and circles are both kind 1; with arc mode off (manual geometry)
    // extraction reads their ends from the sketch's arc data, a circle being
    // an arc whose ends coincide.
    void Arc(bool full) {
        const Xyz c = Point();
        const double r = Between(0.002, 0.05);
        const double a1 = Between(0, 2 * kPi);
        const double a2 = full ? a1 : a1 + Between(0.3, 5.5);
        const double direction = rng_() % 2 == 0 ? 1 : -1;
        const Xyz s{c.x + r * std::cos(a1), c.y + r * std::sin(a1), 0};
        const Xyz e = full ? s : Xyz{c.x + r * std::cos(a2), c.y + r * std::sin(a2), 0};
        out_ << "\"kind\": 1, ";
        Xyz3("start", s);
        out_ << ", ";
        Xyz3("end", e);
        out_ << ", ";
        Xyz3("center", c);
        out_ << ", \"direction\": " << static_cast<std::int64_t>(direction);
        if (full) out_ << ", \"fullCircle\": 1";
        out_ << ", \"curve\": {\"circleData\": ";
        out_.Array({c.x, c.y, c.z, 0, 0, 1, r});
        out_ << "}";
        const double block[16] = {0,   1,   0,   0.00018, 0,   0,   s.x, s.y,
                                  s.z, e.x, e.y, e.z,     c.x, c.y, c.z, direction};
        arcData_.insert(arcData_.end(), std::begin(block), std::end(block));
    }

    void Ellipse(bool partial) {
        const Xyz c = Point();
        const double major = Between(0.005, 0.05);
        const double minor = major * Between(0.2, 0.9);
        const double a1 = partial ? Between(0, 2 * kPi) : 0;
        const double a2 = partial ? a1 + Between(0.3, 5.5) : 0;
        const Xyz s{c.x + major * std::cos(a1), c.y + minor * std::sin(a1), 0};
        const Xyz e = partial ? Xyz{c.x + major * std::cos(a2), c.y + minor * std::sin(a2), 0} : s;
        out_ << "\"kind\": 2, ";
        Xyz3("center", c);
        out_ << ", ";
        Xyz3("major", {c.x + major, c.y, 0});
        out_ << ", ";
        Xyz3("minor", {c.x, c.y + minor, 0});
        out_ << ", ";
        Xyz3("start", s);
        out_ << ", ";
        Xyz3("end", e);
        out_ << ", \"direction\": " << static_cast<std::int64_t>(rng_() % 2 == 0 ? 1 : -1)
             << ", \"curve\": {\"ellipseData\": ";
        out_.Array({c.x, c.y, c.z, major, 1, 0, 0, minor, 0, 1, 0});
        out_ << "}";
    }

    void Spline() {
        const bool rational = rng_() % 2 == 0;
        const Xyz p = Point();
        std::vector<double> points;
        for (int i = 0; i < 4; ++i) {
            points.push_back(p.x + 0.01 * i);
            points.push_back(p.y + Between(-0.01, 0.01));
            points.push_back(0);
            if (rational) points.push_back(i == 0 || i == 3 ? 1 : Between(0.5, 1));
        }
        out_ << "\"kind\": 3, \"curve\": {\"parameters\": {\"start\": 0, \"end\": 1, \"closed\": "
                "0}, "
                "\"bspline\": {\"order\": 4, \"dimension\": "
             << static_cast<std::int64_t>(rational ? 4 : 3) << ", \"controlPoints\": ";
        out_.Array(points.begin(), points.end());
        out_ << ", \"knots\": [0, 0, 0, 0, 1, 1, 1, 1]}}";
    }

    void Parabola() {
        const Xyz apex = Point();
        const double f = Between(0.002, 0.02);  // focal distance
        const double w = Between(0.005, 0.03);  // half width
        const double h = w * w / (4 * f);
        out_ << "\"kind\": 5, ";
        Xyz3("start", {apex.x - w, apex.y + h, 0});
        out_ << ", ";
        Xyz3("end", {apex.x + w, apex.y + h, 0});
        out_ << ", ";
        Xyz3("focus", {apex.x, apex.y + f, 0});
        out_ << ", ";
        Xyz3("apex", apex);
        out_ << ", \"curve\": {\"parameters\": {\"start\": -1, \"end\": 1}, "
                "\"bspline\": {\"order\": 3, \"dimension\": 3, \"controlPoints\": ";
        out_.Array({apex.x - w, apex.y + h, 0, apex.x, apex.y - h, 0, apex.x + w, apex.y + h, 0});
        out_ << ", \"knots\": [0, 0, 0, 1, 1, 1]}}";
    }

    JsonOut out_;
    const SyntheticShape& shape_;
    std::mt19937_64 rng_;
    std::vector<std::uint64_t> cumulative_;
    std::vector<double> arcData_;
};

}  // namespace

std::string ParseSyntheticMix(std::string_view text,
                              std::array<std::uint32_t, kSyntheticKindCount>& mix) {
    std::array<std::uint32_t, kSyntheticKindCount> out{};
    std::array<bool, kSyntheticKindCount> seen{};
    std::uint64_t total = 0;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t eq = item.find('=');
        const std::string_view name = item.substr(0, eq);
        const std::string quoted = "\"" + std::string(item.substr(0, 40)) + "\"";
        std::size_t k = 0;
        while (k < kSyntheticKindCount && kSyntheticKindNames[k] != name) ++k;
        if (k == kSyntheticKindCount) return "unknown segment kind in " + quoted;
        if (seen[k]) return "segment kind given twice: " + quoted;
        seen[k] = true;
        if (eq == std::string_view::npos) return "expected KIND=WEIGHT, found " + quoted;
        const std::string_view digits = item.substr(eq + 1);
        std::uint32_t weight = 0;
        const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), weight);
        if (digits.empty() || r.ec != std::errc() || r.ptr != digits.data() + digits.size() ||
            weight > 1'000'000) {
            return "weight is not a whole number from 0 to 1000000 in " + quoted;
        }
        out[k] = weight;
        total += weight;
    }
    if (total == 0) return "the mix gives no kind a weight above 0";
    mix = out;
    return {};
}

std::string CheckSyntheticShape(const SyntheticShape& shape) {
    if (shape.sheets < 1 || shape.viewsPerSheet < 0 || shape.segmentsPerView < 0) {
        return "sheets must be at least 1, views and segments at least 0";
    }
    if (shape.sheets > kMaxSyntheticViews || shape.viewsPerSheet > kMaxSyntheticViews ||
        shape.sheets * shape.viewsPerSheet > kMaxSyntheticViews) {
        return "more than " + std::to_string(kMaxSyntheticViews) + " sheets or views";
    }
    if (shape.segmentsPerView > kMaxSyntheticSegments ||
        shape.sheets * shape.viewsPerSheet * shape.segmentsPerView > kMaxSyntheticSegments) {
        return "more than " + std::to_string(kMaxSyntheticSegments) + " segments";
    }
    std::uint64_t total = 0;
    for (std::uint32_t w : shape.mix) total += w;
    if (total == 0) return "the mix gives no kind a weight above 0";
    return {};
}

void WriteSyntheticRecording(std::ostream& out, const SyntheticShape& shape) {
    Generator(out, shape).Run();
}

std::string SyntheticRecording(const SyntheticShape& shape) {
    std::ostringstream os;
    WriteSyntheticRecording(os, shape);
    return os.str();
}

}  // namespace kvswx::cli
