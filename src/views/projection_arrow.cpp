#include "views/projection_arrow.h"

#include <tuple>

#include "docprops/text_format.h"
#include "model/fields.h"

namespace kvswx {

namespace {

// The six coordinates as one text: each number "%.16f", single spaces.
// Reading fills them from the tokens in order; missing ones stay 0, extra
// tokens are ignored.
struct CoordinatesKind {
    std::wstring Format(const ArrowCoordinates& v) const {
        return FormatDoubleList(DoubleList(v.begin(), v.end()));
    }
    void Parse(ArrowCoordinates& v, std::wstring_view t) const { v = ParseFixed<6>(t); }
};

using PA = ProjectionArrowValues;
const auto kProjectionArrowFields = std::make_tuple(
    Field(L"Label", &PA::label, kText), Field(L"Coordinates", &PA::coordinates, CoordinatesKind{}));

}  // namespace

class KVSWX_ProjectionArrowImpl final : public LocatedSerializable {
public:
    ProjectionArrowValues v;
    std::unique_ptr<KVSWX_TextFormat> textFormat;

    // The base view closes the arrow's element; the text format closes its own.
    void Write(XmlDocument& doc, XmlNode element) override {
        WriteFields(doc, element, v, kProjectionArrowFields);
        if (textFormat) {
            XmlNode wrapper = CreateChildElement(doc, element, L"TextFormat");
            textFormat->GetImpl()->Write(doc, wrapper);
        }
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        for (const XmlNode& node : doc.SelectNodes(AppendPath(location, L"/*"))) {
            const std::wstring name = node.Name();
            if (ReadField(v, kProjectionArrowFields, name, GetNodeText(node))) continue;
            if (name == L"TextFormat") {
                textFormat.reset();
                textFormat = std::make_unique<KVSWX_TextFormat>();
                const XmlNode wrapper = doc.SelectSingleNode(AppendPath(location, L"/TextFormat"));
                if (wrapper) textFormat->GetImpl()->ReadFromNode(doc, wrapper);
            }
        }
    }
};

KVSWX_ProjectionArrow::KVSWX_ProjectionArrow()
    : d_(std::make_unique<KVSWX_ProjectionArrowImpl>()) {}
KVSWX_ProjectionArrow::~KVSWX_ProjectionArrow() = default;
I_Serializable* KVSWX_ProjectionArrow::GetImpl() const { return d_.get(); }
const ProjectionArrowValues& KVSWX_ProjectionArrow::Values() const { return d_->v; }
void KVSWX_ProjectionArrow::SetLabel(const std::wstring& v) { d_->v.label = v; }
void KVSWX_ProjectionArrow::SetCoordinates(const ArrowCoordinates& v) { d_->v.coordinates = v; }
KVSWX_TextFormat* KVSWX_ProjectionArrow::NewTextFormat() {
    d_->textFormat.reset();
    d_->textFormat = std::make_unique<KVSWX_TextFormat>();
    return d_->textFormat.get();
}
KVSWX_TextFormat* KVSWX_ProjectionArrow::GetTextFormat() const { return d_->textFormat.get(); }

}  // namespace kvswx
