// The recorded machine's files: what linked OLE objects name. Recorded
// Windows paths do not exist where recordings are played back, so a
// recording gives each linked file's content itself: its bytes, or a file
// beside the recording that stands for it. A name the recording gives no
// content for is a file that is absent.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "recorded/store.h"

namespace kvswx::recorded {

struct RecordedLinkedFile {
    std::optional<std::vector<std::uint8_t>> data;  // the bytes, when recorded inline
    std::filesystem::path standIn;                  // otherwise the file read in their place
};

class RecordedFileSystem final : public Element, public SourceFileSystem {
public:
    using Element::Element;
    // Looks up directory + file, exactly as the OLE object's file name was
    // recorded. A stand-in file is read when asked for, like a real one.
    std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& directory,
                                                           const std::wstring& file) override;
    std::map<std::wstring, RecordedLinkedFile> files;
};

}  // namespace kvswx::recorded
