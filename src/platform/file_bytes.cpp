#include "platform/file_bytes.h"

#include <fstream>
#include <system_error>

#include "platform/os.h"

namespace kvswx {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || ec) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (!in || size < 0) return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0) in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (!in || in.gcount() != size) return std::nullopt;
    return bytes;
}

std::filesystem::path PathOfWide(const std::wstring& name) { return PathFromWide(name); }

}  // namespace kvswx
