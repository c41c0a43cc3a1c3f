#include "containers/drawing.h"

#include <unordered_map>
#include <vector>

#include "containers/sheet_objects.h"
#include "docprops/document_properties.h"
#include "model/encodings.h"
#include "model/located.h"
#include "model/xml_helpers.h"
#include "views/base_view.h"

namespace kvswx {

// ---- view ------------------------------------------------------------------

class KVSWX_DrawingViewImpl : public LocatedSerializable, public ElementsReader {
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
        ReadElements(doc, Located(doc, location));
    }

    void ReadElements(XmlDocument& doc, const Located& at) override {
        const XmlNode element = at.First();
        if (!element) return;
        baseView->SetName(GetAttributeValue(element, L"Name"));
        ReadLocated(*baseView->GetImpl(), doc, at);
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

// Positions of the first item of each key, for lookups by name that stay
// constant-time however many items there are. Items appended since the last
// lookup are added on the next one; an item found under a key it no longer
// has (renamed since) makes the index start over.
class FirstOfKey {
public:
    template <class Items, class KeyOf>
    std::size_t Find(const Items& items, const std::wstring& key, KeyOf keyOf) {
        for (int pass = 0; pass < 2; ++pass) {
            if (indexed_ > items.size()) Reset();
            for (; indexed_ < items.size(); ++indexed_) positions_.emplace(keyOf(*items[indexed_]), indexed_);
            const auto it = positions_.find(key);
            if (it == positions_.end()) return kNone;
            if (keyOf(*items[it->second]) == key) return it->second;
            Reset();
        }
        return kNone;
    }
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

private:
    void Reset() {
        positions_.clear();
        indexed_ = 0;
    }
    std::unordered_map<std::wstring, std::size_t> positions_;
    std::size_t indexed_ = 0;
};

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

// One item per element under the wrapper elements, whatever the element's
// name: the elements of location + "/" + wrapper + "/*".
template <class Item>
void ReadWrapped(XmlDocument& doc, const Located& at, std::string_view wrapper,
                 std::vector<std::unique_ptr<Item>>& items) {
    ForEachWrappedElement(at, wrapper, [&](XmlNode node) {
        auto item = std::make_unique<Item>();
        item->GetImpl()->ReadFromNode(doc, node);
        items.push_back(std::move(item));
    });
}

}  // namespace

class KVSWX_DrawingSheetImpl : public LocatedSerializable, public ElementsReader {
public:
    std::vector<std::unique_ptr<KVSWX_DrawingView>> views;
    FirstOfKey byName;       // views by name
    FirstOfKey byBothNames;  // views by name and second name
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
        ReadElements(doc, Located(doc, location));
    }

    // Each view is read at location + "/view[@Name='" + its name + "']",
    // handed over as the elements that selects.
    void ReadElements(XmlDocument& doc, const Located& at) override {
        const XmlNode element = at.First();
        if (!element) return;
        name = GetAttributeValue(element, L"Name");
        dxfName = GetAttributeValue(element, L"DxfName");
        sheetHeight = ParseDouble(GetAttributeValue(element, L"SheetHeight"));
        sheetWidth = ParseDouble(GetAttributeValue(element, L"SheetWidth"));
        ReadWrapped(doc, at, "SketchPictures", sketchPictures);
        ReadWrapped(doc, at, "OLEObjects", oleObjects);
        ForEachNamedChild(at, "view", L"view", [&](const Located& viewAt) {
            auto view = std::make_unique<KVSWX_DrawingView>();
            static_cast<KVSWX_DrawingViewImpl*>(view->GetImpl())->ReadElements(doc, viewAt);
            views.push_back(std::move(view));
        });
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
    // The first view of that name, or with a second name given, the first
    // of that name and second name; a view of that name with another second
    // name is a conflict.
    const auto nameOf = [](const KVSWX_DrawingView& v) { return v.GetBaseView()->GetName(); };
    const std::size_t first = d_->byName.Find(d_->views, name, nameOf);
    bool conflict = false;
    if (first != FirstOfKey::kNone) {
        if (secondName.empty()) return d_->views[first].get();
        const auto bothOf = [](const KVSWX_DrawingView& v) {
            return v.GetBaseView()->GetName() + L'\0' + v.GetBaseView()->GetSecondName();
        };
        const std::size_t both = d_->byBothNames.Find(d_->views, name + L'\0' + secondName, bothOf);
        if (both != FirstOfKey::kNone) return d_->views[both].get();
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

class KVSWX_DrawingImpl : public LocatedSerializable, public ElementsReader {
public:
    std::vector<std::unique_ptr<KVSWX_DrawingSheet>> sheets;
    FirstOfKey byName;  // sheets by name
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
        ReadElements(doc, Located(doc, location));
    }

    // Each sheet is read at location + "/sheet[@Name='" + its name + "']",
    // handed over as the elements that selects.
    void ReadElements(XmlDocument& doc, const Located& at) override {
        const XmlNode element = at.First();
        if (!element) return;
        documentProperties.reset();
        documentProperties = std::make_unique<KVSWX_DocumentProperties>();
        documentProperties->GetImpl()->ReadFromDocument(
            doc, AppendPath(at.Path(), L"/DocumentProperties"));
        name = GetAttributeValue(element, L"Name");
        ForEachNamedChild(at, "sheet", L"sheet", [&](const Located& sheetAt) {
            auto sheet = std::make_unique<KVSWX_DrawingSheet>();
            static_cast<KVSWX_DrawingSheetImpl*>(sheet->GetImpl())->ReadElements(doc, sheetAt);
            sheets.push_back(std::move(sheet));
        });
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
    const std::size_t found =
        d_->byName.Find(d_->sheets, name, [](const KVSWX_DrawingSheet& sheet) { return sheet.GetName(); });
    if (found != FirstOfKey::kNone) return d_->sheets[found].get();
    auto sheet = std::make_unique<KVSWX_DrawingSheet>();
    sheet->SetName(name);
    d_->sheets.push_back(std::move(sheet));
    return d_->sheets.back().get();
}

}  // namespace kvswx
