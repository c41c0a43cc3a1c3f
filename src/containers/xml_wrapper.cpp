#include "containers/xml_wrapper.h"

#include <stdexcept>

#include "model/process_state.h"
#include "model/xml_helpers.h"
#include "platform/text.h"
#include "platform/xml_stream.h"

namespace kvswx {

KVSWX_XMLWrapper::KVSWX_XMLWrapper() : drawing_(std::make_unique<KVSWX_Drawing>()) {}
KVSWX_XMLWrapper::~KVSWX_XMLWrapper() = default;

KVSWX_Drawing* KVSWX_XMLWrapper::NewDrawing() {
    drawing_.reset();
    drawing_ = std::make_unique<KVSWX_Drawing>();
    return drawing_.get();
}

void KVSWX_XMLWrapper::BuildDocument(XmlDocument& doc) const {
    AppendProcessingInstruction(doc, doc.AsNode(), L"xml", L"version='1.0' encoding='UTF-8'");
    if (drawing_) drawing_->GetImpl()->Write(doc, doc.AsNode());
}

namespace {

// Writes through a streamed document, which needs no tree; should a record
// ever write out of order, the writing state is put back and `fallback`
// writes the same bytes through a tree.
template <class Streamed, class Tree>
auto WriteStreamed(Streamed&& streamed, Tree&& tree) {
    ProcessState& state = Process();
    const std::int32_t depth = state.indentDepth;
    const LastCreatedElement last = state.lastCreatedElement;
    try {
        return streamed();
    } catch (const xml::OutOfOrder&) {
        state.indentDepth = depth;
        state.lastCreatedElement = last;
    }
    return tree();
}

}  // namespace

std::string KVSWX_XMLWrapper::ToBytes() const {
    return WriteStreamed(
        [&] {
            XmlDocument doc(XmlDocument::Streamed, {});
            BuildDocument(doc);
            return doc.ToBytes();
        },
        [&] {
            XmlDocument doc;
            BuildDocument(doc);
            return doc.ToBytes();
        });
}

bool KVSWX_XMLWrapper::Save(const std::wstring& path) const {
    const std::filesystem::path file = xml::WidePath(path);
    return WriteStreamed(
        [&] {
            XmlDocument doc(XmlDocument::Streamed, file);
            BuildDocument(doc);
            return doc.Save(file);
        },
        [&] {
            XmlDocument doc;
            BuildDocument(doc);
            return doc.Save(file);
        });
}

void KVSWX_XMLWrapper::ReadDocument(XmlDocument& doc) {
    NewDrawing()->GetImpl()->ReadFromDocument(doc, L"/swdrawing");
}

void KVSWX_XMLWrapper::Load(const std::wstring& path) {
    XmlDocument doc;
    const auto result = doc.LoadFile(xml::WidePath(path));
    if (!result.ok) throw std::runtime_error(ToUtf8(path) + ": " + result.error);
    ReadDocument(doc);
}

void KVSWX_XMLWrapper::LoadFromString(const std::string& utf8, const std::wstring& nameForErrors) {
    XmlDocument doc;
    const auto result = doc.LoadString(utf8);
    if (!result.ok) throw std::runtime_error(ToUtf8(nameForErrors) + ": " + result.error);
    ReadDocument(doc);
}

}  // namespace kvswx
