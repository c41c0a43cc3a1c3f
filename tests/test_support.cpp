#include <gtest/gtest.h>

#include "test_support.h"

#include <cstdlib>

namespace kvswx::test {

::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& actual) {
    const auto path = SourceDir() / "tests" / "golden" / name;
    const char* update = std::getenv("KVSWX_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        WriteFile(path, actual);
        return ::testing::AssertionSuccess();
    }
    if (!std::filesystem::exists(path)) {
        return ::testing::AssertionFailure() << "golden file missing: " << path
                                             << " (run with KVSWX_UPDATE_GOLDEN=1 to create it)";
    }
    const std::string expected = ReadFile(path);
    if (expected == actual) return ::testing::AssertionSuccess();
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
    const auto from = i < 40 ? 0 : i - 40;
    return ::testing::AssertionFailure()
           << "differs from " << path << " at byte " << i << "\n  expected: ..."
           << expected.substr(from, 120) << "\n  actual:   ..." << actual.substr(from, 120);
}

std::filesystem::path ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::path(KVSWX_BINARY_DIR) / "test-scratch" /
               (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace kvswx::test
