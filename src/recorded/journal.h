// The journal of a recorded run: every call that changes the recorded
// application's state, in call order, as {op, target, args}.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace kvswx::recorded {

struct JournalEntry {
    std::string op;      // "Drawing.ActivateSheet"
    std::string target;  // the object called, as faults name it ("" when unnamed)
    nlohmann::ordered_json args = nlohmann::ordered_json::array();

    // One JSON object {"op":..,"target":..,"args":[..]} without a line end.
    std::string ToJson() const;
};

class Journal {
public:
    void Append(JournalEntry entry) { entries_.push_back(std::move(entry)); }
    const std::vector<JournalEntry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

    // JSON Lines: one entry per line, each ended by "\n".
    std::string ToJsonLines() const;
    void WriteJsonLines(std::ostream& out) const;
    // Writes the JSON Lines to a file (replacing it); throws std::runtime_error
    // naming the file when it cannot be written.
    void WriteJsonLines(const std::filesystem::path& path) const;

private:
    std::vector<JournalEntry> entries_;
};

}  // namespace kvswx::recorded
