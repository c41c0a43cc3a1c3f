// Runs a fuzz target once over every file given, and every file of every
// folder given (not recursively), without libFuzzer: the seed corpora and
// the inputs that once failed are replayed as a test in every build. A
// crash or sanitizer report fails it; the exit status is 1 when a path is
// missing or no input was found.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunOne(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(path)) {
            files.push_back(path);
        } else {
            std::cerr << path.string() << ": no such file or folder\n";
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            RunOne(file);
            ++count;
        }
    }
    std::cout << count << " inputs replayed\n";
    return count == 0 ? 1 : 0;
}
