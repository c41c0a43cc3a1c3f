// Owns the drawing model of one run and writes it as an XML file; also loads
// a saved file back into a new model.
#pragma once

#include <memory>
#include <string>

#include "containers/drawing.h"

namespace kvswx {

class KVSWX_XMLWrapper {
public:
    KVSWX_XMLWrapper();
    virtual ~KVSWX_XMLWrapper();
    KVSWX_XMLWrapper(const KVSWX_XMLWrapper&) = delete;
    KVSWX_XMLWrapper& operator=(const KVSWX_XMLWrapper&) = delete;

    // Replaces the current drawing with a new empty one and returns it.
    KVSWX_Drawing* NewDrawing();
    KVSWX_Drawing* GetDrawing() const { return drawing_.get(); }

    // The bytes Save writes.
    std::string ToBytes() const;
    // Writes the drawing to `path` (whole or not at all). False when the file
    // cannot be written.
    bool Save(const std::wstring& path) const;

    // Parses `path` and reads it into a new drawing from "/swdrawing".
    // Throws std::runtime_error naming the file and the parse error.
    void Load(const std::wstring& path);
    void LoadFromString(const std::string& utf8, const std::wstring& nameForErrors = L"<string>");

private:
    void BuildDocument(XmlDocument& doc) const;
    void ReadDocument(XmlDocument& doc);

    std::unique_ptr<KVSWX_Drawing> drawing_;
};

}  // namespace kvswx
