#include "containers/drawing.h"

#include <vector>

#include "containers/sheet_objects.h"
#include "docprops/document_properties.h"
#include "model/encodings.h"
#include "model/xml_helpers.h"
#include "views/base_view.h"

namespace kvswx {

// ---- view ------------------------------------------------------------------

class KVSWX_DrawingViewImpl : public LocatedSerializable {
public:
    std::unique_ptr<KVSWX_BaseView> baseView = std::make_unique<KVSWX_BaseView>();

    void Write(XmlDocument& doc, XmlNode parent) override {
        AttributeMap attributes;
        attributes.emplace(L"Name", baseView->GetName());
        attributes.emplace(L"InvName", baseView->GetInvName());
        XmlNode element = CreateChildElement(doc, parent, L"view", {}, attributes);
        baseView->GetImpl()->Write(doc, element);
        CloseElement(doc, element);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        const XmlNode element = doc.SelectSingleNode(location);
        if (!element) return;
        baseView->SetName(GetAttributeValue(element, L"Name"));
        baseView->GetImpl()->ReadFromDocument(doc, location);
    }
};

KVSWX_DrawingView::KVSWX_DrawingView() : d_(std::make_unique<KVSWX_DrawingViewImpl>()) {}
KVSWX_DrawingView::~KVSWX_DrawingView() = default;
I_Serializable* KVSWX_DrawingView::GetImpl() const { return d_.get(); }
KVSWX_BaseView* KVSWX_DrawingView::GetBaseView() const { return d_->baseView.get(); }
void KVSWX_DrawingView::SetName(const std::wstring& name) { d_->baseView->SetName(name); }
void KVSWX_DrawingView::SetSecondName(const std::wstring& name) { d_->baseView->SetSecondName(name); }
void KVSWX_DrawingView::SetInvName(const std::wstring& name) { d_->baseView->SetInvName(name); }
const std::wstring& KVSWX_DrawingView::GetName() const { return d_->baseView->GetName(); }

// ---- sheet -----------------------------------------------------------------

namespace {

// Nothing for no items; otherwise the wrapper element holding one element
// per item, which the item fills and the sheet closes.
template <class Item>
void WriteWrapped(XmlDocument& doc, XmlNode parent, std::wstring_view wrapperName, std::wstring_view itemName,
                  const std::vector<std::unique_ptr<Item>>& items) {
    if (items.empty()) return;
    XmlNode wrapper = CreateChildElement(doc, parent, wrapperName);
    for (const auto& item : items) {
        XmlNode element = CreateChildElement(doc, wrapper, itemName);
        item->GetImpl()->Write(doc, element);
        CloseElement(doc, element);
    }
    CloseElement(doc, wrapper);
}

// One item per element the location selects, whatever the element's name.
template <class Item>
void ReadWrapped(XmlDocument& doc, const std::wstring& location, std::vector<std::unique_ptr<Item>>& items) {
    for (const XmlNode& node : doc.SelectNodes(location)) {
        auto item = std::make_unique<Item>();
        item->GetImpl()->ReadFromNode(doc, node);
        items.push_back(std::move(item));
    }
}

}  // namespace

class KVSWX_DrawingSheetImpl : public LocatedSerializable {
public:
    std::vector<std::unique_ptr<KVSWX_DrawingView>> views;
    std::wstring name;
    std::wstring dxfName;
    double sheetHeight = 0.0;
    double sheetWidth = 0.0;
    std::vector<std::unique_ptr<KVSWX_SketchPicture>> sketchPictures;
    std::vector<std::unique_ptr<KVSWX_OLEObject>> oleObjects;

    KVSWX_DrawingSheetImpl() = default;
    KVSWX_DrawingSheetImpl(const KVSWX_DrawingSheetImpl&) = delete;
    KVSWX_DrawingSheetImpl& operator=(const KVSWX_DrawingSheetImpl&) = delete;
    // Views first, then the pictures and the OLE objects.
    ~KVSWX_DrawingSheetImpl() override {
        views.clear();
        sketchPictures.clear();
        oleObjects.clear();
    }

    void Write(XmlDocument& doc, XmlNode parent) override {
        AttributeMap attributes;
        attributes.emplace(L"Name", name);
        attributes.emplace(L"DxfName", dxfName);
        attributes.emplace(L"SheetHeight", FormatDouble(sheetHeight));
        attributes.emplace(L"SheetWidth", FormatDouble(sheetWidth));
        XmlNode element = CreateChildElement(doc, parent, L"sheet", {}, attributes);
        WriteWrapped(doc, element, L"SketchPictures", L"SketchPicture", sketchPictures);
        WriteWrapped(doc, element, L"OLEObjects", L"OLEObject", oleObjects);
        for (const auto& view : views) view->GetImpl()->Write(doc, element);
        CloseElement(doc, element);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        const XmlNode element = doc.SelectSingleNode(location);
        if (!element) return;
        name = GetAttributeValue(element, L"Name");
        dxfName = GetAttributeValue(element, L"DxfName");
        sheetHeight = ParseDouble(GetAttributeValue(element, L"SheetHeight"));
        sheetWidth = ParseDouble(GetAttributeValue(element, L"SheetWidth"));
        ReadWrapped(doc, AppendPath(location, L"/SketchPictures/*"), sketchPictures);
        ReadWrapped(doc, AppendPath(location, L"/OLEObjects/*"), oleObjects);
        for (const XmlNode& node : doc.SelectNodes(AppendPath(location, L"/view"))) {
            auto view = std::make_unique<KVSWX_DrawingView>();
            view->GetImpl()->ReadFromDocument(doc, NamedPath(location, L"view", GetAttributeValue(node, L"Name")));
            views.push_back(std::move(view));
        }
    }
};

KVSWX_DrawingSheet::KVSWX_DrawingSheet() : d_(std::make_unique<KVSWX_DrawingSheetImpl>()) {}
KVSWX_DrawingSheet::~KVSWX_DrawingSheet() = default;
I_Serializable* KVSWX_DrawingSheet::GetImpl() const { return d_.get(); }
const std::wstring& KVSWX_DrawingSheet::GetName() const { return d_->name; }
void KVSWX_DrawingSheet::SetName(const std::wstring& name) { d_->name = name; }
const std::wstring& KVSWX_DrawingSheet::GetDxfName() const { return d_->dxfName; }
void KVSWX_DrawingSheet::SetDxfName(const std::wstring& name) { d_->dxfName = name; }
double KVSWX_DrawingSheet::GetSheetHeight() const { return d_->sheetHeight; }
double KVSWX_DrawingSheet::GetSheetWidth() const { return d_->sheetWidth; }
std::size_t KVSWX_DrawingSheet::GetViewCount() const { return d_->views.size(); }

KVSWX_SketchPicture* KVSWX_DrawingSheet::AddSketchPicture() {
    d_->sketchPictures.push_back(std::make_unique<KVSWX_SketchPicture>());
    return d_->sketchPictures.back().get();
}

void KVSWX_DrawingSheet::AddOLEObject(std::unique_ptr<KVSWX_OLEObject> object) {
    if (object) d_->oleObjects.push_back(std::move(object));
}

std::size_t KVSWX_DrawingSheet::GetSketchPictureCount() const { return d_->sketchPictures.size(); }
std::size_t KVSWX_DrawingSheet::GetOLEObjectCount() const { return d_->oleObjects.size(); }

KVSWX_SketchPicture* KVSWX_DrawingSheet::GetSketchPicture(std::size_t index) const {
    return index < d_->sketchPictures.size() ? d_->sketchPictures[index].get() : nullptr;
}

KVSWX_OLEObject* KVSWX_DrawingSheet::GetOLEObject(std::size_t index) const {
    return index < d_->oleObjects.size() ? d_->oleObjects[index].get() : nullptr;
}

KVSWX_DrawingView* KVSWX_DrawingSheet::GetView(std::size_t index) const {
    return index < d_->views.size() ? d_->views[index].get() : nullptr;
}

KVSWX_DrawingView* KVSWX_DrawingSheet::GetOrAddView(const std::wstring& name,
                                                    const std::wstring& secondName,
                                                    const std::wstring& invName) {
    bool conflict = false;
    for (const auto& view : d_->views) {
        const KVSWX_BaseView& base = *view->GetBaseView();
        if (base.GetName() != name) continue;
        if (secondName.empty() || base.GetSecondName() == secondName) return view.get();
        conflict = true;
    }
    auto view = std::make_unique<KVSWX_DrawingView>();
    if (!secondName.empty() && conflict) {
        view->SetSecondName(secondName);
        view->SetName(name + L"_" + secondName);
    } else {
        view->SetName(name);
    }
    view->SetInvName(invName);
    d_->views.push_back(std::move(view));
    return d_->views.back().get();
}

// ---- drawing ---------------------------------------------------------------

class KVSWX_DrawingImpl : public LocatedSerializable {
public:
    std::vector<std::unique_ptr<KVSWX_DrawingSheet>> sheets;
    std::wstring name;
    std::unique_ptr<KVSWX_DocumentProperties> documentProperties;

    KVSWX_DrawingImpl() = default;
    KVSWX_DrawingImpl(const KVSWX_DrawingImpl&) = delete;
    KVSWX_DrawingImpl& operator=(const KVSWX_DrawingImpl&) = delete;
    // Sheets first, then the document properties.
    ~KVSWX_DrawingImpl() override {
        sheets.clear();
        documentProperties.reset();
    }

    void Write(XmlDocument& doc, XmlNode parent) override {
        AttributeMap attributes;
        attributes.emplace(L"Name", name);
        XmlNode element = CreateChildElement(doc, parent, L"swdrawing", {}, attributes);
        // A drawing without document properties writes no such element.
        if (documentProperties) documentProperties->GetImpl()->Write(doc, element);
        for (const auto& sheet : sheets) sheet->GetImpl()->Write(doc, element);
        CloseElement(doc, element);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        const XmlNode element = doc.SelectSingleNode(location);
        if (!element) return;
        documentProperties.reset();
        documentProperties = std::make_unique<KVSWX_DocumentProperties>();
        documentProperties->GetImpl()->ReadFromDocument(doc, AppendPath(location, L"/DocumentProperties"));
        name = GetAttributeValue(element, L"Name");
        for (const XmlNode& node : doc.SelectNodes(AppendPath(location, L"/sheet"))) {
            auto sheet = std::make_unique<KVSWX_DrawingSheet>();
            sheet->GetImpl()->ReadFromDocument(doc, NamedPath(location, L"sheet", GetAttributeValue(node, L"Name")));
            sheets.push_back(std::move(sheet));
        }
    }
};

KVSWX_Drawing::KVSWX_Drawing() : d_(std::make_unique<KVSWX_DrawingImpl>()) {}
KVSWX_Drawing::~KVSWX_Drawing() = default;
I_Serializable* KVSWX_Drawing::GetImpl() const { return d_.get(); }
const std::wstring& KVSWX_Drawing::GetName() const { return d_->name; }
void KVSWX_Drawing::SetName(const std::wstring& name) { d_->name = name; }
std::size_t KVSWX_Drawing::GetSheetCount() const { return d_->sheets.size(); }

KVSWX_DrawingSheet* KVSWX_Drawing::GetSheet(std::size_t index) const {
    return index < d_->sheets.size() ? d_->sheets[index].get() : nullptr;
}

KVSWX_DocumentProperties* KVSWX_Drawing::CreateDocumentProperties() {
    d_->documentProperties.reset();
    d_->documentProperties = std::make_unique<KVSWX_DocumentProperties>();
    return d_->documentProperties.get();
}

KVSWX_DocumentProperties* KVSWX_Drawing::GetDocumentProperties() const { return d_->documentProperties.get(); }

KVSWX_DrawingSheet* KVSWX_Drawing::GetOrAddSheet(const std::wstring& name) {
    for (const auto& sheet : d_->sheets) {
        if (sheet->GetName() == name) return sheet.get();
    }
    auto sheet = std::make_unique<KVSWX_DrawingSheet>();
    sheet->SetName(name);
    d_->sheets.push_back(std::move(sheet));
    return d_->sheets.back().get();
}

}  // namespace kvswx
