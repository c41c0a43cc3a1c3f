// kvswx roundtrip: reads an XML file of ours into the drawing model, writes
// the model again and compares the bytes.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "commands.h"
#include "containers/xml_wrapper.h"
#include "platform/text.h"

namespace kvswx::cli {

namespace {

struct RoundtripOptions {
    std::string file;
    std::string out;
};

// Up to 40 bytes of `s` from `from`, on one line, with control characters
// shown as escapes.
std::string Excerpt(const std::string& s, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < s.size() && i < from + 40; ++i) {
        const char c = s[i];
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    if (from + 40 < s.size()) out += "...";
    return out;
}

// The first difference between `original` and `written`: byte offset, line
// and column (from 1), and a short excerpt of each side from there. Empty
// when the two are identical.
std::string DescribeFirstDifference(const std::string& original, const std::string& written) {
    const auto [a, b] =
        std::mismatch(original.begin(), original.end(), written.begin(), written.end());
    if (a == original.end() && b == written.end()) return {};
    const auto offset = static_cast<std::size_t>(a - original.begin());
    const auto line = 1 + std::count(original.begin(), a, '\n');
    const std::size_t lineStart =
        offset == 0 ? std::string::npos : original.rfind('\n', offset - 1);
    const std::size_t column = offset - (lineStart == std::string::npos ? 0 : lineStart + 1) + 1;
    std::ostringstream os;
    os << "first difference at byte " << offset << " (line " << line << ", column " << column
       << "): read '" << Excerpt(original, offset) << "', written '" << Excerpt(written, offset)
       << "'";
    if (a == original.end()) os << " (the file ends there)";
    if (b == written.end()) os << " (the written bytes end there)";
    return os.str();
}

int RunRoundtrip(const RoundtripOptions& options) {
    std::ifstream in(options.file, std::ios::binary);
    if (!in) {
        std::cerr << "kvswx: " << options.file << ": cannot open the file\n";
        return kExitFailed;
    }
    std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        std::cerr << "kvswx: " << options.file << ": cannot read the file\n";
        return kExitFailed;
    }
    std::string written;
    try {
        KVSWX_XMLWrapper wrapper;
        wrapper.LoadFromString(original, FromUtf8(options.file));
        written = wrapper.ToBytes();
    } catch (const std::exception& e) {
        std::cerr << "kvswx: " << e.what() << '\n';
        return kExitFailed;
    }
    if (!options.out.empty()) {
        std::ofstream out(options.out, std::ios::binary | std::ios::trunc);
        out.write(written.data(), static_cast<std::streamsize>(written.size()));
        out.flush();
        if (!out) {
            std::cerr << "kvswx: " << options.out << ": cannot write the file\n";
            return kExitFailed;
        }
    }
    const std::string difference = DescribeFirstDifference(original, written);
    if (difference.empty()) return kExitOk;
    std::cerr << "kvswx: " << options.file << ": " << difference << '\n';
    return kExitFailed;
}

}  // namespace

void AddRoundtripCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<RoundtripOptions>();
    CLI::App* roundtrip = app.add_subcommand(
        "roundtrip",
        "Read an XML file written by kvswx into the drawing model and write it again. Exit status "
        "0 "
        "when the bytes are identical; otherwise 1, with the first difference on stderr.");
    roundtrip->add_option("FILE", options->file, "The XML file to read")->required();
    roundtrip->add_option("-o,--out", options->out, "Also write the bytes written to this file");
    roundtrip->callback([options, &status] { status = RunRoundtrip(*options); });
}

}  // namespace kvswx::cli
