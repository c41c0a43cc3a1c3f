#include "views/segmented_sketch.h"

#include <utility>

#include "docprops/sketch_block.h"
#include "model/encodings.h"
#include "model/located.h"
#include "model/xml_helpers.h"
#include "views/sketch_segments.h"

namespace kvswx {

// ---- base ------------------------------------------------------------------

KVSWX_SegmentedSketchImpl::KVSWX_SegmentedSketchImpl() = default;
KVSWX_SegmentedSketchImpl::~KVSWX_SegmentedSketchImpl() = default;

KVSWX_SketchSegmentsCollection* KVSWX_SegmentedSketchImpl::GetSegments() const {
    return segments_.get();
}

KVSWX_SketchSegmentsCollection* KVSWX_SegmentedSketchImpl::NewSegments() {
    segments_ = std::make_unique<KVSWX_SketchSegmentsCollection>();
    return segments_.get();
}

void KVSWX_SegmentedSketchImpl::ReadFromNode(XmlDocument& doc, XmlNode node) {
    for (const XmlNode& child : node.ChildNodes()) ReadSegmentsChild(doc, child);
}

void KVSWX_SegmentedSketchImpl::Write(XmlDocument& doc, XmlNode parent) {
    if (segments_) segments_->GetImpl()->Write(doc, parent);
}

bool KVSWX_SegmentedSketchImpl::ReadSegmentsChild(XmlDocument& doc, XmlNode child) {
    if (!child.IsElement() || child.Name() != L"Segments") return false;
    NewSegments()->GetImpl()->ReadFromNode(doc, child);
    return true;
}

KVSWX_SegmentedSketch::~KVSWX_SegmentedSketch() = default;
KVSWX_SketchSegmentsCollection* KVSWX_SegmentedSketch::NewSegments() {
    return GetSketchImpl()->NewSegments();
}
KVSWX_SketchSegmentsCollection* KVSWX_SegmentedSketch::GetSegments() const {
    return GetSketchImpl()->GetSegments();
}

// ---- center lines ----------------------------------------------------------

namespace {

// The first "Segments" child of the elements, in document order: what
// location + "/Segments" selects first.
XmlNode FirstSegments(const Located& at) {
    for (const XmlNode& element : at.Elements()) {
        for (XmlNode child = element.FirstChild(); child; child = child.NextSibling()) {
            if (child.IsElement() && child.NameUtf8() == "Segments") return child;
        }
    }
    return XmlNode();
}

}  // namespace

// Read by location; after reading there is always a collection.
class KVSWX_CenterLineImpl final : public KVSWX_SegmentedSketchImpl, public ElementsReader {
public:
    void ReadFromNode(XmlDocument&, XmlNode) override {}

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReadElements(doc, Located(doc, location));
    }

    void ReadElements(XmlDocument& doc, const Located& at) override {
        KVSWX_SketchSegmentsCollection* segments = NewSegments();
        const XmlNode list = FirstSegments(at);
        if (list) segments->GetImpl()->ReadFromNode(doc, list);
    }
};

KVSWX_CenterLine::KVSWX_CenterLine() : d_(std::make_unique<KVSWX_CenterLineImpl>()) {}
KVSWX_CenterLine::~KVSWX_CenterLine() = default;
I_Serializable* KVSWX_CenterLine::GetImpl() const { return d_.get(); }
KVSWX_SegmentedSketchImpl* KVSWX_CenterLine::GetSketchImpl() const { return d_.get(); }

// ---- crop profile ----------------------------------------------------------

// Read by location; without a "Segments" child there is no collection.
class KVSWX_CropProfileImpl final : public KVSWX_SegmentedSketchImpl, public ElementsReader {
public:
    void ReadFromNode(XmlDocument&, XmlNode) override {}

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReadElements(doc, Located(doc, location));
    }

    void ReadElements(XmlDocument& doc, const Located& at) override {
        const XmlNode element = at.First();
        if (element) KVSWX_SegmentedSketchImpl::ReadFromNode(doc, element);
    }
};

KVSWX_CropProfile::KVSWX_CropProfile() : d_(std::make_unique<KVSWX_CropProfileImpl>()) {}
KVSWX_CropProfile::~KVSWX_CropProfile() = default;
I_Serializable* KVSWX_CropProfile::GetImpl() const { return d_.get(); }
KVSWX_SegmentedSketchImpl* KVSWX_CropProfile::GetSketchImpl() const { return d_.get(); }

// ---- manual geometry -------------------------------------------------------

class KVSWX_ManualGeometryImpl final : public KVSWX_SegmentedSketchImpl, public ElementsReader {
public:
    KVSWX_ManualGeometry::SketchBlockList sketchBlocks;

    ~KVSWX_ManualGeometryImpl() override {
        // Sketch blocks go first to last, then the base destroys the segments.
        for (auto& block : sketchBlocks) block.reset();
    }

    bool HasSegments() const { return GetSegments() != nullptr && !GetSegments()->IsEmpty(); }

    // Empty or missing segments write no "Segments" element.
    void Write(XmlDocument& doc, XmlNode parent) override {
        if (HasSegments()) GetSegments()->GetImpl()->Write(doc, parent);
        WriteCollection(doc, parent, L"SketchBlocks", sketchBlocks);
    }

    void ReadFromNode(XmlDocument&, XmlNode) override {}

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReadElements(doc, Located(doc, location));
    }

    // The segments, then one sketch block per element under "SketchBlocks".
    void ReadElements(XmlDocument& doc, const Located& at) override {
        KVSWX_SketchSegmentsCollection* segments = NewSegments();
        const XmlNode list = FirstSegments(at);
        if (list) segments->GetImpl()->ReadFromNode(doc, list);
        ForEachWrappedElement(at, "SketchBlocks", [&](XmlNode node) {
            auto block = std::make_unique<KVSWX_SketchBlock>();
            block->GetImpl()->ReadFromNode(doc, node);
            sketchBlocks.push_back(std::move(block));
        });
    }
};

KVSWX_ManualGeometry::KVSWX_ManualGeometry() : d_(std::make_unique<KVSWX_ManualGeometryImpl>()) {}
KVSWX_ManualGeometry::~KVSWX_ManualGeometry() = default;
I_Serializable* KVSWX_ManualGeometry::GetImpl() const { return d_.get(); }
KVSWX_SegmentedSketchImpl* KVSWX_ManualGeometry::GetSketchImpl() const { return d_.get(); }
bool KVSWX_ManualGeometry::IsEmpty() const {
    return !d_->HasSegments() && d_->sketchBlocks.empty();
}
const KVSWX_ManualGeometry::SketchBlockList& KVSWX_ManualGeometry::GetSketchBlocks() const {
    return d_->sketchBlocks;
}
KVSWX_SegmentedSketch* KVSWX_ManualGeometry::AddSketchBlock(
    std::unique_ptr<KVSWX_SegmentedSketch> block) {
    if (!block) return nullptr;
    d_->sketchBlocks.push_back(std::move(block));
    return d_->sketchBlocks.back().get();
}

// ---- broken-out section ----------------------------------------------------

class KVSWX_BrokenOutSectionImpl final : public KVSWX_SegmentedSketchImpl {
public:
    std::wstring name;
    double depth = 0.0;

    void Write(XmlDocument& doc, XmlNode parent) override {
        AttributeMap attributes;
        attributes.emplace(L"Name", name);
        XmlNode element = CreateChildElement(doc, parent, L"BrokenOutSection", {}, attributes);
        CreateChildElement(doc, element, L"Depth", FormatDouble(depth));
        KVSWX_SegmentedSketchImpl::Write(doc, element);
        CloseElement(doc, element);
    }

    // The "Name" attribute is not read back.
    void ReadFromNode(XmlDocument& doc, XmlNode element) override {
        for (const XmlNode& child : element.ChildNodes()) {
            if (ReadSegmentsChild(doc, child)) continue;
            if (child.IsElement() && child.Name() == L"Depth")
                depth = ParseDouble(GetNodeText(child));
        }
    }
};

KVSWX_BrokenOutSection::KVSWX_BrokenOutSection()
    : d_(std::make_unique<KVSWX_BrokenOutSectionImpl>()) {}
KVSWX_BrokenOutSection::~KVSWX_BrokenOutSection() = default;
I_Serializable* KVSWX_BrokenOutSection::GetImpl() const { return d_.get(); }
KVSWX_SegmentedSketchImpl* KVSWX_BrokenOutSection::GetSketchImpl() const { return d_.get(); }
const std::wstring& KVSWX_BrokenOutSection::GetName() const { return d_->name; }
double KVSWX_BrokenOutSection::GetDepth() const { return d_->depth; }
void KVSWX_BrokenOutSection::SetName(const std::wstring& v) { d_->name = v; }
void KVSWX_BrokenOutSection::SetDepth(double v) { d_->depth = v; }

}  // namespace kvswx
