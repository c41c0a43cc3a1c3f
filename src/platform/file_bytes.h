// Reading a file whole, in binary.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kvswx {

// The bytes of the regular file at `path`; nullopt when it does not exist,
// is not a regular file, cannot be opened, or its size cannot be learned or
// read whole. Never changes the process's current directory.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path);

// A wide file name as a path of this platform (UTF-8 on POSIX).
std::filesystem::path PathOfWide(const std::wstring& name);

}  // namespace kvswx
