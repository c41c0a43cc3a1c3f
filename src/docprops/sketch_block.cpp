#include "docprops/sketch_block.h"

#include "model/xml_helpers.h"
#include "views/sketch_segments.h"

namespace kvswx {

KVSWX_SketchBlockImpl::KVSWX_SketchBlockImpl() = default;

// Nested blocks first to last, then the base destroys the segments.
KVSWX_SketchBlockImpl::~KVSWX_SketchBlockImpl() {
    for (auto& block : nested_) block.reset();
}

void KVSWX_SketchBlockImpl::SetName(const std::wstring& name) { name_ = name; }
const std::wstring& KVSWX_SketchBlockImpl::GetName() const { return name_; }
const std::vector<std::unique_ptr<KVSWX_SketchBlockImpl>>& KVSWX_SketchBlockImpl::GetNestedBlocks()
    const {
    return nested_;
}

KVSWX_SketchBlockImpl* KVSWX_SketchBlockImpl::AddNestedBlock() {
    nested_.push_back(std::make_unique<KVSWX_SketchBlockImpl>());
    return nested_.back().get();
}

void KVSWX_SketchBlockImpl::Write(XmlDocument& doc, XmlNode parent) {
    AttributeMap attributes;
    attributes.emplace(L"Name", name_);
    XmlNode element = CreateChildElement(doc, parent, L"SketchBlock", {}, attributes);
    if (GetSegments() != nullptr && !GetSegments()->IsEmpty())
        GetSegments()->GetImpl()->Write(doc, element);
    if (!nested_.empty()) {
        XmlNode wrapper = CreateChildElement(doc, element, L"SketchBlocks");
        for (const auto& block : nested_) block->Write(doc, wrapper);
        CloseElement(doc, wrapper);
    }
    CloseElement(doc, element);
}

void KVSWX_SketchBlockImpl::ReadFromNode(XmlDocument& doc, XmlNode node) {
    ReadAtDepth(doc, node, 1);
}

void KVSWX_SketchBlockImpl::ReadAtDepth(XmlDocument& doc, XmlNode node, std::size_t depth) {
    name_ = GetAttributeValue(node, L"Name");
    KVSWX_SketchSegmentsCollection* segments = NewSegments();
    std::vector<XmlNode> nestedNodes;
    bool segmentsRead = false;
    for (const XmlNode& child : node.ChildNodes()) {
        if (!child.IsElement()) continue;
        const std::wstring childName = child.Name();
        if (childName == L"Segments" && !segmentsRead) {
            segments->GetImpl()->ReadFromNode(doc, child);
            segmentsRead = true;
        } else if (childName == L"SketchBlocks") {
            for (const XmlNode& item : child.ChildNodes()) {
                if (item.IsElement()) nestedNodes.push_back(item);
            }
        }
    }
    if (depth >= kMaxSketchBlockDepth) return;
    for (const XmlNode& item : nestedNodes) AddNestedBlock()->ReadAtDepth(doc, item, depth + 1);
}

KVSWX_SketchBlock::KVSWX_SketchBlock() : d_(std::make_unique<KVSWX_SketchBlockImpl>()) {}
KVSWX_SketchBlock::~KVSWX_SketchBlock() = default;
I_Serializable* KVSWX_SketchBlock::GetImpl() const { return d_.get(); }
KVSWX_SegmentedSketchImpl* KVSWX_SketchBlock::GetSketchImpl() const { return d_.get(); }
KVSWX_SketchBlockImpl* KVSWX_SketchBlock::GetBlockImpl() const { return d_.get(); }
void KVSWX_SketchBlock::SetName(const std::wstring& name) { d_->SetName(name); }
const std::wstring& KVSWX_SketchBlock::GetName() const { return d_->GetName(); }

}  // namespace kvswx
