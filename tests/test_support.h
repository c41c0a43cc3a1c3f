// Helpers shared by the tests: a fresh process state, paths of the source
// tree, golden files and scratch folders.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/process_state.h"

namespace kvswx::test {

// A test that starts and ends with the process-wide state of a freshly
// loaded library.
class FreshProcessTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
    void TearDown() override { ResetProcessStateForTests(); }
};

inline std::filesystem::path SourceDir() { return KVSWX_SOURCE_DIR; }

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream os;
    os << in.rdbuf();
    return os.str();
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

// Compares `actual` with the golden file tests/golden/<name>. With the
// environment variable KVSWX_UPDATE_GOLDEN=1 the golden file is rewritten.
::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& actual);

// A fresh empty folder under the build tree, named after the running test.
std::filesystem::path ScratchDir();

}  // namespace kvswx::test
