#include "docprops/document_properties.h"

#include "docprops/common_view_options.h"
#include "model/xml_helpers.h"

namespace kvswx {

class KVSWX_DocumentPropertiesImpl final : public LocatedSerializable {
public:
    std::unique_ptr<KVSWX_DocCenterlinesCenterMarksOptions> centerlines;
    std::unique_ptr<KVSWX_DocViewOptions> views;
    std::unique_ptr<KVSWX_DocLineThicknessOptions> lineThickness;
    std::unique_ptr<KVSWX_DimensionStylesCollection> dimensionStyles;
    std::optional<std::wstring> layerName;

    void Write(XmlDocument& doc, XmlNode parent) override {
        XmlNode element = CreateChildElement(doc, parent, L"DocumentProperties");
        if (dimensionStyles) dimensionStyles->GetImpl()->Write(doc, element);
        if (centerlines) centerlines->GetImpl()->Write(doc, element);
        if (views) views->GetImpl()->Write(doc, element);
        if (lineThickness) lineThickness->GetImpl()->Write(doc, element);
        if (layerName) CreateChildElement(doc, element, L"KVLayer", *layerName);
        CloseElement(doc, element);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReplaceWithNew(centerlines)
            ->GetImpl()
            ->ReadFromDocument(doc, AppendPath(location, L"/CenterlinesCenterMarks"));
        ReplaceWithNew(views)->GetImpl()->ReadFromDocument(doc, AppendPath(location, L"/Views"));
        ReplaceWithNew(lineThickness)
            ->GetImpl()
            ->ReadFromDocument(doc, AppendPath(location, L"/LineThickness"));
        // Without "KVLayer" the name stays as it was.
        if (const XmlNode layer = doc.SelectSingleNode(AppendPath(location, L"/KVLayer"))) {
            layerName = GetNodeText(layer);
        }
        ReplaceWithNew(dimensionStyles)
            ->GetImpl()
            ->ReadFromDocument(doc, AppendPath(location, L"/DimensionStyles"));
    }
};

KVSWX_DocumentProperties::KVSWX_DocumentProperties()
    : d_(std::make_unique<KVSWX_DocumentPropertiesImpl>()) {}
KVSWX_DocumentProperties::~KVSWX_DocumentProperties() = default;
I_Serializable* KVSWX_DocumentProperties::GetImpl() const { return d_.get(); }

const KVSWX_DocCenterlinesCenterMarksOptions*
KVSWX_DocumentProperties::GetCenterlinesCenterMarksOptions() const {
    return d_->centerlines.get();
}
const KVSWX_DocViewOptions* KVSWX_DocumentProperties::GetViewOptions() const {
    return d_->views.get();
}
const KVSWX_DocLineThicknessOptions* KVSWX_DocumentProperties::GetLineThicknessOptions() const {
    return d_->lineThickness.get();
}
const KVSWX_DimensionStylesCollection* KVSWX_DocumentProperties::GetDimensionStyles() const {
    return d_->dimensionStyles.get();
}
const std::optional<std::wstring>& KVSWX_DocumentProperties::GetLayerName() const {
    return d_->layerName;
}

KVSWX_DocCenterlinesCenterMarksOptions*
KVSWX_DocumentProperties::CreateCenterlinesCenterMarksOptions() {
    return ReplaceWithNew(d_->centerlines);
}
KVSWX_DocViewOptions* KVSWX_DocumentProperties::CreateViewOptions() {
    return ReplaceWithNew(d_->views);
}
KVSWX_DocLineThicknessOptions* KVSWX_DocumentProperties::CreateLineThicknessOptions() {
    return ReplaceWithNew(d_->lineThickness);
}
KVSWX_DimensionStylesCollection* KVSWX_DocumentProperties::CreateDimensionStyles() {
    return ReplaceWithNew(d_->dimensionStyles);
}
void KVSWX_DocumentProperties::SetLayerName(const std::optional<std::wstring>& name) {
    d_->layerName = name;
}

}  // namespace kvswx
