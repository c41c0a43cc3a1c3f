#include "recorded/linked_files.h"

#include "platform/file_bytes.h"

namespace kvswx::recorded {

std::optional<std::vector<std::uint8_t>> RecordedFileSystem::ReadWholeFile(
    const std::wstring& directory, const std::wstring& file) {
    Call(Op::FileSystem_ReadWholeFile);
    const auto found = files.find(directory + file);
    if (found == files.end()) return std::nullopt;
    if (found->second.data) return found->second.data;
    return ReadFileBytes(found->second.standIn);
}

Ref<SourceFileSystem> RecordedApplication::FileSystem() {
    return GetRef<SourceFileSystem>(Op::Application_FileSystem, fileSystem);
}

}  // namespace kvswx::recorded
