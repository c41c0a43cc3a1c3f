// The journal of a recorded run: every call that changes the recorded
// application's state, in call order, as {op, target, args}.
#pragma once

#include <concepts>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvswx::recorded {

struct JournalEntry {
    std::string op;      // "Drawing.ActivateSheet"
    std::string target;  // the object called, as faults name it ("" when unnamed)
    nlohmann::ordered_json args = nlohmann::ordered_json::array();

    // One JSON object {"op":..,"target":..,"args":[..]} without a line end.
    std::string ToJson() const;
};

// One argument of a journaled call: a signed integer, a number, a text
// (wide text is kept as UTF-8) or null. It only refers to the text it was
// given; the journal copies it.
class JournalArg {
public:
    template <std::signed_integral T>
        requires(!std::same_as<T, bool>)
    JournalArg(T value) : kind_(Kind::Integer), integer_(value) {}
    JournalArg(double value) : kind_(Kind::Real), real_(value) {}
    JournalArg(std::string_view utf8) : kind_(Kind::Utf8), utf8_(utf8) {}
    JournalArg(const char* utf8) : JournalArg(std::string_view(utf8)) {}
    JournalArg(const std::wstring& text) : kind_(Kind::Wide), wide_(text) {}
    // Null when there is no text.
    JournalArg(const std::optional<std::wstring>& text) : JournalArg(std::nullptr_t{}) {
        if (text) *this = JournalArg(*text);
    }
    JournalArg(std::nullptr_t) : kind_(Kind::Null) {}

private:
    friend class Journal;
    enum class Kind : std::uint8_t { Integer, Real, Utf8, Wide, Null };
    Kind kind_;
    union {
        std::int64_t integer_;
        double real_;
        std::string_view utf8_;
        std::wstring_view wide_;
    };
};

// Entries are kept packed (their texts in one buffer), so journaling a
// call allocates nothing most of the time; Entries() unpacks them.
class Journal {
public:
    void Append(std::string_view op, std::string_view target, std::initializer_list<JournalArg> args);
    std::vector<JournalEntry> Entries() const;
    std::size_t Size() const { return entries_.size(); }
    void Clear();

    // JSON Lines: one entry per line, each ended by "\n".
    std::string ToJsonLines() const;
    void WriteJsonLines(std::ostream& out) const;
    // Writes the JSON Lines to a file (replacing it); throws std::runtime_error
    // naming the file when it cannot be written.
    void WriteJsonLines(const std::filesystem::path& path) const;

private:
    struct Text {
        std::size_t offset;
        std::size_t length;
    };
    struct Arg {
        JournalArg::Kind kind;  // never Wide: kept as Utf8
        union {
            std::int64_t integer;
            double real;
            Text text;
        };
    };
    struct Entry {
        Text op;
        Text target;
        std::size_t firstArg;
        std::size_t argCount;
    };

    Text Keep(std::string_view text);
    JournalEntry Unpack(const Entry& entry) const;

    std::vector<Entry> entries_;
    std::vector<Arg> args_;
    std::string texts_;
};

}  // namespace kvswx::recorded
