#include "views/detail_envelope.h"

#include <tuple>

#include "docprops/text_format.h"
#include "model/fields.h"
#include "model/xml_helpers.h"
#include "views/sketch_segments.h"

namespace kvswx {

namespace {

using E = DetailEnvelopeValues;
// The scalar children of "DetailEnvelope", in written order.
const auto kDetailEnvelopeFields = std::make_tuple(
    Field(L"Label", &E::label, kText),
    Field(L"Display", &E::display, Enum(DetailCircleDisplayNames)),
    Field(L"CenterPoint", &E::centerPoint, kPoint3D),
    Field(L"StartPoint", &E::startPoint, kPoint3D), Field(L"EndPoint", &E::endPoint, kPoint3D),
    Field(L"LineType", &E::lineType, Enum(LineFontNames)),
    Field(L"TextPoint", &E::textPoint, kPoint3D), Field(L"TextHeight", &E::textHeight, kDouble),
    Field(L"DetailCircleStyle", &E::detailCircleStyle, Enum(DetailViewStyleNames)));

using A = DetailCircleArrowValues;
const auto kDetailCircleArrowFields =
    std::make_tuple(Field(L"Tip", &A::tip, kPoint3D), Field(L"Component", &A::component, kPoint3D),
                    Field(L"Width", &A::width, kDouble), Field(L"Height", &A::height, kDouble),
                    Field(L"Style", &A::style, Enum(ArrowHeadStyleNames)));

}  // namespace

// ---- arrow -----------------------------------------------------------------

class KVSWX_DetailCircleArrowImpl final : public NodeSerializable {
public:
    DetailCircleArrowValues v;

    void Write(XmlDocument& doc, XmlNode arrows) override {
        XmlNode element = CreateChildElement(doc, arrows, L"Arrow");
        WriteFields(doc, element, v, kDetailCircleArrowFields);
        CloseElement(doc, element);
    }

    void ReadFromNode(XmlDocument&, XmlNode arrow) override {
        ReadFieldChildren(v, kDetailCircleArrowFields, arrow);
    }
};

KVSWX_DetailCircleArrow::KVSWX_DetailCircleArrow()
    : d_(std::make_unique<KVSWX_DetailCircleArrowImpl>()) {}
KVSWX_DetailCircleArrow::~KVSWX_DetailCircleArrow() = default;
I_Serializable* KVSWX_DetailCircleArrow::GetImpl() const { return d_.get(); }
const DetailCircleArrowValues& KVSWX_DetailCircleArrow::Values() const { return d_->v; }
void KVSWX_DetailCircleArrow::SetTip(const Point3& v) { d_->v.tip = v; }
void KVSWX_DetailCircleArrow::SetComponent(const Point3& v) { d_->v.component = v; }
void KVSWX_DetailCircleArrow::SetWidth(double v) { d_->v.width = v; }
void KVSWX_DetailCircleArrow::SetHeight(double v) { d_->v.height = v; }
void KVSWX_DetailCircleArrow::SetStyle(std::int32_t v) { d_->v.style = v; }

// ---- envelope --------------------------------------------------------------

class KVSWX_DetailEnvelopeImpl final : public KVSWX_SegmentedSketchImpl {
public:
    DetailEnvelopeValues v;
    KVSWX_DetailEnvelope::ArrowList arrows;
    std::unique_ptr<KVSWX_TextFormat> textFormat;

    // Arrows first to last, then the text format; the base then destroys the
    // segments.
    ~KVSWX_DetailEnvelopeImpl() override {
        for (auto& arrow : arrows) arrow.reset();
        textFormat.reset();
    }

    void Write(XmlDocument& doc, XmlNode envelope) override {
        WriteFields(doc, envelope, v, kDetailEnvelopeFields);
        WriteCollection(doc, envelope, L"Arrows", arrows);
        if (textFormat) {
            // The text format closes its element itself.
            textFormat->GetImpl()->Write(doc, CreateChildElement(doc, envelope, L"TextFormat"));
        }
        // A plain circle has no segments and writes no "Segments".
        if (GetSegments() != nullptr && !GetSegments()->IsEmpty())
            GetSegments()->GetImpl()->Write(doc, envelope);
    }

    void ReadFromNode(XmlDocument&, XmlNode) override {}

    // The children are found through the envelope's name; arrows and text
    // format through the plain location.
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        v.name = GetAttributeValue(doc.SelectSingleNode(location), L"Name");
        const std::wstring named = WithName(location, v.name);
        const auto nodes = doc.SelectNodes(AppendPath(named, L"/*"));
        KVSWX_SketchSegmentsCollection* segments = NewSegments();
        for (const XmlNode& node : nodes) {
            const std::wstring name = node.Name();
            if (ReadField(v, kDetailEnvelopeFields, name, GetNodeText(node))) continue;
            if (name == L"Segments") {
                segments->GetImpl()->ReadFromNode(doc, node);
            } else if (name == L"Arrows") {
                arrows.clear();
                for (const XmlNode& item : doc.SelectNodes(AppendPath(location, L"/Arrows/*"))) {
                    auto arrow = std::make_unique<KVSWX_DetailCircleArrow>();
                    arrow->GetImpl()->ReadFromNode(doc, item);
                    arrows.push_back(std::move(arrow));
                }
            } else if (name == L"TextFormat") {
                textFormat.reset();
                textFormat = std::make_unique<KVSWX_TextFormat>();
                const XmlNode element = doc.SelectSingleNode(AppendPath(location, L"/TextFormat"));
                if (element) textFormat->GetImpl()->ReadFromNode(doc, element);
            }
        }
    }
};

KVSWX_DetailEnvelope::KVSWX_DetailEnvelope() : d_(std::make_unique<KVSWX_DetailEnvelopeImpl>()) {}
KVSWX_DetailEnvelope::~KVSWX_DetailEnvelope() = default;
I_Serializable* KVSWX_DetailEnvelope::GetImpl() const { return d_.get(); }
KVSWX_SegmentedSketchImpl* KVSWX_DetailEnvelope::GetSketchImpl() const { return d_.get(); }
const DetailEnvelopeValues& KVSWX_DetailEnvelope::Values() const { return d_->v; }
const std::wstring& KVSWX_DetailEnvelope::GetName() const { return d_->v.name; }

void KVSWX_DetailEnvelope::SetName(const std::wstring& v) { d_->v.name = v; }
void KVSWX_DetailEnvelope::SetLabel(const std::wstring& v) { d_->v.label = v; }
void KVSWX_DetailEnvelope::SetDisplay(std::int32_t v) { d_->v.display = v; }
void KVSWX_DetailEnvelope::SetCenterPoint(const Point3& v) { d_->v.centerPoint = v; }
void KVSWX_DetailEnvelope::SetStartPoint(const Point3& v) { d_->v.startPoint = v; }
void KVSWX_DetailEnvelope::SetEndPoint(const Point3& v) { d_->v.endPoint = v; }
void KVSWX_DetailEnvelope::SetLineType(std::int32_t v) { d_->v.lineType = v; }
void KVSWX_DetailEnvelope::SetTextPoint(const Point3& v) { d_->v.textPoint = v; }
void KVSWX_DetailEnvelope::SetTextHeight(double v) { d_->v.textHeight = v; }
void KVSWX_DetailEnvelope::SetDetailCircleStyle(std::int32_t v) { d_->v.detailCircleStyle = v; }

KVSWX_DetailCircleArrow* KVSWX_DetailEnvelope::AddArrow() {
    return d_->arrows.emplace_back(std::make_unique<KVSWX_DetailCircleArrow>()).get();
}
const KVSWX_DetailEnvelope::ArrowList& KVSWX_DetailEnvelope::GetArrows() const {
    return d_->arrows;
}
KVSWX_TextFormat* KVSWX_DetailEnvelope::NewTextFormat() {
    d_->textFormat.reset();
    d_->textFormat = std::make_unique<KVSWX_TextFormat>();
    return d_->textFormat.get();
}
KVSWX_TextFormat* KVSWX_DetailEnvelope::GetTextFormat() const { return d_->textFormat.get(); }

}  // namespace kvswx
