#include "views/section_line.h"

#include <tuple>

#include "docprops/text_format.h"
#include "model/fields.h"
#include "model/xml_helpers.h"

namespace kvswx {

namespace {

using L = SectionLineValues;
// The scalar children of "SectionLine", in written order.
const auto kSectionLineFields = std::make_tuple(
    Field(L"Label", &L::label, kText),
    Field(L"DisplayOnlySurfaceCut", &L::displayOnlySurfaceCut, kBool),
    Field(L"IsReversedCutDirection", &L::isReversedCutDirection, kBool),
    Field(L"IsAligned", &L::isAligned, kBool), Field(L"IsPartial", &L::isPartial, kBool),
    Field(L"Autohatch", &L::autohatch, kBool), Field(L"Depth", &L::depth, kDouble),
    Field(L"FoldSegmentIndex", &L::foldSegmentIndex, kInt));

using S = SectionSegmentValues;
const auto kSectionSegmentFields = std::make_tuple(
    Field(L"LineType", &S::lineType, Enum(LineFontNames)),
    Field(L"StartPoint", &S::startPoint, kPoint3D), Field(L"EndPoint", &S::endPoint, kPoint3D));

using A = SectionArrowValues;
const auto kSectionArrowFields = std::make_tuple(
    Field(L"ArrowStart1", &A::arrowStart1, kPoint3D), Field(L"ArrowEnd1", &A::arrowEnd1, kPoint3D),
    Field(L"ArrowWidth1", &A::arrowWidth1, kDouble),
    Field(L"ArrowHeight1", &A::arrowHeight1, kDouble),
    Field(L"ArrowStyle1", &A::arrowStyle1, Enum(ArrowHeadStyleNames)),
    Field(L"ArrowStart2", &A::arrowStart2, kPoint3D), Field(L"ArrowEnd2", &A::arrowEnd2, kPoint3D),
    Field(L"ArrowWidth2", &A::arrowWidth2, kDouble),
    Field(L"ArrowHeight2", &A::arrowHeight2, kDouble),
    Field(L"ArrowStyle2", &A::arrowStyle2, Enum(ArrowHeadStyleNames)),
    Field(L"TextPoint1", &A::textPoint1, kPoint3D), Field(L"TextPoint2", &A::textPoint2, kPoint3D),
    Field(L"TextHeight", &A::textHeight, kDouble));

}  // namespace

// ---- segment ---------------------------------------------------------------

class KVSWX_SectionSegmentImpl final : public NodeSerializable {
public:
    SectionSegmentValues v;

    void Write(XmlDocument& doc, XmlNode segments) override {
        XmlNode element = CreateChildElement(doc, segments, L"Segment");
        WriteFields(doc, element, v, kSectionSegmentFields);
        CloseElement(doc, element);
    }

    void ReadFromNode(XmlDocument&, XmlNode segment) override {
        ReadFieldChildren(v, kSectionSegmentFields, segment);
    }
};

KVSWX_SectionSegment::KVSWX_SectionSegment() : d_(std::make_unique<KVSWX_SectionSegmentImpl>()) {}
KVSWX_SectionSegment::~KVSWX_SectionSegment() = default;
I_Serializable* KVSWX_SectionSegment::GetImpl() const { return d_.get(); }
const SectionSegmentValues& KVSWX_SectionSegment::Values() const { return d_->v; }
void KVSWX_SectionSegment::SetLineType(std::int32_t v) { d_->v.lineType = v; }
void KVSWX_SectionSegment::SetStartPoint(const Point3& v) { d_->v.startPoint = v; }
void KVSWX_SectionSegment::SetEndPoint(const Point3& v) { d_->v.endPoint = v; }

// ---- arrow -----------------------------------------------------------------

class KVSWX_SectionArrowImpl final : public LocatedSerializable {
public:
    SectionArrowValues v;

    void Write(XmlDocument& doc, XmlNode arrow) override {
        WriteFields(doc, arrow, v, kSectionArrowFields);
    }

    // Every child of the located element that names a field; the style
    // attributes are not read.
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        for (const XmlNode& node : doc.SelectNodes(AppendPath(location, L"/*"))) {
            ReadField(v, kSectionArrowFields, node.Name(), GetNodeText(node));
        }
    }
};

KVSWX_SectionArrow::KVSWX_SectionArrow() : d_(std::make_unique<KVSWX_SectionArrowImpl>()) {}
KVSWX_SectionArrow::~KVSWX_SectionArrow() = default;
I_Serializable* KVSWX_SectionArrow::GetImpl() const { return d_.get(); }
const SectionArrowValues& KVSWX_SectionArrow::Values() const { return d_->v; }
void KVSWX_SectionArrow::SetArrowStart1(const Point3& v) { d_->v.arrowStart1 = v; }
void KVSWX_SectionArrow::SetArrowEnd1(const Point3& v) { d_->v.arrowEnd1 = v; }
void KVSWX_SectionArrow::SetArrowWidth1(double v) { d_->v.arrowWidth1 = v; }
void KVSWX_SectionArrow::SetArrowHeight1(double v) { d_->v.arrowHeight1 = v; }
void KVSWX_SectionArrow::SetArrowStyle1(std::int32_t v) { d_->v.arrowStyle1 = v; }
void KVSWX_SectionArrow::SetArrowStart2(const Point3& v) { d_->v.arrowStart2 = v; }
void KVSWX_SectionArrow::SetArrowEnd2(const Point3& v) { d_->v.arrowEnd2 = v; }
void KVSWX_SectionArrow::SetArrowWidth2(double v) { d_->v.arrowWidth2 = v; }
void KVSWX_SectionArrow::SetArrowHeight2(double v) { d_->v.arrowHeight2 = v; }
void KVSWX_SectionArrow::SetArrowStyle2(std::int32_t v) { d_->v.arrowStyle2 = v; }
void KVSWX_SectionArrow::SetTextPoint1(const Point3& v) { d_->v.textPoint1 = v; }
void KVSWX_SectionArrow::SetTextPoint2(const Point3& v) { d_->v.textPoint2 = v; }
void KVSWX_SectionArrow::SetTextHeight(double v) { d_->v.textHeight = v; }

// ---- line ------------------------------------------------------------------

class KVSWX_SectionLineImpl final : public LocatedSerializable {
public:
    SectionLineValues v;
    std::unique_ptr<KVSWX_SectionArrow> arrow;
    std::vector<std::unique_ptr<KVSWX_SectionSegment>> segments;
    std::unique_ptr<KVSWX_TextFormat> textFormat;

    KVSWX_SectionLineImpl() = default;
    KVSWX_SectionLineImpl(const KVSWX_SectionLineImpl&) = delete;
    KVSWX_SectionLineImpl& operator=(const KVSWX_SectionLineImpl&) = delete;

    // Segments first to last, then the arrow, then the text format.
    ~KVSWX_SectionLineImpl() override {
        for (auto& segment : segments) segment.reset();
        arrow.reset();
        textFormat.reset();
    }

    void Write(XmlDocument& doc, XmlNode line) override {
        WriteFields(doc, line, v, kSectionLineFields);
        if (!segments.empty()) {
            XmlNode list = CreateChildElement(doc, line, L"Segments");
            for (const auto& segment : segments) segment->GetImpl()->Write(doc, list);
            CloseElement(doc, list);
        }
        if (arrow) {
            XmlNode element = CreateChildElement(doc, line, L"Arrow");
            arrow->GetImpl()->Write(doc, element);
            CloseElement(doc, element);
        }
        if (textFormat) {
            // The text format closes its element itself.
            textFormat->GetImpl()->Write(doc, CreateChildElement(doc, line, L"TextFormat"));
        }
    }

    // The children are found through the line's name; the text format
    // through the plain location.
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        v.name = GetAttributeValue(doc.SelectSingleNode(location), L"Name");
        const std::wstring named = WithName(location, v.name);
        for (const XmlNode& node : doc.SelectNodes(AppendPath(named, L"/*"))) {
            const std::wstring name = node.Name();
            if (ReadField(v, kSectionLineFields, name, GetNodeText(node))) continue;
            if (name == L"TextFormat") {
                textFormat.reset();
                textFormat = std::make_unique<KVSWX_TextFormat>();
                const XmlNode element = doc.SelectSingleNode(AppendPath(location, L"/TextFormat"));
                if (element) textFormat->GetImpl()->ReadFromNode(doc, element);
            } else if (name == L"Arrow") {
                arrow.reset();
                arrow = std::make_unique<KVSWX_SectionArrow>();
                arrow->GetImpl()->ReadFromDocument(doc, AppendPath(named, L"/Arrow"));
            } else if (name == L"Segments") {
                segments.clear();
                for (const XmlNode& item : doc.SelectNodes(AppendPath(named, L"/Segments/*"))) {
                    auto segment = std::make_unique<KVSWX_SectionSegment>();
                    segment->GetImpl()->ReadFromNode(doc, item);
                    segments.push_back(std::move(segment));
                }
            }
        }
    }
};

KVSWX_SectionLine::KVSWX_SectionLine() : d_(std::make_unique<KVSWX_SectionLineImpl>()) {}
KVSWX_SectionLine::~KVSWX_SectionLine() = default;
I_Serializable* KVSWX_SectionLine::GetImpl() const { return d_.get(); }
const SectionLineValues& KVSWX_SectionLine::Values() const { return d_->v; }
const std::wstring& KVSWX_SectionLine::GetName() const { return d_->v.name; }

void KVSWX_SectionLine::SetName(const std::wstring& v) { d_->v.name = v; }
void KVSWX_SectionLine::SetLabel(const std::wstring& v) { d_->v.label = v; }
void KVSWX_SectionLine::SetDisplayOnlySurfaceCut(bool v) { d_->v.displayOnlySurfaceCut = v; }
void KVSWX_SectionLine::SetIsReversedCutDirection(bool v) { d_->v.isReversedCutDirection = v; }
void KVSWX_SectionLine::SetIsAligned(bool v) { d_->v.isAligned = v; }
void KVSWX_SectionLine::SetIsPartial(bool v) { d_->v.isPartial = v; }
void KVSWX_SectionLine::SetAutohatch(bool v) { d_->v.autohatch = v; }
void KVSWX_SectionLine::SetDepth(double v) { d_->v.depth = v; }
void KVSWX_SectionLine::SetFoldSegmentIndex(std::int32_t v) { d_->v.foldSegmentIndex = v; }

KVSWX_SectionArrow* KVSWX_SectionLine::NewArrow() {
    d_->arrow.reset();
    d_->arrow = std::make_unique<KVSWX_SectionArrow>();
    return d_->arrow.get();
}
KVSWX_TextFormat* KVSWX_SectionLine::NewTextFormat() {
    d_->textFormat.reset();
    d_->textFormat = std::make_unique<KVSWX_TextFormat>();
    return d_->textFormat.get();
}
KVSWX_SectionArrow* KVSWX_SectionLine::GetArrow() const { return d_->arrow.get(); }
KVSWX_TextFormat* KVSWX_SectionLine::GetTextFormat() const { return d_->textFormat.get(); }
KVSWX_SectionSegment* KVSWX_SectionLine::AddSegment() {
    return d_->segments.emplace_back(std::make_unique<KVSWX_SectionSegment>()).get();
}
std::size_t KVSWX_SectionLine::GetSegmentCount() const { return d_->segments.size(); }
KVSWX_SectionSegment* KVSWX_SectionLine::GetSegment(std::size_t index) const {
    return index < d_->segments.size() ? d_->segments[index].get() : nullptr;
}

}  // namespace kvswx
