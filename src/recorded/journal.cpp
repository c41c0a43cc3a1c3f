#include "recorded/journal.h"

#include <fstream>
#include <ostream>
#include <stdexcept>

namespace kvswx::recorded {

std::string JournalEntry::ToJson() const {
    nlohmann::ordered_json line;
    line["op"] = op;
    line["target"] = target;
    line["args"] = args;
    // Replace invalid UTF-8 rather than throw: a journal line must always be
    // writable, whatever text the run passed.
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string Journal::ToJsonLines() const {
    std::string text;
    for (const JournalEntry& entry : entries_) {
        text += entry.ToJson();
        text += '\n';
    }
    return text;
}

void Journal::WriteJsonLines(std::ostream& out) const { out << ToJsonLines(); }

void Journal::WriteJsonLines(const std::filesystem::path& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error(path.string() + ": cannot open the journal file for writing");
    WriteJsonLines(out);
    out.flush();
    if (!out) throw std::runtime_error(path.string() + ": cannot write the journal file");
}

}  // namespace kvswx::recorded
