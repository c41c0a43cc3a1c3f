#include "containers/xml_wrapper.h"

#include <stdexcept>

#include "platform/text.h"

namespace kvswx {

KVSWX_XMLWrapper::KVSWX_XMLWrapper() : drawing_(std::make_unique<KVSWX_Drawing>()) {}
KVSWX_XMLWrapper::~KVSWX_XMLWrapper() = default;

KVSWX_Drawing* KVSWX_XMLWrapper::NewDrawing() {
    drawing_.reset();
    drawing_ = std::make_unique<KVSWX_Drawing>();
    return drawing_.get();
}

void KVSWX_XMLWrapper::BuildDocument(XmlDocument& doc) const {
    doc.AsNode().AppendProcessingInstruction(L"xml", L"version='1.0' encoding='UTF-8'");
    if (drawing_) drawing_->GetImpl()->Write(doc, doc.AsNode());
}

std::string KVSWX_XMLWrapper::ToBytes() const {
    XmlDocument doc;
    BuildDocument(doc);
    return doc.ToBytes();
}

bool KVSWX_XMLWrapper::Save(const std::wstring& path) const {
    XmlDocument doc;
    BuildDocument(doc);
    return doc.Save(xml::WidePath(path));
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
