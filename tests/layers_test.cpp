// The folders of src/ are layers: a file may include headers of its own
// folder and of the folders below it, never of one above or beside it.
// docs/architecture.md draws the same table.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace kvswx {
namespace {

namespace fs = std::filesystem;

// Folder -> the folders its files may include besides its own. "kvswx" is
// the public C header under include/, which depends on nothing.
const std::map<std::string, std::set<std::string>>& AllowedIncludes() {
    static const std::map<std::string, std::set<std::string>> table = [] {
        std::map<std::string, std::set<std::string>> t;
        t["platform"] = {"kvswx"};
        t["model"] = {"kvswx", "platform"};
        // The records: one layer, so they may use each other.
        t["views"] = {"kvswx", "platform", "model", "docprops"};
        t["docprops"] = {"kvswx", "platform", "model", "views"};
        t["containers"] = {"kvswx", "platform", "model", "views", "docprops"};
        // The interfaces of the source application know only the platform.
        t["source"] = {"kvswx", "platform"};
        t["extract"] = {"kvswx", "platform", "model", "views", "docprops", "containers", "source"};
        // A provider knows the interfaces, never the records or extraction.
        t["recorded"] = {"kvswx", "platform", "source"};
        t["entry"] = {"kvswx", "platform", "model", "views", "docprops", "containers", "source", "extract"};
        return t;
    }();
    return table;
}

TEST(Layers, NoIncludePointsUpOrAside) {
    const fs::path src = test::SourceDir() / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"/]+)/[^"]*")re");
    std::vector<std::string> violations;
    std::size_t checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), src);
        const std::string folder = relative.begin()->string();
        const auto allowed = AllowedIncludes().find(folder);
        if (allowed == AllowedIncludes().end()) {
            violations.push_back(relative.string() + ": folder src/" + folder + " has no place in the layer table");
            continue;
        }
        const std::string text = test::ReadFile(entry.path());
        std::size_t lineNumber = 0;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            const std::string line = text.substr(start, end - start);
            start = end + 1;
            ++lineNumber;
            std::smatch match;
            if (!std::regex_search(line, match, include)) continue;
            ++checked;
            const std::string target = match[1].str();
            if (target != folder && allowed->second.count(target) == 0) {
                violations.push_back(relative.string() + ":" + std::to_string(lineNumber) + ": includes " +
                                     target + "/");
            }
        }
    }
    EXPECT_GT(checked, 50u) << "the scan found too few includes to be looking at src/";
    for (const std::string& v : violations) ADD_FAILURE() << v;
}

}  // namespace
}  // namespace kvswx
