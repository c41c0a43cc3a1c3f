#include "views/break_line.h"

#include <tuple>

#include "model/fields.h"

namespace kvswx {

namespace {

using BL = BreakLineValues;
// The children of "BreakLine", in written order ("LineStyle" goes before
// "LineType"). Name attributes are left out for values without a name.
const auto kBreakLineFields = std::make_tuple(
    Field(L"BreakLineStyle", &BL::breakLineStyle, Enum(BreakLineStyleNames)),
    Field(L"Color", &BL::color, kInt), Field(L"LineStyle", &BL::lineStyle, Enum(LineStyleNames)),
    Field(L"LineType", &BL::lineType, Enum(LineFontNames)),
    Field(L"LineWeight", &BL::lineWeight, Enum(LineWeightNames)),
    Field(L"LayerID", &BL::layerID, kInt), Field(L"LayerOverride", &BL::layerOverride, kInt),
    Field(L"NumOfLines", &BL::numOfLines, kInt), Field(L"NumOfArcs", &BL::numOfArcs, kInt),
    Field(L"Orientation", &BL::orientation, Enum(BreakLineOrientationNames)),
    Field(L"Position1", &BL::position1, kDouble), Field(L"Position2", &BL::position2, kDouble),
    Field(L"Points", &BL::points, kDoubleList));

}  // namespace

class KVSWX_BreakLineImpl final : public NodeSerializable {
public:
    BreakLineValues v;

    void Write(XmlDocument& doc, XmlNode list) override {
        XmlNode element = CreateChildElement(doc, list, L"BreakLine");
        WriteFields(doc, element, v, kBreakLineFields);
        CloseElement(doc, element);
    }

    // The name attributes are not read.
    void ReadFromNode(XmlDocument&, XmlNode element) override {
        ReadFieldChildren(v, kBreakLineFields, element);
    }
};

KVSWX_BreakLine::KVSWX_BreakLine() : d_(std::make_unique<KVSWX_BreakLineImpl>()) {}
KVSWX_BreakLine::~KVSWX_BreakLine() = default;
I_Serializable* KVSWX_BreakLine::GetImpl() const { return d_.get(); }
const BreakLineValues& KVSWX_BreakLine::Values() const { return d_->v; }
void KVSWX_BreakLine::SetBreakLineStyle(std::int32_t v) { d_->v.breakLineStyle = v; }
void KVSWX_BreakLine::SetColor(std::int32_t v) { d_->v.color = v; }
void KVSWX_BreakLine::SetLineType(std::int32_t v) { d_->v.lineType = v; }
void KVSWX_BreakLine::SetLineStyle(std::int32_t v) { d_->v.lineStyle = v; }
void KVSWX_BreakLine::SetLineWeight(std::int32_t v) { d_->v.lineWeight = v; }
void KVSWX_BreakLine::SetLayerID(std::int32_t v) { d_->v.layerID = v; }
void KVSWX_BreakLine::SetLayerOverride(std::int32_t v) { d_->v.layerOverride = v; }
void KVSWX_BreakLine::SetNumOfLines(std::int32_t v) { d_->v.numOfLines = v; }
void KVSWX_BreakLine::SetNumOfArcs(std::int32_t v) { d_->v.numOfArcs = v; }
void KVSWX_BreakLine::SetOrientation(std::int32_t v) { d_->v.orientation = v; }
void KVSWX_BreakLine::SetPosition1(double v) { d_->v.position1 = v; }
void KVSWX_BreakLine::SetPosition2(double v) { d_->v.position2 = v; }
void KVSWX_BreakLine::SetPoints(const DoubleList& v) { d_->v.points = v; }

class KVSWX_BreakLinesCollectionImpl final : public LocatedSerializable {
public:
    double breakLineGap = 0.0;
    std::vector<std::unique_ptr<KVSWX_BreakLine>> breakLines;

    ~KVSWX_BreakLinesCollectionImpl() override {
        // First to last.
        for (auto& line : breakLines) line.reset();
    }

    void Write(XmlDocument& doc, XmlNode view) override {
        XmlNode element = CreateChildElement(doc, view, L"BreakLines");
        CreateChildElement(doc, element, L"BreakLineGap", FormatDouble(breakLineGap));
        for (const auto& line : breakLines) line->GetImpl()->Write(doc, element);
        CloseElement(doc, element);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        const XmlNode gap = doc.SelectSingleNode(AppendPath(location, L"/BreakLineGap"));
        if (gap) breakLineGap = ParseDouble(GetNodeText(gap));
        const std::vector<XmlNode> nodes = doc.SelectNodes(AppendPath(location, L"/BreakLine"));
        breakLines.clear();
        for (const XmlNode& node : nodes) {
            auto line = std::make_unique<KVSWX_BreakLine>();
            line->GetImpl()->ReadFromNode(doc, node);
            breakLines.push_back(std::move(line));
        }
    }
};

KVSWX_BreakLinesCollection::KVSWX_BreakLinesCollection()
    : d_(std::make_unique<KVSWX_BreakLinesCollectionImpl>()) {}
KVSWX_BreakLinesCollection::~KVSWX_BreakLinesCollection() = default;
I_Serializable* KVSWX_BreakLinesCollection::GetImpl() const { return d_.get(); }
double KVSWX_BreakLinesCollection::GetBreakLineGap() const { return d_->breakLineGap; }
void KVSWX_BreakLinesCollection::SetBreakLineGap(double v) { d_->breakLineGap = v; }
KVSWX_BreakLine* KVSWX_BreakLinesCollection::AddBreakLine() {
    return d_->breakLines.emplace_back(std::make_unique<KVSWX_BreakLine>()).get();
}
const std::vector<std::unique_ptr<KVSWX_BreakLine>>& KVSWX_BreakLinesCollection::GetBreakLines()
    const {
    return d_->breakLines;
}

}  // namespace kvswx
