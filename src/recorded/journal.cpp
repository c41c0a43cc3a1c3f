#include "recorded/journal.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <stdexcept>

#include "platform/text.h"

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

Journal::Text Journal::Keep(std::string_view text) {
    const Text kept{texts_.size(), text.size()};
    texts_.append(text);
    return kept;
}

void Journal::Append(std::string_view op, std::string_view target, std::initializer_list<JournalArg> args) {
    Entry entry{Keep(op), Keep(target), args_.size(), args.size()};
    for (const JournalArg& arg : args) {
        Arg& kept = args_.emplace_back();
        kept.kind = arg.kind_;
        switch (arg.kind_) {
            case JournalArg::Kind::Integer:
                kept.integer = arg.integer_;
                break;
            case JournalArg::Kind::Real:
                kept.real = arg.real_;
                break;
            case JournalArg::Kind::Utf8:
                kept.text = Keep(arg.utf8_);
                break;
            case JournalArg::Kind::Wide: {
                // ASCII is copied as it is; anything else converted whole.
                kept.kind = JournalArg::Kind::Utf8;
                const std::wstring_view wide = arg.wide_;
                std::size_t ascii = 0;
                while (ascii < wide.size() && wide[ascii] < 0x80) ++ascii;
                if (ascii == wide.size()) {
                    kept.text = {texts_.size(), wide.size()};
                    texts_.resize(texts_.size() + wide.size());
                    std::copy(wide.begin(), wide.end(), texts_.end() - static_cast<std::ptrdiff_t>(wide.size()));
                } else {
                    kept.text = Keep(ToUtf8(wide));
                }
                break;
            }
            case JournalArg::Kind::Null:
                break;
        }
    }
    entries_.push_back(entry);
}

JournalEntry Journal::Unpack(const Entry& entry) const {
    const auto text = [&](Text t) { return std::string(texts_, t.offset, t.length); };
    JournalEntry out{text(entry.op), text(entry.target)};
    for (std::size_t i = entry.firstArg; i < entry.firstArg + entry.argCount; ++i) {
        const Arg& arg = args_[i];
        switch (arg.kind) {
            case JournalArg::Kind::Integer:
                out.args.push_back(arg.integer);
                break;
            case JournalArg::Kind::Real:
                out.args.push_back(arg.real);
                break;
            case JournalArg::Kind::Utf8:
            case JournalArg::Kind::Wide:
                out.args.push_back(text(arg.text));
                break;
            case JournalArg::Kind::Null:
                out.args.push_back(nullptr);
                break;
        }
    }
    return out;
}

std::vector<JournalEntry> Journal::Entries() const {
    std::vector<JournalEntry> out;
    out.reserve(entries_.size());
    for (const Entry& entry : entries_) out.push_back(Unpack(entry));
    return out;
}

void Journal::Clear() {
    entries_.clear();
    args_.clear();
    texts_.clear();
}

std::string Journal::ToJsonLines() const {
    std::string text;
    for (const Entry& entry : entries_) {
        text += Unpack(entry).ToJson();
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
