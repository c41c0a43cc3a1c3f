// Reading a recording: JSON text -> the store of recorded objects.
//
// The reader checks everything before the recording is used: JSON syntax
// (with line and column), duplicate and unknown keys, value types and
// ranges, references by id, and cycles that would make a walk endless.
// Any problem throws RecordingError; the half-built store is discarded.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <limits>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "platform/os.h"
#include "platform/text.h"
#include "recorded/linked_files.h"
#include "recorded/recording.h"
#include "recorded/store.h"

namespace kvswx::recorded {

using json = nlohmann::json;

namespace {

constexpr const char* kFormatId = "kvswx-recording/1";

// How deep objects and arrays may nest. Every walk of recording data recurses
// at most this deep, and a JSON location never has more components.
constexpr std::size_t kMaxNesting = 1024;
// Longest piece of the input an error message quotes.
constexpr std::size_t kMaxQuote = 64;

// The first `limit` bytes of `text`, cut at a character boundary, with
// "..." and the full size when something was left out.
std::string Shorten(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " bytes)";
}

// A piece of the input as an error message quotes it: in double quotes, at
// most kMaxQuote bytes of it.
std::string Quote(std::string_view text) { return "\"" + Shorten(text, kMaxQuote) + "\""; }

std::string PointerEscape(std::string_view key) {
    std::string out;
    for (char c : Shorten(key, kMaxQuote)) {
        if (c == '~') {
            out += "~0";
        } else if (c == '/') {
            out += "~1";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Child(const std::string& path, std::string_view key) {
    return path + "/" + PointerEscape(key);
}
std::string Child(const std::string& path, std::size_t index) {
    return path + "/" + std::to_string(index);
}

// The location of a value, spelled out only when a problem is reported
// there: the root of the recording, or a key or index under another
// location. Reading a value that is fine builds no string. A key is held,
// not copied: a literal, or a key of the JSON being read.
class At {
public:
    At() = default;  // the root
    At(const At& parent, std::string_view key) : parent_(&parent), key_(key), isKey_(true) {}
    At(const At& parent, std::size_t index) : parent_(&parent), index_(index) {}
    // A parent that would not outlive its child.
    At(const At&& parent, std::string_view key) = delete;
    At(const At&& parent, std::size_t index) = delete;
    At(const At&) = delete;
    At& operator=(const At&) = delete;

    std::string Str() const {
        if (parent_ == nullptr) return std::string();
        return isKey_ ? Child(parent_->Str(), key_) : Child(parent_->Str(), index_);
    }

    // A location kept after its value is read (a reference resolved once
    // everything is read): its keys and indices from the root on.
    struct Step {
        std::string_view key;  // a literal
        std::size_t index;
        bool isKey;
    };
    void AppendSteps(std::vector<Step>& steps) const {
        if (parent_ == nullptr) return;
        parent_->AppendSteps(steps);
        steps.push_back({key_, index_, isKey_});
    }
    static std::string Spell(const Step* first, const Step* last) {
        std::string path;
        for (const Step* step = first; step != last; ++step)
            path = step->isKey ? Child(path, step->key) : Child(path, step->index);
        return path;
    }

private:
    const At* parent_ = nullptr;
    std::string_view key_;
    std::size_t index_ = 0;
    bool isKey_ = false;
};

const char* TypeName(const json& j) {
    switch (j.type()) {
        case json::value_t::null:
            return "null";
        case json::value_t::object:
            return "an object";
        case json::value_t::array:
            return "an array";
        case json::value_t::string:
            return "a string";
        case json::value_t::boolean:
            return "a boolean";
        case json::value_t::number_integer:
        case json::value_t::number_unsigned:
            return "an integer";
        case json::value_t::number_float:
            return "a number with a fraction";
        default:
            return "an unsupported value";
    }
}

// What the JSON library says, without its "[json.exception.kind.n] " tag,
// shortened (its messages can quote a whole token of the input).
std::string LibraryMessage(const json::exception& e) {
    std::string_view text = e.what();
    if (text.starts_with("[json.exception.")) {
        const auto close = text.find("] ");
        if (close != std::string_view::npos) text.remove_prefix(close + 2);
    }
    return Shorten(text, 4 * kMaxQuote);
}

// Line and column (1-based) of a byte offset, given the text from byte
// `first` on and the lines before it: `lines` newlines, the last of which
// ends before `lineStart`.
std::pair<std::size_t, std::size_t> LineColumn(std::string_view text, std::size_t first,
                                               std::size_t lines, std::size_t lineStart,
                                               std::size_t offset) {
    offset = std::clamp(offset, first, first + text.size());
    std::size_t line = lines + 1;
    for (std::size_t i = first; i < offset; ++i) {
        if (text[i - first] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return {line, offset - lineStart + 1};
}

// A recording's text in memory.
class MemoryText {
public:
    explicit MemoryText(std::string_view text) : text_(text) {}
    const char* begin() const { return text_.data(); }
    const char* end() const { return text_.data() + text_.size(); }
    std::pair<std::size_t, std::size_t> LineColumn(std::size_t offset) const {
        return recorded::LineColumn(text_, 0, 0, 0, offset);
    }

private:
    std::string_view text_;
};

// A recording's text read from its file a block at a time, as the parser
// asks for it, so the whole text is never held. It counts the lines of the
// blocks it drops, and keeps the end of the last one, so the place of a
// syntax error (at most a character behind the parser) still gives a line
// and column. A file still growing is read to its end.
class FileText {
public:
    explicit FileText(const std::filesystem::path& path)
        : path_(path), in_(path, std::ios::binary) {
        if (!in_) throw RecordingError(PathToUtf8(path_), "", "cannot open the file");
        buffer_.resize(kKeep + kBlock);
        cur_ = end_ = buffer_.data();
    }

    // The characters, for the JSON parser: an input iterator whose end is
    // the end of the file.
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char*;
        using reference = const char&;

        explicit Iterator(FileText* text = nullptr) : text_(text) {}
        reference operator*() const { return *text_->cur_; }
        Iterator& operator++() {
            ++text_->cur_;
            return *this;
        }
        // Only comparisons with the end are made.
        bool operator==(const Iterator& other) const { return AtEnd() == other.AtEnd(); }

    private:
        bool AtEnd() const {
            return text_ == nullptr || (text_->cur_ == text_->end_ && !text_->Refill());
        }
        FileText* text_;
    };
    Iterator begin() { return Iterator(this); }
    Iterator end() { return Iterator(); }

    std::pair<std::size_t, std::size_t> LineColumn(std::size_t offset) const {
        return recorded::LineColumn(std::string_view(buffer_.data(), end_ - buffer_.data()), first_,
                                    lines_, lineStart_, offset);
    }

private:
    static constexpr std::size_t kKeep = 64;  // of a block, once the next is read
    static constexpr std::size_t kBlock = 256 * 1024;

    // Reads the next block; false at the end of the file.
    bool Refill() {
        const std::size_t held = static_cast<std::size_t>(end_ - buffer_.data());
        const std::size_t kept = std::min(held, kKeep);
        const std::size_t dropped = held - kept;
        const char* begin = buffer_.data();
        const char* end = begin + dropped;
        for (const char* c = begin;
             (c = static_cast<const char*>(std::memchr(c, '\n', static_cast<std::size_t>(end - c)))) !=
             nullptr;
             ++c) {
            ++lines_;
            lineStart_ = first_ + static_cast<std::size_t>(c - begin) + 1;
        }
        std::memmove(buffer_.data(), buffer_.data() + dropped, kept);
        first_ += dropped;
        in_.read(buffer_.data() + kept, static_cast<std::streamsize>(kBlock));
        const auto got = static_cast<std::size_t>(in_.gcount());
        if (in_.bad()) throw RecordingError(PathToUtf8(path_), "", "cannot read the file");
        cur_ = buffer_.data() + kept;
        end_ = cur_ + got;
        return got != 0;
    }

    std::filesystem::path path_;
    std::ifstream in_;
    std::vector<char> buffer_;  // the end of the last block, then the current one
    const char* cur_;
    const char* end_;
    std::size_t first_ = 0;      // offset in the file of buffer_[0]
    std::size_t lines_ = 0;      // newlines before it
    std::size_t lineStart_ = 0;  // offset just after the last of them
};

class Loader;

// Builds the JSON tree from the parser's events, checking as it goes what
// the JSON library would let pass: duplicate keys (which it would silently
// collapse) and nesting deeper than kMaxNesting. The place of the value being
// read is known from the open containers, and spelled out only to place an
// error the library raises without one. (The library's own tree builder with
// a callback is avoided: it scans the members of an object's parent at every
// object's end, which takes time growing with the square of a list's length.)
//
// Each view of a sheet (/document/drawing/sheets/N/views/M) is handed to the
// loader as soon as its object closes, and its JSON is dropped; so is each
// segment of a view's sketch or center line sketch (.../sketch/segments/K):
// the bulk of a recording is never held as a whole tree, nor a large view.
class TreeBuilder {
public:
    // `lineColumn` gives the line and column of an offset in the text.
    TreeBuilder(std::string source,
                std::function<std::pair<std::size_t, std::size_t>(std::size_t)> lineColumn,
                json& root, Loader& loader)
        : source_(std::move(source)),
          lineColumn_(std::move(lineColumn)),
          root_(root),
          loader_(loader) {}

    bool null() { return Put(nullptr); }
    bool boolean(bool v) { return Put(v); }
    bool number_integer(json::number_integer_t v) { return Put(v); }
    bool number_unsigned(json::number_unsigned_t v) { return Put(v); }
    bool number_float(json::number_float_t v, const json::string_t&) { return Put(v); }
    // Strings are copied, not moved: the parser's buffer keeps its room
    // for the next long string instead of growing again from nothing.
    bool string(json::string_t& v) { return Put(v); }
    // JSON text holds no binary values; in the tree they stand for what was
    // read during parsing.
    bool binary(json::binary_t&) {
        throw RecordingError(source_, ValuePath(), "binary values are not JSON");
    }
    bool start_object(std::size_t) { return Open(json::value_t::object); }
    bool start_array(std::size_t) { return Open(json::value_t::array); }
    bool end_object();
    bool end_array() {
        frames_.pop_back();
        return true;
    }
    bool key(json::string_t& key) {
        Frame& top = frames_.back();
        // One lookup both finds a key met again and makes the member's slot.
        auto [member, added] = top.value->get_ref<json::object_t&>().try_emplace(key);
        if (!added) throw RecordingError(source_, Path(), "duplicate key " + Quote(key));
        top.member = member;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const json::exception& e) {
        if (e.id >= 101 && e.id <= 199) {  // the library's syntax errors
            const auto [line, column] = lineColumn_(position == 0 ? 0 : position - 1);
            std::string detail = LibraryMessage(e);
            const auto columnAt = detail.find("column ");
            const auto colon =
                columnAt == std::string::npos ? std::string::npos : detail.find(": ", columnAt);
            if (colon != std::string::npos) detail = detail.substr(colon + 2);
            throw RecordingError(
                source_, "line " + std::to_string(line) + ", column " + std::to_string(column),
                "JSON syntax error: " + detail);
        }
        // A number too large for a double, for one: the library names no
        // place, the builder knows which value was being read.
        throw RecordingError(source_, ValuePath(), LibraryMessage(e));
    }

private:
    struct Frame {
        json* value;
        json::object_t::iterator member;  // in an object: the member being read
    };

    // The slot of the value that starts now.
    json* Slot() {
        if (frames_.empty()) return &root_;
        Frame& top = frames_.back();
        if (top.value->is_array()) {
            auto& array = top.value->get_ref<json::array_t&>();
            array.emplace_back();
            return &array.back();
        }
        return &top.member->second;
    }
    bool Put(json value) {
        *Slot() = std::move(value);
        return true;
    }
    bool Open(json::value_t type) {
        json* value = Slot();
        *value = type;
        // Most arrays of a recording are short (points, curve data): room
        // for them at once, instead of growing through 1, 2 and 4.
        if (type == json::value_t::array) value->get_ref<json::array_t&>().reserve(kShortArray);
        frames_.push_back({value, {}});
        if (frames_.size() > kMaxNesting) {
            throw RecordingError(source_, Path(),
                                 "objects and arrays nest deeper than " +
                                     std::to_string(kMaxNesting) + " levels");
        }
        return true;
    }
    // Whether the open containers from the root on are objects reading the
    // members `keys` names, or arrays where it says null.
    bool Within(std::initializer_list<const char*> keys) const {
        if (frames_.size() <= keys.size()) return false;
        std::size_t i = 0;
        for (const char* key : keys) {
            const Frame& frame = frames_[i++];
            if (frame.value->is_object() != (key != nullptr)) return false;
            if (key != nullptr && frame.member->first != key) return false;
        }
        return true;
    }
    // Whether the innermost open object is a view of a sheet.
    bool AtView() const {
        return frames_.size() == 7 &&
               Within({"document", "drawing", "sheets", nullptr, "views", nullptr});
    }
    // Whether it is a segment of a view's sketch or center line sketch.
    bool AtViewSegment() const {
        if (frames_.size() != 10 ||
            !Within({"document", "drawing", "sheets", nullptr, "views", nullptr}))
            return false;
        const Frame& view = frames_[6];
        const Frame& sketch = frames_[7];
        // A view that is not an object (an array, say) has no member.
        return view.value->is_object() &&
               (view.member->first == "sketch" || view.member->first == "centerLineSketch") &&
               sketch.value->is_object() && sketch.member->first == "segments" &&
               frames_[8].value->is_array();
    }
    // The place, in `frame`, of the value being read in it.
    static std::string Component(const Frame& frame, std::size_t index) {
        return frame.value->is_array() ? std::to_string(index) : PointerEscape(frame.member->first);
    }
    // The location of the innermost open container.
    std::string Path() const {
        std::string path;
        for (std::size_t i = 1; i < frames_.size(); ++i)
            path += "/" + Component(frames_[i - 1], frames_[i - 1].value->size() - 1);
        return path.empty() ? "/" : path;
    }
    // The location of the value being read (not yet stored).
    std::string ValuePath() const {
        if (frames_.empty()) return "/";
        const std::string path = Path();
        return (path == "/" ? std::string() : path) + "/" +
               Component(frames_.back(), frames_.back().value->size());
    }

    static constexpr std::size_t kShortArray = 8;

    std::string source_;
    std::function<std::pair<std::size_t, std::size_t>(std::size_t)> lineColumn_;
    json& root_;
    Loader& loader_;
    std::vector<Frame> frames_;
};

// The members of one JSON object. Each accessor marks its key as known;
// Done() rejects any key no accessor asked for.
class Fields {
public:
    // At a location that outlives the Fields.
    Fields(const Loader& loader, const json& object, const At& at);
    // Not at a location that would not outlive it.
    Fields(const Loader&, const json&, const At&&) = delete;
    Fields(const Fields&) = delete;
    Fields& operator=(const Fields&) = delete;
    // The value of `key`, or null when it is absent or JSON null. `key` is
    // kept until Done(): a literal.
    const json* Get(const char* key);
    // The location of the member `key`, spelled out only if needed.
    At AtKey(const char* key) const { return At(at_, key); }
    const At& Location() const { return at_; }
    void Done();

    // Typed accessors; absent values give the default.
    std::int32_t Int32(const char* key, std::int32_t fallback = 0);
    VBool Bool16(const char* key, VBool fallback = 0);
    double Double(const char* key);
    bool Flag(const char* key);
    SourceString String(const char* key);
    SourceDoubleArray Doubles(const char* key);

private:
    const Loader& loader_;
    const json& object_;
    const At& at_;
    // The keys asked for, named by literals: a record has at most a few
    // dozen, held in place; more spill over to `moreUsed_`.
    std::array<const char*, 48> used_;
    std::size_t usedCount_ = 0;
    std::vector<const char*> moreUsed_;
    // The KeyBits of every member: most keys asked are absent, and a key
    // whose bits are not all here is known absent without a search.
    std::uint64_t memberBits_ = 0;
    // The members of an object of at most kListed members, with their
    // KeyBits, searched in a row; `listedFound_` marks those found. When all
    // are found, no key is unknown.
    struct Listed {
        std::uint64_t bits;
        const std::string* key;
        const json* value;
    };
    static constexpr std::size_t kListed = 32;
    std::array<Listed, kListed> listed_;
    std::size_t listedCount_ = 0;  // 0 for a larger object
    std::uint32_t listedFound_ = 0;
    // The members found in a larger object, through its map.
    std::array<const json*, 48> found_;
    std::size_t foundCount_ = 0;
    bool foundAll_ = true;  // false once more were found than fit in `found_`
};

class Loader {
public:
    Loader(Store& store, std::string source, std::filesystem::path baseDirectory = {})
        : store_(store), source_(std::move(source)), baseDirectory_(std::move(baseDirectory)) {}

    [[noreturn]] void Fail(const std::string& path, const std::string& problem) const {
        throw RecordingError(source_, path.empty() ? "/" : path, problem);
    }
    [[noreturn]] void Fail(const At& at, const std::string& problem) const { Fail(at.Str(), problem); }

    void LoadRoot(const json& root);

    // Reads a view while the file is still being parsed; gives what stands
    // for it in the tree (a value no JSON text can hold). A problem found in
    // it is kept and reported when the walk of the tree reaches the view, so
    // problems are reported in the same order as when the whole tree is read
    // after parsing: the view's reading does not depend on anything outside
    // it, and its references are resolved in that order.
    // The view is view `view` of sheet `sheet`.
    json StreamView(const json& j, std::size_t sheet, std::size_t view);
    // The same for segment `segment` of the sketch `sketchKey` (a literal)
    // of that view, read when the view is.
    json StreamSegment(const json& j, std::size_t sheet, std::size_t view, const char* sketchKey,
                       std::size_t segment);

    // Value readers ------------------------------------------------------
    std::int64_t Integer(const json& j, const At& path, std::int64_t lo,
                         std::int64_t hi) const {
        if (!j.is_number_integer())
            Fail(path, std::string("expected an integer, found ") + TypeName(j));
        if (j.is_number_unsigned()) {
            const auto u = j.get<std::uint64_t>();
            if (u > static_cast<std::uint64_t>(hi))
                Fail(path, "integer " + std::to_string(u) + " is out of range");
            return static_cast<std::int64_t>(u);
        }
        const auto v = j.get<std::int64_t>();
        if (v < lo || v > hi) Fail(path, "integer " + std::to_string(v) + " is out of range");
        return v;
    }
    std::int32_t Int32(const json& j, const At& path) const {
        return static_cast<std::int32_t>(Integer(j, path, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
    }
    VBool Bool16(const json& j, const At& path) const {
        if (j.is_boolean()) return j.get<bool>() ? VBool{1} : VBool{0};
        if (!j.is_number_integer()) {
            Fail(path, std::string("expected a 16-bit boolean (integer or true/false), found ") +
                           TypeName(j));
        }
        return static_cast<VBool>(
            Integer(j, path, std::numeric_limits<VBool>::min(), std::numeric_limits<VBool>::max()));
    }
    double Double(const json& j, const At& path) const {
        if (j.is_number()) return j.get<double>();
        if (j.is_string()) {
            const auto& s = j.get_ref<const std::string&>();
            if (s == "nan") return std::numeric_limits<double>::quiet_NaN();
            if (s == "-nan") return -std::numeric_limits<double>::quiet_NaN();
            if (s == "inf") return std::numeric_limits<double>::infinity();
            if (s == "-inf") return -std::numeric_limits<double>::infinity();
        }
        Fail(path, std::string("expected a number (or \"nan\", \"inf\", \"-inf\"), found ") +
                       TypeName(j));
    }
    bool Flag(const json& j, const At& path) const {
        if (!j.is_boolean())
            Fail(path, std::string("expected true or false, found ") + TypeName(j));
        return j.get<bool>();
    }
    std::wstring Text(const json& j, const At& path) const {
        if (!j.is_string()) Fail(path, std::string("expected a string, found ") + TypeName(j));
        return FromUtf8(j.get_ref<const std::string&>());
    }
    Vec3 Point3(const json& j, const At& path) const {
        if (!j.is_array() || j.size() != 3) Fail(path, "expected an array of 3 numbers [x, y, z]");
        return {Double(j[0], At(path, std::size_t{0})), Double(j[1], At(path, std::size_t{1})),
                Double(j[2], At(path, std::size_t{2}))};
    }

    // A packed array: [v, ...] or {"values": [v, ...], "lowerBound": n}.
    // Its values go where `place(n)` gives room for n of them; gives the
    // lower bound.
    template <class T, class Element, class Place>
    std::int32_t Packed(const json& j, const At& path, Element element, Place place) const {
        if (j.is_object()) {
            Fields f(*this, j, path);
            const std::int32_t lowerBound = f.Int32("lowerBound");
            const json* values = f.Get("values");
            f.Done();
            if (values != nullptr) Elements<T>(*values, At(path, "values"), element, place);
            return lowerBound;
        }
        Elements<T>(j, path, element, place);
        return 0;
    }
    // The array of a packed array at `path`.
    template <class T, class Element, class Place>
    void Elements(const json& values, const At& path, Element element, Place place) const {
        if (!values.is_array()) {
            Fail(path, std::string("expected an array (or {\"values\", \"lowerBound\"}), found ") +
                           TypeName(values));
        }
        T* out = place(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) out[i] = element(values[i], At(path, i));
    }
    template <class T, class Element>
    SourceArray<T> Packed(const json& j, const At& path, Element element) const {
        SourceArray<T> out;
        out.lowerBound = Packed<T>(j, path, element, [&out](std::size_t n) {
            out.values.resize(n);
            return out.values.data();
        });
        return out;
    }
    SourceDoubleArray Doubles(const json& j, const At& path) const {
        return Packed<double>(j, path,
                              [this](const json& v, const At& p) { return Double(v, p); });
    }
    // A packed array of numbers kept in the store's arena; none when absent.
    StoredArray<double> KeptDoubles(const json* j, const At& path) const {
        StoredArray<double> kept;
        if (j == nullptr) return kept;
        kept.lowerBound = Packed<double>(
            *j, path, [this](const json& v, const At& p) { return Double(v, p); },
            [&](std::size_t n) { return store_.Room(kept, n); });
        return kept;
    }
    SourceShortArray Shorts(const json& j, const At& path) const {
        return Packed<std::int16_t>(j, path, [this](const json& v, const At& p) {
            return static_cast<std::int16_t>(Integer(v, p, std::numeric_limits<std::int16_t>::min(),
                                                     std::numeric_limits<std::int16_t>::max()));
        });
    }
    SourceByteArray Bytes(const json& j, const At& path) const {
        return Packed<std::uint8_t>(j, path, [this](const json& v, const At& p) {
            return static_cast<std::uint8_t>(Integer(v, p, 0, 255));
        });
    }

    // Calls `each` with every element of the array `j` and its location;
    // nothing when `j` is absent.
    template <class F>
    void ForEach(const json* j, const At& path, F each) const {
        if (j == nullptr) return;
        if (!j->is_array()) Fail(path, std::string("expected an array, found ") + TypeName(*j));
        for (std::size_t i = 0; i < j->size(); ++i) each((*j)[i], At(path, i));
    }

private:
    // Targets and ids ------------------------------------------------------
    // `iface` is a literal.
    void NoteTarget(std::string_view iface, const std::string& target) {
        NoteTarget(iface, store_.Intern(target));
    }
    void NoteTarget(std::string_view iface, TargetName target) {
        // The interface's entry, found again by the literal's address
        // without hashing its name.
        NotedSlot& slot =
            notedSlots_[(reinterpret_cast<std::uintptr_t>(iface.data()) >> 2) % notedSlots_.size()];
        if (slot.iface.data() != iface.data() || slot.iface.size() != iface.size())
            slot = {iface, &targets_[iface]};
        Noted& noted = *slot.noted;
        if (noted.last == &target.Str()) return;  // objects of one sketch share their target
        noted.last = &target.Str();
        notes_.push_back({&noted, &target.Str()});
    }
    // The targets noted for `iface`; none when nothing was noted.
    const std::unordered_set<std::string_view>* TargetsOf(std::string_view iface) {
        for (const auto& [noted, target] : notes_) noted->targets.insert(*target);
        notes_.clear();
        const auto it = targets_.find(iface);
        return it == targets_.end() ? nullptr : &it->second.targets;
    }
    template <class T>
    void DefineId(std::unordered_map<std::string, T*>& table, const char* kind,
                  const std::string& id, T* object, const At& path) {
        if (!table.emplace(id, object).second) {
            Fail(path, std::string("duplicate ") + kind + " id " + Quote(id));
        }
    }
    // A location kept for a problem found after its value is read: a range
    // of `keptSteps_`.
    struct Kept {
        std::size_t first;
        std::size_t last;
    };
    Kept Keep(const At& at) {
        const std::size_t first = keptSteps_.size();
        at.AppendSteps(keptSteps_);
        return {first, keptSteps_.size()};
    }
    std::string Spell(Kept kept) const {
        return At::Spell(keptSteps_.data() + kept.first, keptSteps_.data() + kept.last);
    }

    // A reference by id, resolved once everything is read.
    struct Reference {
        void (*resolve)(const Loader&, const Reference&);
        void* table;  // the ids of the kind referred to
        void* slot;   // where the object referred to goes
        const char* kind;
        std::string id;
        Kept at;
        // A view that owns the section line or detail circle referred to
        // unless that records its owner.
        RecordedView* claimant;
    };
    template <class T>
    static void Resolve(const Loader& loader, const Reference& r) {
        const auto& table = *static_cast<const std::unordered_map<std::string, T*>*>(r.table);
        const auto it = table.find(r.id);
        if (it == table.end())
            loader.Fail(loader.Spell(r.at),
                        std::string("no ") + r.kind + " has the id " + Quote(r.id));
        *static_cast<T**>(r.slot) = it->second;
        if constexpr (requires { it->second->ownerGiven; }) {
            if (r.claimant != nullptr && !it->second->ownerGiven) it->second->owner = r.claimant;
        }
    }
    // Schedules resolution of a reference once everything is read.
    template <class T>
    void Refer(std::unordered_map<std::string, T*>& table, const char* kind, const json& j,
               const At& path, T** slot, RecordedView* claimant = nullptr) {
        if (!j.is_string())
            Fail(path, std::string("expected a ") + kind + " id (a string), found " + TypeName(j));
        references_.push_back({&Resolve<T>, &table, slot, kind, j.get_ref<const std::string&>(),
                               Keep(path), claimant});
    }
    // The id of an object: its "id", else its name. Gives the key it came from.
    std::string IdOf(Fields& f, const SourceString& name, const char** idKey) {
        const json* id = f.Get("id");
        if (id != nullptr) {
            *idKey = "id";
            return Utf8(Text(*id, f.AtKey("id")));
        }
        *idKey = "name";
        return name ? Utf8(*name) : std::string();
    }

    // Object readers -------------------------------------------------------
    void ReadApplication(const json& j, const At& path);
    RecordedModelDocument* ReadModelDocument(const json& j, const At& path);
    void ReadDocument(const json& j, const At& path);
    void ReadDocumentPreferences(const json& j, const At& path, RecordedDocument* doc);
    void ReadDrawing(const json& j, const At& path, RecordedDocument* doc);
    RecordedSheet* ReadSheet(const json& j, const At& path);
    RecordedView* ReadView(const json& j, const At& path, RecordedSheet* sheet, std::size_t index);
    RecordedSketch* ReadSketch(const json& j, const At& path, TargetName target);
    RecordedSegment* ReadSegment(const json& j, const At& path, RecordedSketch* sketch);
    // `note`: whether to note the target now.
    RecordedCurve* ReadCurve(const json& j, const At& path, TargetName target, bool note);
    RecordedTransform* ReadTransform(const json& j, const At& path, TargetName target);
    RecordedPlacement* ReadPlacement(const json& j, const At& path, TargetName target);
    RecordedTextFormat* ReadTextFormat(const json& j, const At& path, const std::string& target);
    RecordedSectionLine* ReadSectionLine(const json& j, const At& path, RecordedView* view);
    RecordedDetailCircle* ReadDetailCircle(const json& j, const At& path, RecordedView* view);
    RecordedProjectionArrow* ReadProjectionArrow(const json& j, const At& path,
                                                 const std::string& owner);
    RecordedBreakLine* ReadBreakLine(const json& j, const At& path);
    RecordedSpecificFeature* ReadSpecificFeature(const json& j, const At& path,
                                                 const std::string& target,
                                                 RecordedFeature* holder);
    RecordedBrokenOutSection* ReadBrokenOutSection(const json& j, const At& path,
                                                   const std::string& owner);
    RecordedNote* ReadNote(const json& j, const At& path);
    RecordedAnnotation* ReadAnnotation(const json& j, const At& path, const std::string& target);
    RecordedCenterMark* ReadCenterMark(const json& j, const At& path);
    RecordedFaceHatch* ReadFaceHatch(const json& j, const At& path);
    RecordedSketchHatch* ReadSketchHatch(const json& j, const At& path);
    RecordedDrawingComponent* ReadDrawingComponent(const json& j, const At& path);
    RecordedComponent* ReadComponent(const json& j, const At& path);
    RecordedBody* ReadBody(const json& j, const At& path);
    RecordedBlockInstance* ReadBlockInstance(const json& j, const At& path);
    RecordedBlockDefinition* ReadBlockDefinition(const json& j, const At& path);
    RecordedFeature* ReadFeature(const json& j, const At& path);
    RecordedSketchPicture* ReadSketchPicture(const json& j, const At& path,
                                             const std::string& target, RecordedFeature* holder);
    RecordedOleObject* ReadOleObject(const json& j, const At& path);
    void ReadLinkedFile(const json& j, const At& path, const SourceString& fileName);
    void ReadFault(const json& j, const At& path);
    void CheckCycles();

    Store& store_;
    std::string source_;
    std::filesystem::path baseDirectory_;  // stand-in files are found beside the recording
    std::vector<Reference> references_;
    std::vector<At::Step> keptSteps_;
    std::unordered_map<std::string, RecordedView*> views_;
    std::unordered_map<std::string, RecordedSectionLine*> sectionLines_;
    std::unordered_map<std::string, RecordedDetailCircle*> detailCircles_;
    std::unordered_map<std::string, RecordedModelDocument*> modelDocuments_;
    std::unordered_map<std::string, RecordedFeature*> features_;
    std::unordered_map<std::string, RecordedBlockDefinition*> blockDefinitions_;
    // The targets of each interface's objects, as views of the store's names.
    struct Noted {
        std::unordered_set<std::string_view> targets;
        const std::string* last = nullptr;
    };
    std::unordered_map<std::string_view, Noted> targets_;
    struct NotedSlot {
        std::string_view iface;
        Noted* noted = nullptr;
    };
    std::array<NotedSlot, 32> notedSlots_{};
    // Targets noted but not yet in their sets: only faults ask for them.
    std::vector<std::pair<Noted*, const std::string*>> notes_;
    std::vector<std::pair<RecordedBlockDefinition*, Kept>> definitionPaths_;
    std::vector<std::pair<RecordedFeature*, Kept>> featurePaths_;
    std::size_t componentDepth_ = 0;  // nesting of the drawing component being read

    // A view read during parsing: the view, the references it asked to
    // resolve, or the problem found in it.
    struct StreamedView {
        RecordedView* view = nullptr;
        std::size_t firstReference = 0;  // in streamedReferences_
        std::size_t lastReference = 0;
        std::unique_ptr<RecordingError> error;
    };
    std::vector<StreamedView> streamed_;
    std::vector<Reference> streamedReferences_;
    bool streamFailed_ = false;  // a view had a problem: later ones are not read

    // A segment read during parsing, for the view being parsed. One without
    // an "id" takes its sketch's target, known only when the view is read.
    struct StreamedSegment {
        RecordedSegment* segment = nullptr;
        bool ownTarget = false;
        std::unique_ptr<RecordingError> error;
    };
    std::vector<StreamedSegment> streamedSegments_;
    RecordedSegment* TakeStreamed(const json& marker, RecordedSketch* sketch);
};

// Empties the containers of a tree from its leaves up. The library destroys
// a tree by moving every value in it onto a stack it allocates first (to
// bound its recursion); a tree emptied this way leaves it nothing to move.
// The recursion is as deep as the tree, at most kMaxNesting.
void Dismantle(json& j) {
    if (j.is_array()) {
        auto& array = j.get_ref<json::array_t&>();
        for (json& element : array) Dismantle(element);
        array.clear();
    } else if (j.is_object()) {
        auto& object = j.get_ref<json::object_t&>();
        for (auto& member : object) Dismantle(member.second);
        object.clear();
    }
}

bool TreeBuilder::end_object() {
    // The index of the element being read in the array `frames_[i]`.
    const auto index = [this](std::size_t i) { return frames_[i].value->size() - 1; };
    if (AtViewSegment()) {
        json& segment = *frames_.back().value;
        const char* sketchKey =
            frames_[6].member->first == "sketch" ? "sketch" : "centerLineSketch";
        json marker = loader_.StreamSegment(segment, index(3), index(5), sketchKey, index(8));
        Dismantle(segment);
        segment = std::move(marker);
    } else if (AtView()) {
        json& view = *frames_.back().value;
        json marker = loader_.StreamView(view, index(3), index(5));
        Dismantle(view);
        view = std::move(marker);
    }
    frames_.pop_back();
    return true;
}

// The location of view `view` of sheet `sheet`.
struct ViewAt {
    ViewAt(std::size_t sheetIndex, std::size_t viewIndex)
        : sheet(sheets, sheetIndex), view(views, viewIndex) {}
    const At root;
    const At document{root, "document"};
    const At drawing{document, "drawing"};
    const At sheets{drawing, "sheets"};
    const At sheet;
    const At views{sheet, "views"};
    const At view;
};

json Loader::StreamSegment(const json& j, std::size_t sheet, std::size_t view,
                           const char* sketchKey, std::size_t segment) {
    const ViewAt viewAt(sheet, view);
    const At sketchAt(viewAt.view, sketchKey);
    const At segmentsAt(sketchAt, "segments");
    const At path(segmentsAt, segment);
    StreamedSegment part;
    try {
        part.segment = ReadSegment(j, path, nullptr);
        const auto id = j.find("id");
        part.ownTarget = id != j.end() && !id->is_null();
    } catch (const RecordingError& e) {
        part.error = std::make_unique<RecordingError>(e);
    } catch (const json::exception& e) {
        part.error = std::make_unique<RecordingError>(source_, "/", LibraryMessage(e));
    }
    streamedSegments_.push_back(std::move(part));
    return json::binary({}, streamedSegments_.size() - 1);
}

RecordedSegment* Loader::TakeStreamed(const json& marker, RecordedSketch* sketch) {
    StreamedSegment& part = streamedSegments_.at(marker.get_binary().subtype());
    if (part.error) throw *part.error;
    RecordedSegment* segment = part.segment;
    segment->sketch = sketch;
    if (!part.ownTarget) {
        const TargetName target = sketch->SharedTarget();
        segment->Retarget(target);  // and so its points
        NoteTarget("Segment", target);
        if (segment->curve != nullptr) {
            segment->curve->Retarget(target);
            NoteTarget("Curve", target);
            if (segment->curve->bspline != nullptr) {
                segment->curve->bspline->Retarget(target);
                NoteTarget("BSplineData", target);
            }
        }
        NoteTarget("Point", target);
    }
    return segment;
}

json Loader::StreamView(const json& j, std::size_t sheet, std::size_t view) {
    const ViewAt viewAt(sheet, view);
    StreamedView part;
    // Views after one with a problem are never reached by the walk.
    if (!streamFailed_) {
        const std::size_t first = references_.size();
        try {
            part.view = ReadView(j, viewAt.view, nullptr, 0);
            part.firstReference = streamedReferences_.size();
            for (std::size_t i = first; i < references_.size(); ++i)
                streamedReferences_.push_back(std::move(references_[i]));
            part.lastReference = streamedReferences_.size();
        } catch (const RecordingError& e) {
            part.error = std::make_unique<RecordingError>(e);
        } catch (const json::exception& e) {
            part.error = std::make_unique<RecordingError>(source_, "/", LibraryMessage(e));
        }
        references_.erase(references_.begin() + static_cast<std::ptrdiff_t>(first),
                          references_.end());
        streamFailed_ = part.error != nullptr;
    }
    streamedSegments_.clear();  // the view's segments are taken, or never will be
    streamed_.push_back(std::move(part));
    return json::binary({}, streamed_.size() - 1);
}

// Two of 64 bits picked by a hash of a key's length and three of its
// characters.
std::uint64_t KeyBits(std::string_view key) {
    if (key.empty()) return 1;
    const auto c = [&key](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(key[i])}; };
    const std::uint64_t h = ((key.size() & 0xFF) | c(0) << 8 | c(key.size() - 1) << 16 |
                             c(key.size() / 2) << 24) *
                            0x9E3779B97F4A7C15ull;
    return std::uint64_t{1} << (h >> 58) | std::uint64_t{1} << ((h >> 52) & 63);
}

Fields::Fields(const Loader& loader, const json& object, const At& at)
    : loader_(loader), object_(object), at_(at) {
    if (!object_.is_object())
        loader_.Fail(at_, std::string("expected an object, found ") + TypeName(object_));
    const auto& members = object_.get_ref<const json::object_t&>();
    const bool listed = members.size() <= kListed;
    for (const auto& member : members) {
        const std::uint64_t bits = KeyBits(member.first);
        memberBits_ |= bits;
        if (listed) listed_[listedCount_++] = {bits, &member.first, &member.second};
    }
}

const json* Fields::Get(const char* key) {
    if (usedCount_ < used_.size()) {
        used_[usedCount_++] = key;
    } else {
        moreUsed_.push_back(key);
    }
    const std::string_view name(key);
    const std::uint64_t bits = KeyBits(name);
    if ((memberBits_ & bits) != bits) return nullptr;
    if (listedCount_ != 0 || object_.empty()) {
        for (std::size_t i = 0; i < listedCount_; ++i) {
            const Listed& member = listed_[i];
            if (member.bits == bits && *member.key == name) {
                listedFound_ |= std::uint32_t{1} << i;
                return member.value->is_null() ? nullptr : member.value;
            }
        }
        return nullptr;
    }
    const auto& members = object_.get_ref<const json::object_t&>();
    const auto it = members.find(name);
    if (it == members.end()) return nullptr;
    const json* member = &it->second;
    if (std::find(found_.begin(), found_.begin() + foundCount_, member) ==
        found_.begin() + foundCount_) {
        if (foundCount_ < found_.size()) {
            found_[foundCount_++] = member;
        } else {
            foundAll_ = false;
        }
    }
    return member->is_null() ? nullptr : member;
}

void Fields::Done() {
    if (listedCount_ != 0 ? listedFound_ == (std::uint64_t{1} << listedCount_) - 1
                          : foundAll_ && foundCount_ == object_.size())
        return;
    for (const auto& member : object_.get_ref<const json::object_t&>()) {
        // A named reference rather than a structured binding: clang before
        // 16 does not let a lambda capture a binding (the fuzz build).
        const std::string& key = member.first;
        if (key == "comment") continue;  // free text for people
        const auto same = [&](const char* k) { return key == k; };
        if (std::none_of(used_.begin(), used_.begin() + usedCount_, same) &&
            std::none_of(moreUsed_.begin(), moreUsed_.end(), same))
            loader_.Fail(At(at_, key), "unknown key " + Quote(key));
    }
}

std::int32_t Fields::Int32(const char* key, std::int32_t fallback) {
    const json* j = Get(key);
    return j == nullptr ? fallback : loader_.Int32(*j, At(at_, key));
}
VBool Fields::Bool16(const char* key, VBool fallback) {
    const json* j = Get(key);
    return j == nullptr ? fallback : loader_.Bool16(*j, At(at_, key));
}
double Fields::Double(const char* key) {
    const json* j = Get(key);
    return j == nullptr ? 0.0 : loader_.Double(*j, At(at_, key));
}
bool Fields::Flag(const char* key) {
    const json* j = Get(key);
    return j != nullptr && loader_.Flag(*j, At(at_, key));
}
SourceString Fields::String(const char* key) {
    const json* j = Get(key);
    if (j == nullptr) return std::nullopt;
    return loader_.Text(*j, At(at_, key));
}
SourceDoubleArray Fields::Doubles(const char* key) {
    const json* j = Get(key);
    return j == nullptr ? SourceDoubleArray{} : loader_.Doubles(*j, At(at_, key));
}

// ---------------------------------------------------------------------------

void Loader::LoadRoot(const json& root) {
    const At rootAt;
    Fields f(*this, root, rootAt);
    const json* format = f.Get("format");
    if (format == nullptr) Fail("/format", std::string("missing; expected \"") + kFormatId + "\"");
    if (!format->is_string() || format->get<std::string>() != kFormatId) {
        Fail("/format", "unsupported format " +
                            (format->is_string() ? Quote(format->get_ref<const std::string&>())
                                                 : std::string(TypeName(*format))) +
                            "; expected \"" + kFormatId + "\"");
    }
    // The math utility is part of every application.
    RecordedApplication* app = store_.Make<RecordedApplication>(std::string());
    app->mathUtility = store_.Make<RecordedMathUtility>(std::string());
    store_.application = app;
    app->fileSystem = store_.Make<RecordedFileSystem>(std::string());
    NoteTarget("FileSystem", std::string());
    if (const json* j = f.Get("application")) ReadApplication(*j, f.AtKey("application"));
    if (const json* j = f.Get("document")) {
        ReadDocument(*j, f.AtKey("document"));
    } else {
        ReadDocument(json::object(), f.AtKey("document"));
    }
    // Faults name targets: they are read once every object is.
    const At faultsAt = f.AtKey("faults");
    std::vector<const json*> faults;
    ForEach(f.Get("faults"), faultsAt, [&](const json& j, const At&) { faults.push_back(&j); });
    f.Done();

    for (const Reference& reference : references_) reference.resolve(*this, reference);
    CheckCycles();
    for (std::size_t i = 0; i < faults.size(); ++i) ReadFault(*faults[i], At(faultsAt, i));
}

void Loader::ReadApplication(const json& j, const At& path) {
    Fields f(*this, j, path);
    RecordedApplication* app = store_.application;
    app->revision = f.String("revision");
    ForEach(f.Get("modelDocuments"), f.AtKey("modelDocuments"), [&](const json& m, const At& p) {
        app->modelDocuments.push_back(ReadModelDocument(m, p));
    });
    f.Done();
}

RecordedModelDocument* Loader::ReadModelDocument(const json& j, const At& path) {
    Fields f(*this, j, path);
    SourceString docPath = f.String("path");
    const char* idKey = "path";
    const json* id = f.Get("id");
    std::string key;
    if (id != nullptr) {
        idKey = "id";
        key = Utf8(Text(*id, f.AtKey("id")));
    } else {
        key = docPath ? Utf8(*docPath) : std::string();
    }
    auto* model = store_.Make<RecordedModelDocument>(key);
    model->path = docPath;
    if (const json* opens = f.Get("opens")) model->opens = Flag(*opens, f.AtKey("opens"));
    if (!key.empty()) DefineId(modelDocuments_, "model document", key, model, f.AtKey(idKey));
    NoteTarget("ModelDocument", key);
    if (const json* prefs = f.Get("preferences")) {
        const At prefsAt = f.AtKey("preferences");
        Fields p(*this, *prefs, prefsAt);
        auto eachKey = [&](const char* kind, auto store) {
            const json* table = p.Get(kind);
            if (table == nullptr) return;
            const At tableAt = p.AtKey(kind);
            if (!table->is_object())
                Fail(tableAt, std::string("expected an object, found ") + TypeName(*table));
            for (const auto& item : table->items()) {
                const At itemAt(tableAt, item.key());
                std::int32_t idValue = 0;
                const auto& k = item.key();
                std::size_t used = 0;
                try {
                    const long long v = std::stoll(k, &used, 10);
                    if (used != k.size() || v < std::numeric_limits<std::int32_t>::min() ||
                        v > std::numeric_limits<std::int32_t>::max()) {
                        throw std::invalid_argument(k);
                    }
                    idValue = static_cast<std::int32_t>(v);
                } catch (const std::exception&) {
                    Fail(itemAt, "preference key " + Quote(k) + " is not an integer identifier");
                }
                store(idValue, item.value(), itemAt);
            }
        };
        eachKey("string", [&](std::int32_t k, const json& v, const At& p2) {
            model->stringPreferences[k] = Text(v, p2);
        });
        eachKey("integer", [&](std::int32_t k, const json& v, const At& p2) {
            model->integerPreferences[k] = Int32(v, p2);
        });
        eachKey("double", [&](std::int32_t k, const json& v, const At& p2) {
            model->doublePreferences[k] = Double(v, p2);
        });
        p.Done();
    }
    f.Done();
    return model;
}

void Loader::ReadDocument(const json& j, const At& path) {
    Fields f(*this, j, path);
    auto* doc = store_.Make<RecordedDocument>(std::string());
    store_.document = doc;
    doc->path = f.String("path");
    doc->commands = store_.Make<RecordedCommands>(std::string());
    doc->layerManager = store_.Make<RecordedLayerManager>(std::string());
    doc->featureList = store_.Make<RecordedFeatureList>(std::string());

    ForEach(f.Get("layers"), f.AtKey("layers"), [&](const json& l, const At& p) {
        std::wstring name;
        std::wstring description;
        if (l.is_string()) {
            name = Text(l, p);
        } else {
            Fields lf(*this, l, p);
            const json* n = lf.Get("name");
            if (n == nullptr) Fail(lf.AtKey("name"), "a layer needs a name");
            name = Text(*n, lf.AtKey("name"));
            if (auto d = lf.String("description")) description = *d;
            lf.Done();
        }
        if (doc->layerManager->Find(name) != nullptr)
            Fail(p, "duplicate layer " + Quote(Utf8(name)));
        auto* layer = store_.Make<RecordedLayer>(Utf8(name));
        layer->name = name;
        layer->description = description;
        doc->layerManager->layers.push_back(layer);
        NoteTarget("Layer", Utf8(name));
    });
    if (const json* prefs = f.Get("preferences"))
        ReadDocumentPreferences(*prefs, f.AtKey("preferences"), doc);
    ForEach(f.Get("blockDefinitions"), f.AtKey("blockDefinitions"),
            [&](const json& d, const At& p) { ReadBlockDefinition(d, p); });
    ForEach(f.Get("features"), f.AtKey("features"), [&](const json& d, const At& p) {
        doc->featureList->features.push_back(ReadFeature(d, p));
    });
    if (const json* drawing = f.Get("drawing")) ReadDrawing(*drawing, f.AtKey("drawing"), doc);
    f.Done();
}

void Loader::ReadDocumentPreferences(const json& j, const At& path, RecordedDocument* doc) {
    Fields f(*this, j, path);
    auto eachKey = [&](const char* kind, auto store) {
        const json* table = f.Get(kind);
        if (table == nullptr) return;
        const At tableAt = f.AtKey(kind);
        if (!table->is_object())
            Fail(tableAt, std::string("expected an object, found ") + TypeName(*table));
        for (const auto& item : table->items()) {
            const At itemAt(tableAt, item.key());
            // "identifier,option"
            const std::string& k = item.key();
            const auto comma = k.find(',');
            PreferenceKey key{0, 0};
            bool ok = comma != std::string::npos;
            if (ok) {
                try {
                    std::size_t used1 = 0;
                    std::size_t used2 = 0;
                    const std::string a = k.substr(0, comma);
                    const std::string b = k.substr(comma + 1);
                    const long long id = std::stoll(a, &used1, 10);
                    const long long option = std::stoll(b, &used2, 10);
                    ok = used1 == a.size() && used2 == b.size() &&
                         id >= std::numeric_limits<std::int32_t>::min() &&
                         id <= std::numeric_limits<std::int32_t>::max() &&
                         option >= std::numeric_limits<std::int32_t>::min() &&
                         option <= std::numeric_limits<std::int32_t>::max();
                    key = {static_cast<std::int32_t>(id), static_cast<std::int32_t>(option)};
                } catch (const std::exception&) {
                    ok = false;
                }
            }
            if (!ok)
                Fail(itemAt,
                     "preference key " + Quote(k) + " is not \"identifier,option\" (two integers)");
            store(key, item.value(), itemAt);
        }
    };
    eachKey("integer", [&](PreferenceKey k, const json& v, const At& p) {
        doc->integerPreferences[k] = Int32(v, p);
    });
    eachKey("toggle", [&](PreferenceKey k, const json& v, const At& p) {
        doc->togglePreferences[k] = Bool16(v, p);
    });
    eachKey("double", [&](PreferenceKey k, const json& v, const At& p) {
        doc->doublePreferences[k] = Double(v, p);
    });
    eachKey("string", [&](PreferenceKey k, const json& v, const At& p) {
        doc->stringPreferences[k] = Text(v, p);
    });
    eachKey("textFormat", [&](PreferenceKey k, const json& v, const At& p) {
        doc->textFormatPreferences[k] =
            ReadTextFormat(v, p, std::to_string(k.first) + "," + std::to_string(k.second));
    });
    f.Done();
}

void Loader::ReadDrawing(const json& j, const At& path, RecordedDocument* doc) {
    Fields f(*this, j, path);
    auto* drawing = store_.Make<RecordedDrawing>(std::string());
    doc->drawing = drawing;
    const json* sheets = f.Get("sheets");
    drawing->sheetsRecorded = sheets != nullptr;
    ForEach(sheets, f.AtKey("sheets"),
            [&](const json& s, const At& p) { drawing->sheets.push_back(ReadSheet(s, p)); });
    if (!drawing->sheets.empty()) drawing->activeSheet = drawing->sheets.front();
    if (auto active = f.String("activeSheet")) {
        drawing->activeSheet = nullptr;
        for (RecordedSheet* sheet : drawing->sheets) {
            if (sheet->name == *active) drawing->activeSheet = sheet;
        }
        if (drawing->activeSheet == nullptr)
            Fail(f.AtKey("activeSheet"), "no sheet is named " + Quote(Utf8(*active)));
    }
    f.Done();
}

RecordedSheet* Loader::ReadSheet(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    auto* sheet = store_.Make<RecordedSheet>(name ? Utf8(*name) : std::string());
    sheet->name = name.value_or(std::wstring());
    ForEach(f.Get("views"), f.AtKey("views"), [&](const json& v, const At& p) {
        sheet->views.push_back(ReadView(v, p, sheet, sheet->views.size()));
    });
    ForEach(f.Get("oleObjects"), f.AtKey("oleObjects"), [&](const json& o, const At& p) {
        sheet->oleObjects.push_back(o.is_null() ? nullptr : ReadOleObject(o, p));
    });
    f.Done();
    return sheet;
}

RecordedView* Loader::ReadView(const json& j, const At& path, RecordedSheet* sheet,
                               std::size_t index) {
    if (j.is_binary()) {  // read during parsing
        StreamedView& part = streamed_.at(j.get_binary().subtype());
        if (part.error) throw *part.error;
        for (std::size_t i = part.firstReference; i < part.lastReference; ++i)
            references_.push_back(std::move(streamedReferences_[i]));
        part.view->sheet = sheet;
        part.view->index = index;
        return part.view;
    }
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const char* idKey = nullptr;
    const std::string id = IdOf(f, name, &idKey);
    auto* view = store_.Make<RecordedView>(id);
    if (!id.empty()) DefineId(views_, "view", id, view, f.AtKey(idKey));
    NoteTarget("View", view->SharedTarget());
    view->sheet = sheet;
    view->index = index;
    view->name = name;
    view->type = f.Int32("type");
    if (const json* r = f.Get("parent"))
        Refer(views_, "view", *r, f.AtKey("parent"), &view->parent);
    if (const json* r = f.Get("referencedModel")) {
        Refer(modelDocuments_, "model document", *r, f.AtKey("referencedModel"),
              &view->referencedModel);
    }
    view->hiddenEdgeCount = f.Int32("hiddenEdgeCount");
    view->explodedState = f.Bool16("explodedState");
    // Extraction presets the visibility to 1 before it asks, so a view that
    // records none reads as visible.
    view->visible = f.Bool16("visible", 1);
    view->position = f.Doubles("position");
    view->referencedConfiguration = f.String("referencedConfiguration");
    view->referencedDocumentPath = f.String("referencedDocumentPath");
    view->scale = f.Doubles("scale");
    view->alignment = f.Int32("alignment");
    view->tangentEdgeDisplay = f.Int32("tangentEdgeDisplay");
    view->displayMode = f.Int32("displayMode");
    view->hiddenEdgesInShadedMode = f.Bool16("hiddenEdgesInShadedMode");
    view->cropped = f.Bool16("cropped");
    view->broken = f.Bool16("broken");
    view->angle = f.Double("angle");
    if (const json* t = f.Get("transform"))
        view->transform = ReadTransform(*t, f.AtKey("transform"), view->SharedTarget());
    if (const json* s = f.Get("sketch"))
        view->sketch = ReadSketch(*s, f.AtKey("sketch"), view->SharedTarget());
    if (const json* s = f.Get("centerLineSketch")) {
        view->centerLineSketch = ReadSketch(*s, f.AtKey("centerLineSketch"), view->SharedTarget());
    }
    ForEach(f.Get("cropSegments"), f.AtKey("cropSegments"), [&](const json& s, const At& p) {
        if (view->sketch == nullptr) Fail(p, "crop segments need the view's \"sketch\"");
        view->cropSegments.push_back(ReadSegment(s, p, view->sketch));
    });
    // An annotation belongs to the view it creates: a section line or detail
    // circle without a recorded owner is owned by the view that refers to it,
    // and listed by that view's parent.
    if (const json* r = f.Get("sectionLine")) {
        Refer(sectionLines_, "section line", *r, f.AtKey("sectionLine"), &view->sectionLine, view);
    }
    ForEach(f.Get("sectionLines"), f.AtKey("sectionLines"), [&](const json& s, const At& p) {
        view->sectionLines.push_back(ReadSectionLine(s, p, view));
    });
    view->sectionLineData = f.Doubles("sectionLineData");
    if (const json* r = f.Get("detailCircle")) {
        Refer(detailCircles_, "detail circle", *r, f.AtKey("detailCircle"), &view->detailCircle,
              view);
    }
    ForEach(f.Get("detailCircles"), f.AtKey("detailCircles"), [&](const json& s, const At& p) {
        view->detailCircles.push_back(ReadDetailCircle(s, p, view));
    });
    view->detailCircleData = f.Doubles("detailCircleData");
    if (const json* a = f.Get("projectionArrow")) {
        view->projectionArrow = ReadProjectionArrow(*a, f.AtKey("projectionArrow"), id);
    }
    ForEach(f.Get("breakLines"), f.AtKey("breakLines"),
            [&](const json& b, const At& p) { view->breakLines.push_back(ReadBreakLine(b, p)); });
    view->breakLineCount =
        f.Int32("breakLineCount", static_cast<std::int32_t>(view->breakLines.size()));
    view->breakLineData = f.Doubles("breakLineData");
    view->breakLineGap = f.Double("breakLineGap");
    ForEach(
        f.Get("brokenOutSections"), f.AtKey("brokenOutSections"), [&](const json& b, const At& p) {
            Fields bf(*this, b, p);
            RecordedView::BrokenOutEntry entry;
            entry.name = bf.String("name");
            if (const json* feature = bf.Get("feature")) {
                entry.feature = ReadSpecificFeature(*feature, bf.AtKey("feature"),
                                                    entry.name ? Utf8(*entry.name) : id, nullptr);
            }
            bf.Done();
            view->brokenOutSections.push_back(entry);
        });
    ForEach(f.Get("notes"), f.AtKey("notes"),
            [&](const json& n, const At& p) { view->notes.push_back(ReadNote(n, p)); });
    if (const json* c = f.Get("rootComponent"))
        view->rootComponent = ReadDrawingComponent(*c, f.AtKey("rootComponent"));
    ForEach(
        f.Get("hiddenComponents"), f.AtKey("hiddenComponents"),
        [&](const json& c, const At& p) { view->hiddenComponents.push_back(ReadComponent(c, p)); });
    view->bodyNamingValue = f.Int32("bodyNamingValue");
    ForEach(f.Get("centerMarks"), f.AtKey("centerMarks"), [&](const json& c, const At& p) {
        RecordedCenterMark* mark = ReadCenterMark(c, p);
        if (!view->centerMarks.empty()) view->centerMarks.back()->next = mark;
        view->centerMarks.push_back(mark);
    });
    ForEach(f.Get("faceHatches"), f.AtKey("faceHatches"), [&](const json& h, const At& p) {
        view->faceHatches.push_back(h.is_null() ? nullptr : ReadFaceHatch(h, p));
    });
    if (auto layer = f.String("layer")) view->layer = layer;
    f.Done();
    return view;
}

RecordedTransform* Loader::ReadTransform(const json& j, const At& path, TargetName target) {
    NoteTarget("Transform", target);
    return store_.Make<RecordedTransform>(target, Doubles(j, path));
}

RecordedPlacement* Loader::ReadPlacement(const json& j, const At& path, TargetName target) {
    NoteTarget("Placement", target);
    return store_.Make<RecordedPlacement>(target, ReadTransform(j, path, target));
}

RecordedSketch* Loader::ReadSketch(const json& j, const At& path, TargetName target) {
    Fields f(*this, j, path);
    auto* sketch = store_.Make<RecordedSketch>(target);
    NoteTarget("Sketch", sketch->SharedTarget());
    if (const json* segments = f.Get("segments")) {
        sketch->segments.emplace();
        const At segmentsAt = f.AtKey("segments");
        ForEach(segments, segmentsAt, [&](const json& s, const At& p) {
            sketch->segments->push_back(ReadSegment(s, p, sketch));
        });
    }
    if (const json* p = f.Get("placement"))
        sketch->placement = ReadPlacement(*p, f.AtKey("placement"), target);
    sketch->arcData = SharedSourceDoubleArray(f.Doubles("arcData"));
    ForEach(f.Get("blockInstances"), f.AtKey("blockInstances"), [&](const json& b, const At& p) {
        sketch->blockInstances.push_back(ReadBlockInstance(b, p));
    });
    ForEach(f.Get("hatches"), f.AtKey("hatches"),
            [&](const json& h, const At& p) { sketch->hatches.push_back(ReadSketchHatch(h, p)); });
    f.Done();
    return sketch;
}

// Without a sketch (a segment read during parsing), a segment with no "id"
// gets its target and notes it when the sketch takes it.
RecordedSegment* Loader::ReadSegment(const json& j, const At& path, RecordedSketch* sketch) {
    if (j.is_binary()) return TakeStreamed(j, sketch);
    Fields f(*this, j, path);
    const SourceString id = f.String("id");
    const bool known = id || sketch != nullptr;
    const TargetName target = id                  ? store_.Intern(Utf8(*id))
                              : sketch != nullptr ? sketch->SharedTarget()
                                                  : store_.Intern({});
    auto* segment = store_.Make<RecordedSegment>(target);
    if (known) NoteTarget("Segment", segment->SharedTarget());
    segment->sketch = sketch;
    segment->kind = f.Int32("kind");
    segment->construction = f.Bool16("construction");
    segment->length = f.Double("length");
    if (const json* c = f.Get("curve"))
        segment->curve = ReadCurve(*c, f.AtKey("curve"), target, known);
    segment->typedQueryFails = f.Flag("typedQueryFails");
    // In the order of RecordedSegment::PointKind.
    static constexpr const char* kPointKeys[] = {"start", "end",   "center", "major",
                                                 "minor", "focus", "apex"};
    static_assert(std::size(kPointKeys) == RecordedSegment::kPointKinds);
    Vec3 coordinates[RecordedSegment::kPointKinds];
    std::size_t count = 0;
    for (unsigned k = 0; k < RecordedSegment::kPointKinds; ++k) {
        if (const json* p = f.Get(kPointKeys[k])) {
            coordinates[count++] = Point3(*p, f.AtKey(kPointKeys[k]));
            segment->pointMask |= static_cast<std::uint8_t>(1u << k);
        }
    }
    segment->points = store_.MakeRun<RecordedPoint>(count, [&](void* place, std::size_t i) {
        new (place) RecordedPoint(segment, coordinates[i]);
    });
    if (known) NoteTarget("Point", target);
    segment->direction = f.Int32("direction");
    segment->fullCircle = f.Int32("fullCircle");
    f.Done();
    return segment;
}

RecordedCurve* Loader::ReadCurve(const json& j, const At& path, TargetName target, bool note) {
    Fields f(*this, j, path);
    auto* curve = store_.Make<RecordedCurve>(target);
    if (note) NoteTarget("Curve", curve->SharedTarget());
    curve->lineData = KeptDoubles(f.Get("lineData"), f.AtKey("lineData"));
    curve->circleData = KeptDoubles(f.Get("circleData"), f.AtKey("circleData"));
    curve->ellipseData = KeptDoubles(f.Get("ellipseData"), f.AtKey("ellipseData"));
    if (const json* p = f.Get("parameters")) {
        const At parametersAt = f.AtKey("parameters");
        Fields pf(*this, *p, parametersAt);
        curve->parameters.start = pf.Double("start");
        curve->parameters.end = pf.Double("end");
        curve->parameters.closed = pf.Bool16("closed");
        curve->parameters.periodic = pf.Bool16("periodic");
        curve->parameters.status = pf.Bool16("status");
        pf.Done();
    }
    if (const json* b = f.Get("bspline")) {
        const At bsplineAt = f.AtKey("bspline");
        Fields bf(*this, *b, bsplineAt);
        auto* data = store_.Make<RecordedBSplineData>(target);
        if (note) NoteTarget("BSplineData", data->SharedTarget());
        data->order = bf.Int32("order");
        data->dimension = bf.Int32("dimension");
        data->controlPoints = KeptDoubles(bf.Get("controlPoints"), bf.AtKey("controlPoints"));
        data->knots = KeptDoubles(bf.Get("knots"), bf.AtKey("knots"));
        bf.Done();
        curve->bspline = data;
    }
    f.Done();
    return curve;
}

RecordedTextFormat* Loader::ReadTextFormat(const json& j, const At& path,
                                           const std::string& target) {
    Fields f(*this, j, path);
    auto* tf = store_.Make<RecordedTextFormat>(target);
    NoteTarget("TextFormat", tf->SharedTarget());
    tf->isBackWards = f.Bool16("isBackWards");
    tf->isBold = f.Bool16("isBold");
    tf->charHeight = f.Double("charHeight");
    tf->charHeightInPoints = f.Int32("charHeightInPoints");
    tf->charSpacingFactor = f.Double("charSpacingFactor");
    tf->escapement = f.Double("escapement");
    tf->isItalic = f.Bool16("isItalic");
    tf->lineLength = f.Double("lineLength");
    tf->lineSpacing = f.Double("lineSpacing");
    tf->obliqueAngle = f.Double("obliqueAngle");
    tf->isStrikeOut = f.Bool16("isStrikeOut");
    tf->typeFaceName = f.String("typeFaceName");
    tf->isUnderline = f.Bool16("isUnderline");
    tf->isUpsideDown = f.Bool16("isUpsideDown");
    tf->isVertical = f.Bool16("isVertical");
    tf->widthFactor = f.Double("widthFactor");
    f.Done();
    return tf;
}

RecordedSectionLine* Loader::ReadSectionLine(const json& j, const At& path, RecordedView* view) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const char* idKey = nullptr;
    const std::string id = IdOf(f, name, &idKey);
    auto* line = store_.Make<RecordedSectionLine>(id);
    if (!id.empty()) DefineId(sectionLines_, "section line", id, line, f.AtKey(idKey));
    NoteTarget("SectionLine", line->SharedTarget());
    line->name = name;
    line->label = f.String("label");
    line->owner = view;
    if (const json* r = f.Get("owner")) {
        line->ownerGiven = true;
        Refer(views_, "view", *r, f.AtKey("owner"), &line->owner);
    }
    line->layer = f.String("layer");
    ForEach(f.Get("excludedComponents"), f.AtKey("excludedComponents"),
            [&](const json& c, const At& p) {
                line->excludedComponents.push_back(ReadComponent(c, p));
            });
    line->reversedCutDirection = f.Bool16("reversedCutDirection");
    line->aligned = f.Bool16("aligned");
    line->displayOnlySurfaceCut = f.Bool16("displayOnlySurfaceCut");
    line->partial = f.Bool16("partial");
    line->autoHatch = f.Bool16("autoHatch");
    line->depth = f.Double("depth");
    if (const json* t = f.Get("textFormat"))
        line->textFormat = ReadTextFormat(*t, f.AtKey("textFormat"), id);
    f.Done();
    return line;
}

RecordedDetailCircle* Loader::ReadDetailCircle(const json& j, const At& path, RecordedView* view) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const char* idKey = nullptr;
    const std::string id = IdOf(f, name, &idKey);
    auto* circle = store_.Make<RecordedDetailCircle>(id);
    if (!id.empty()) DefineId(detailCircles_, "detail circle", id, circle, f.AtKey(idKey));
    NoteTarget("DetailCircle", circle->SharedTarget());
    circle->name = name;
    circle->label = f.String("label");
    circle->owner = view;
    if (const json* r = f.Get("owner")) {
        circle->ownerGiven = true;
        Refer(views_, "view", *r, f.AtKey("owner"), &circle->owner);
    }
    circle->layer = f.String("layer");
    circle->displayKind = f.Int32("displayKind");
    circle->circleStyle = f.Int32("circleStyle");
    circle->fullOutline = f.Bool16("fullOutline");
    if (const json* t = f.Get("textFormat"))
        circle->textFormat = ReadTextFormat(*t, f.AtKey("textFormat"), id);
    if (const json* s = f.Get("profile")) circle->profile = ReadSketch(*s, f.AtKey("profile"), circle->SharedTarget());
    f.Done();
    return circle;
}

RecordedProjectionArrow* Loader::ReadProjectionArrow(const json& j, const At& path,
                                                     const std::string& owner) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const std::string target = name ? Utf8(*name) : owner;
    auto* arrow = store_.Make<RecordedProjectionArrow>(target);
    NoteTarget("ProjectionArrow", arrow->SharedTarget());
    arrow->name = name;
    arrow->label = f.String("label");
    arrow->coordinates = f.Doubles("coordinates");
    if (const json* t = f.Get("textFormat"))
        arrow->textFormat = ReadTextFormat(*t, f.AtKey("textFormat"), target);
    f.Done();
    return arrow;
}

RecordedBreakLine* Loader::ReadBreakLine(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    auto* line = store_.Make<RecordedBreakLine>(name ? Utf8(*name) : std::string());
    NoteTarget("BreakLine", line->Target());
    line->name = name;
    line->layer = f.String("layer");
    line->orientation = f.Int32("orientation");
    line->style = f.Int32("style");
    if (const json* p = f.Get("positions"))
        line->positions = Doubles(*p, f.AtKey("positions")).values;
    f.Done();
    return line;
}

RecordedSpecificFeature* Loader::ReadSpecificFeature(const json& j, const At& path,
                                                     const std::string& target,
                                                     RecordedFeature* holder) {
    Fields f(*this, j, path);
    auto* specific = store_.Make<RecordedSpecificFeature>(target);
    NoteTarget("SpecificFeature", specific->SharedTarget());
    if (const json* p = f.Get("picture"))
        specific->picture = ReadSketchPicture(*p, f.AtKey("picture"), target, holder);
    if (const json* b = f.Get("brokenOutSection")) {
        specific->brokenOutSection = ReadBrokenOutSection(*b, f.AtKey("brokenOutSection"), target);
    }
    f.Done();
    return specific;
}

RecordedBrokenOutSection* Loader::ReadBrokenOutSection(const json& j, const At& path,
                                                       const std::string& owner) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const std::string target = name ? Utf8(*name) : owner;
    auto* section = store_.Make<RecordedBrokenOutSection>(target);
    NoteTarget("BrokenOutSection", section->SharedTarget());
    section->name = name;
    section->depth = f.Double("depth");
    if (const json* s = f.Get("sketch"))
        section->sketch = ReadSketch(*s, f.AtKey("sketch"), section->SharedTarget());
    f.Done();
    return section;
}

RecordedAnnotation* Loader::ReadAnnotation(const json& j, const At& path,
                                           const std::string& target) {
    Fields f(*this, j, path);
    auto* annotation = store_.Make<RecordedAnnotation>(target);
    NoteTarget("Annotation", annotation->SharedTarget());
    annotation->layer = f.String("layer");
    annotation->position = f.Doubles("position");
    f.Done();
    return annotation;
}

RecordedNote* Loader::ReadNote(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const std::string target = name ? Utf8(*name) : std::string();
    auto* note = store_.Make<RecordedNote>(target);
    NoteTarget("Note", note->SharedTarget());
    note->name = name;
    note->balloon = f.Bool16("balloon");
    note->secondBalloon = f.Bool16("secondBalloon");
    note->balloonData = f.Doubles("balloonData");
    ForEach(f.Get("textLines"), f.AtKey("textLines"), [&](const json& t, const At& p) {
        note->textLines.push_back(t.is_null() ? SourceString() : SourceString(Text(t, p)));
    });
    note->textLineCount =
        f.Int32("textLineCount", static_cast<std::int32_t>(note->textLines.size()));
    if (const json* a = f.Get("annotation"))
        note->annotation = ReadAnnotation(*a, f.AtKey("annotation"), target);
    note->prompt = f.String("prompt");
    note->linkedText = f.String("linkedText");
    note->textPosition = f.Doubles("textPosition");
    note->leaderPoints = f.Doubles("leaderPoints");
    note->leaderData = f.Doubles("leaderData");
    if (const json* t = f.Get("textFormat"))
        note->textFormat = ReadTextFormat(*t, f.AtKey("textFormat"), target);
    f.Done();
    return note;
}

RecordedCenterMark* Loader::ReadCenterMark(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const std::string target = name ? Utf8(*name) : std::string();
    auto* mark = store_.Make<RecordedCenterMark>(target);
    NoteTarget("CenterMark", mark->SharedTarget());
    mark->name = name;
    mark->useDocumentDefaults = f.Bool16("useDocumentDefaults");
    mark->extendedLines = f.Bool16("extendedLines");
    mark->centerlineFont = f.Bool16("centerlineFont");
    mark->markSize = f.Double("markSize");
    mark->angle = f.Double("angle");
    mark->style = f.Int32("style");
    mark->groupCount = f.Int32("groupCount");
    if (const json* a = f.Get("annotation"))
        mark->annotation = ReadAnnotation(*a, f.AtKey("annotation"), target);
    f.Done();
    return mark;
}

RecordedFaceHatch* Loader::ReadFaceHatch(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    auto* hatch = store_.Make<RecordedFaceHatch>(name ? Utf8(*name) : std::string());
    NoteTarget("FaceHatch", hatch->Target());
    hatch->name = name;
    hatch->angle = f.Double("angle");
    hatch->color = f.Int32("color");
    hatch->definition = f.String("definition");
    hatch->pattern = f.String("pattern");
    hatch->patternId = f.Int32("patternId");
    hatch->scale = f.Double("scale");
    hatch->solidFill = f.Bool16("solidFill");
    hatch->useMaterialHatch = f.Bool16("useMaterialHatch");
    f.Done();
    return hatch;
}

RecordedSketchHatch* Loader::ReadSketchHatch(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    auto* hatch = store_.Make<RecordedSketchHatch>(name ? Utf8(*name) : std::string());
    NoteTarget("SketchHatch", hatch->Target());
    hatch->name = name;
    hatch->angle = f.Double("angle");
    hatch->color = f.Int32("color");
    hatch->pattern = f.String("pattern");
    hatch->patternId = f.Int32("patternId");
    hatch->scale = f.Double("scale");
    hatch->solidFill = f.Bool16("solidFill");
    f.Done();
    return hatch;
}

// Component trees nest as deep as their JSON; the reader recurses, so the
// nesting is bounded (real assemblies stay far below the bound).
constexpr std::size_t kMaxComponentDepth = 256;

RecordedDrawingComponent* Loader::ReadDrawingComponent(const json& j, const At& path) {
    if (componentDepth_ >= kMaxComponentDepth) {
        Fail(path, "drawing components nested deeper than " + std::to_string(kMaxComponentDepth) + " levels");
    }
    struct Nesting {
        std::size_t& depth;
        explicit Nesting(std::size_t& d) : depth(d) { ++depth; }
        ~Nesting() { --depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
    } nesting(componentDepth_);
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    auto* node = store_.Make<RecordedDrawingComponent>(name ? Utf8(*name) : std::string());
    NoteTarget("DrawingComponent", node->Target());
    node->name = name;
    if (const json* c = f.Get("component"))
        node->component = ReadComponent(*c, f.AtKey("component"));
    ForEach(f.Get("children"), f.AtKey("children"), [&](const json& c, const At& p) {
        node->children.push_back(ReadDrawingComponent(c, p));
    });
    f.Done();
    return node;
}

RecordedComponent* Loader::ReadComponent(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    auto* component = store_.Make<RecordedComponent>(name ? Utf8(*name) : std::string());
    NoteTarget("Component", component->Target());
    component->name = name;
    component->referencedConfiguration = f.String("referencedConfiguration");
    component->visibility = f.Int32("visibility");
    ForEach(f.Get("bodies"), f.AtKey("bodies"),
            [&](const json& b, const At& p) { component->bodies.push_back(ReadBody(b, p)); });
    if (const json* legacy = f.Get("legacyBodies")) {
        component->legacyBodies.emplace();
        ForEach(legacy, f.AtKey("legacyBodies"), [&](const json& b, const At& p) {
            component->legacyBodies->push_back(ReadBody(b, p));
        });
    }
    f.Done();
    return component;
}

RecordedBody* Loader::ReadBody(const json& j, const At& path) {
    Fields f(*this, j, path);
    const json* name = f.Get("name");
    const std::string target = name ? Utf8(Text(*name, f.AtKey("name"))) : std::string();
    auto* body = store_.Make<RecordedBody>(target);
    NoteTarget("Body", body->SharedTarget());
    if (name != nullptr) {
        body->naming = store_.Make<RecordedNamedEntity>(target);
        body->naming->name = Text(*name, f.AtKey("name"));
        NoteTarget("NamedEntity", target);
    }
    f.Done();
    return body;
}

RecordedBlockInstance* Loader::ReadBlockInstance(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const std::string target = name ? Utf8(*name) : std::string();
    auto* instance = store_.Make<RecordedBlockInstance>(target);
    NoteTarget("BlockInstance", instance->SharedTarget());
    instance->name = name;
    if (const json* p = f.Get("placement"))
        instance->placement = ReadPlacement(*p, f.AtKey("placement"), instance->SharedTarget());
    if (const json* r = f.Get("definition")) {
        Refer(blockDefinitions_, "block definition", *r, f.AtKey("definition"),
              &instance->definition);
    }
    f.Done();
    return instance;
}

RecordedBlockDefinition* Loader::ReadBlockDefinition(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const char* idKey = nullptr;
    const std::string id = IdOf(f, name, &idKey);
    auto* definition = store_.Make<RecordedBlockDefinition>(id);
    if (!id.empty())
        DefineId(blockDefinitions_, "block definition", id, definition, f.AtKey(idKey));
    NoteTarget("BlockDefinition", definition->SharedTarget());
    definition->name = name;
    if (const json* s = f.Get("sketch")) definition->sketch = ReadSketch(*s, f.AtKey("sketch"), definition->SharedTarget());
    definitionPaths_.push_back({definition, Keep(path)});
    f.Done();
    return definition;
}

RecordedFeature* Loader::ReadFeature(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString name = f.String("name");
    const char* idKey = nullptr;
    const std::string id = IdOf(f, name, &idKey);
    auto* feature = store_.Make<RecordedFeature>(id);
    if (!id.empty()) DefineId(features_, "feature", id, feature, f.AtKey(idKey));
    NoteTarget("Feature", feature->SharedTarget());
    feature->name = name;
    feature->typeName = f.String("typeName");
    if (const json* r = f.Get("owner"))
        Refer(features_, "feature", *r, f.AtKey("owner"), &feature->owner);
    if (const json* s = f.Get("specific"))
        feature->specific = ReadSpecificFeature(*s, f.AtKey("specific"), id, feature);
    featurePaths_.push_back({feature, Keep(path)});
    f.Done();
    return feature;
}

RecordedSketchPicture* Loader::ReadSketchPicture(const json& j, const At& path,
                                                 const std::string& target,
                                                 RecordedFeature* holder) {
    Fields f(*this, j, path);
    auto* picture = store_.Make<RecordedSketchPicture>(target);
    NoteTarget("SketchPicture", picture->SharedTarget());
    if (const json* p = f.Get("pixels")) picture->pixels = Shorts(*p, f.AtKey("pixels"));
    picture->feature = holder;
    if (const json* r = f.Get("feature"))
        Refer(features_, "feature", *r, f.AtKey("feature"), &picture->feature);
    if (const json* p = f.Get("position")) {
        const auto values = Doubles(*p, f.AtKey("position")).values;
        if (values.size() != 2) Fail(f.AtKey("position"), "expected [x, y]");
        picture->position = {values[0], values[1]};
    }
    if (const json* s = f.Get("size")) {
        if (!s->is_array() || s->size() != 2) Fail(f.AtKey("size"), "expected [width, height]");
        const At sizeAt = f.AtKey("size");
        picture->size = {Int32((*s)[0], At(sizeAt, std::size_t{0})),
                         Int32((*s)[1], At(sizeAt, std::size_t{1}))};
    }
    if (const json* b = f.Get("box")) {
        picture->box = store_.Make<RecordedPictureBox>(target);
        picture->box->box = Doubles(*b, f.AtKey("box"));
        NoteTarget("PictureBox", target);
    }
    picture->angle = f.Double("angle");
    picture->flipped = f.Bool16("flipped");
    f.Done();
    return picture;
}

RecordedOleObject* Loader::ReadOleObject(const json& j, const At& path) {
    Fields f(*this, j, path);
    const SourceString fileName = f.String("fileName");
    auto* object = store_.Make<RecordedOleObject>(fileName ? Utf8(*fileName) : std::string());
    NoteTarget("OleObject", object->Target());
    object->fileName = fileName;
    object->aspect = f.Int32("aspect");
    object->boundaries = f.Doubles("boundaries");
    object->classId = f.String("classId");
    object->linked = f.Bool16("linked");
    if (const json* d = f.Get("data")) object->data = Bytes(*d, f.AtKey("data"));
    if (const json* l = f.Get("linkedFile")) ReadLinkedFile(*l, f.AtKey("linkedFile"), fileName);
    f.Done();
    return object;
}

// {"data": bytes} or {"path": a file beside the recording}; the content of
// the file the OLE object names. Objects naming the same file must agree.
void Loader::ReadLinkedFile(const json& j, const At& path, const SourceString& fileName) {
    Fields f(*this, j, path);
    const json* data = f.Get("data");
    const json* standIn = f.Get("path");
    f.Done();
    if ((data == nullptr) == (standIn == nullptr))
        Fail(path, "a linked file needs exactly one of \"data\" and \"path\"");
    if (!fileName) Fail(path, "a linked file needs the OLE object's \"fileName\"");
    RecordedLinkedFile file;
    if (data != nullptr) {
        file.data = Bytes(*data, At(path, "data")).values;  // a file has no lower bound
    } else {
        const At pathPath(path, "path");
        const std::filesystem::path given = PathFromUtf8(Utf8(Text(*standIn, pathPath)));
        if (given.empty()) Fail(pathPath, "expected the name of a file beside the recording");
        file.standIn = given.is_absolute() ? given : baseDirectory_ / given;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file.standIn, ec))
            Fail(pathPath, "no file " + Quote(PathToUtf8(file.standIn)) + " to stand for the linked file");
    }
    auto& files = store_.application->fileSystem->files;
    const auto [at, added] = files.emplace(*fileName, file);
    if (!added && (at->second.data != file.data || at->second.standIn != file.standIn))
        Fail(path, "another OLE object gives other content for the file " + Quote(Utf8(*fileName)));
}

void Loader::ReadFault(const json& j, const At& path) {
    Fields f(*this, j, path);
    Fault fault{};
    const json* op = f.Get("op");
    if (op == nullptr) Fail(f.AtKey("op"), "a fault needs an \"op\" such as \"View.Name\"");
    if (!op->is_string())
        Fail(f.AtKey("op"), std::string("expected a string, found ") + TypeName(*op));
    const auto found = OpFromName(op->get<std::string>());
    if (!found) Fail(f.AtKey("op"), "unknown operation " + Quote(op->get<std::string>()));
    fault.op = *found;
    if (const json* target = f.Get("target")) {
        fault.target = Utf8(Text(*target, f.AtKey("target")));
        // Objects of these kinds can appear during a run, so their targets
        // cannot be checked now.
        static const std::set<std::string_view> kMadeDuringRun = {
            "Layer",       "Transform", "Placement", "MathPoint", "MathVector",   "MathUtility",
            "Application", "Document",  "Commands",  "Drawing",   "LayerManager", "FeatureList"};
        const std::string iface(OpInterface(fault.op));
        if (kMadeDuringRun.count(iface) == 0) {
            const auto* targets = TargetsOf(iface);
            if (targets == nullptr || targets->count(*fault.target) == 0) {
                Fail(f.AtKey("target"),
                     "no " + iface + " in the recording has the target " + Quote(*fault.target));
            }
        }
    }
    const json* hr = f.Get("hresult");
    if (hr == nullptr)
        Fail(f.AtKey("hresult"), "a fault needs an \"hresult\" such as \"0x800706BA\"");
    if (hr->is_string()) {
        const std::string& text = hr->get_ref<const std::string&>();
        std::size_t used = 0;
        unsigned long long value = 0;
        bool ok = text.size() > 2 && (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0);
        if (ok) {
            try {
                value = std::stoull(text.substr(2), &used, 16);
                ok = used == text.size() - 2 && value <= 0xFFFFFFFFull;
            } catch (const std::exception&) {
                ok = false;
            }
        }
        if (!ok)
            Fail(f.AtKey("hresult"),
                 Quote(text) + " is not a 32-bit hexadecimal HRESULT such as \"0x800706BA\"");
        fault.hr = static_cast<HRESULT>(static_cast<std::uint32_t>(value));
    } else {
        fault.hr = static_cast<HRESULT>(static_cast<std::uint32_t>(Integer(
            *hr, f.AtKey("hresult"), std::numeric_limits<std::int32_t>::min(), 0xFFFFFFFFll)));
    }
    if (const json* skip = f.Get("skip")) {
        fault.skip = Integer(*skip, f.AtKey("skip"), 0, std::numeric_limits<std::int64_t>::max());
    }
    if (const json* times = f.Get("times")) {
        fault.times =
            Integer(*times, f.AtKey("times"), 1, std::numeric_limits<std::int64_t>::max());
    }
    f.Done();
    store_.Faults().push_back(std::move(fault));
}

void Loader::CheckCycles() {
    // A feature must not own itself through its chain of owners. Each
    // feature is walked once: a walk stops at a feature an earlier walk
    // cleared, so checking every chain takes time linear in the features.
    std::unordered_map<const RecordedFeature*, std::size_t> walkOf;  // 1-based walk number
    for (std::size_t walk = 0; walk < featurePaths_.size(); ++walk) {
        const auto& [feature, path] = featurePaths_[walk];
        for (const RecordedFeature* f = feature; f != nullptr; f = f->owner) {
            const auto [it, isNew] = walkOf.emplace(f, walk + 1);
            if (isNew) continue;
            if (it->second == walk + 1)
                Fail(Spell(path) + "/owner", "the chain of feature owners forms a cycle");
            break;  // cleared by an earlier walk
        }
    }
    // A block definition must not contain an instance of itself, directly
    // or through nested blocks. A depth-first walk with its own stack: the
    // nesting of definitions is not bounded by the nesting of the JSON.
    enum class Mark { kNone, kActive, kDone };
    std::unordered_map<const RecordedBlockDefinition*, Mark> marks;
    struct Step {
        const RecordedBlockDefinition* definition;
        std::size_t next;  // the next instance of its sketch to follow
    };
    const auto instancesOf = [](const RecordedBlockDefinition* def) {
        static const std::vector<RecordedBlockInstance*> kNone;
        return def->sketch != nullptr ? &def->sketch->blockInstances : &kNone;
    };
    std::vector<Step> stack;
    for (const auto& [definition, path] : definitionPaths_) {
        if (marks[definition] == Mark::kDone) continue;
        marks[definition] = Mark::kActive;
        stack.push_back({definition, 0});
        while (!stack.empty()) {
            Step& top = stack.back();
            const auto* instances = instancesOf(top.definition);
            if (top.next == instances->size()) {
                marks[top.definition] = Mark::kDone;
                stack.pop_back();
                continue;
            }
            const RecordedBlockDefinition* inner = (*instances)[top.next++]->definition;
            if (inner == nullptr) continue;
            Mark& mark = marks[inner];
            if (mark == Mark::kActive)
                Fail(Spell(path), "block definitions contain each other in a cycle");
            if (mark == Mark::kDone) continue;
            mark = Mark::kActive;
            stack.push_back({inner, 0});
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------

namespace {

// Locations and problems are short by construction; this bounds them all
// the same, whatever a reader pasted in.
constexpr std::size_t kMaxMessagePart = 16 * kMaxQuote;

std::string ComposeMessage(const std::string& source, const std::string& location,
                           const std::string& problem) {
    std::string message = source;
    if (!location.empty()) message += ": " + location;
    return message + ": " + problem;
}

}  // namespace

RecordingError::RecordingError(const std::string& source, const std::string& location,
                               const std::string& problem)
    : std::runtime_error(ComposeMessage(source, Shorten(location, kMaxMessagePart),
                                        Shorten(problem, kMaxMessagePart))),
      source_(source),
      location_(Shorten(location, kMaxMessagePart)),
      problem_(Shorten(problem, kMaxMessagePart)) {}

namespace {

// Stand-in files of linked OLE objects are looked for in `baseDirectory`
// (the recording's folder; the current directory for a recording in memory).
template <class Text>
std::shared_ptr<Recording> LoadFrom(Text& text, const std::string& nameForErrors,
                                    const std::filesystem::path& baseDirectory) {
    auto store = std::make_shared<Store>(nameForErrors);
    Loader loader(*store, nameForErrors, baseDirectory);
    json root;
    TreeBuilder builder(
        nameForErrors, [&text](std::size_t offset) { return text.LineColumn(offset); }, root,
        loader);
    try {
        json::sax_parse(text.begin(), text.end(), &builder);
    } catch (const json::exception& e) {
        // Every error of the library reaches the builder's parse_error;
        // this is a safety net for any that does not.
        throw RecordingError(nameForErrors, "/", LibraryMessage(e));
    }
    try {
        loader.LoadRoot(root);
    } catch (const json::exception& e) {
        // The readers check types before they convert; should a conversion
        // still fail, it is reported like every other problem.
        throw RecordingError(nameForErrors, "/", LibraryMessage(e));
    }
    return std::make_shared<Recording>(std::move(store));
}

}  // namespace

std::shared_ptr<Recording> LoadRecordingFromString(std::string_view text,
                                                   const std::string& nameForErrors) {
    MemoryText memory(text);
    return LoadFrom(memory, nameForErrors, {});
}

std::shared_ptr<Recording> LoadRecording(const std::filesystem::path& path) {
    FileText text(path);
    return LoadFrom(text, PathToUtf8(path), path.parent_path());
}

// ---------------------------------------------------------------------------
// Recording

Recording::Recording(std::shared_ptr<Store> store) : store_(std::move(store)) {}

Ref<SourceApplication> Recording::Application() const {
    return store_->Share<SourceApplication>(store_->application);
}

Ref<SourceDocument> Recording::Document() const {
    return store_->Share<SourceDocument>(store_->document);
}

std::optional<std::wstring> Recording::DocumentPath() const { return store_->document->path; }

const Journal& Recording::GetJournal() const { return store_->GetJournal(); }

const std::string& Recording::SourceName() const { return store_->SourceName(); }

std::optional<std::wstring> Recording::ActiveSheet() const {
    const RecordedDrawing* drawing = store_->document->drawing;
    if (drawing == nullptr || drawing->activeSheet == nullptr) return std::nullopt;
    return drawing->activeSheet->name;
}

std::optional<std::wstring> Recording::ViewLayer(const std::wstring& viewName) const {
    const RecordedDrawing* drawing = store_->document->drawing;
    if (drawing == nullptr) return std::nullopt;
    const RecordedView* view = drawing->FindView(viewName);
    if (view == nullptr) return std::nullopt;
    return view->layer;
}

std::vector<std::wstring> Recording::SelectedViews() const {
    std::vector<std::wstring> names;
    for (const RecordedView* view : store_->selection)
        names.push_back(view->name.value_or(std::wstring()));
    return names;
}

std::vector<std::wstring> Recording::LayerNames() const {
    std::vector<std::wstring> names;
    for (const RecordedLayer* layer : store_->document->layerManager->layers)
        names.push_back(layer->name);
    return names;
}

std::optional<std::int32_t> Recording::IntegerPreference(std::int32_t code) const {
    const auto& prefs = store_->application->integerPreferences;
    const auto it = prefs.find(code);
    if (it == prefs.end()) return std::nullopt;
    return it->second;
}

bool Recording::Finished() const { return store_->document->finished; }

}  // namespace kvswx::recorded
