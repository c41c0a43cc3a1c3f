#include "views/base_view.h"

#include <span>
#include <string_view>
#include <tuple>
#include <utility>

#include "model/fields.h"
#include "model/located.h"
#include "model/xml_helpers.h"
#include "views/detail_envelope.h"
#include "views/section_line.h"
#include "views/break_line.h"
#include "views/center_mark.h"
#include "views/component.h"
#include "views/hatch.h"
#include "views/note.h"
#include "views/projection_arrow.h"
#include "views/segmented_sketch.h"

namespace kvswx {

namespace {

bool IsDetailView(const BaseViewValues& v) { return v.type == 3; }

// Destroys the items of a list first to last and empties it.
template <class T>
void DestroyInOrder(std::vector<std::unique_ptr<T>>& items) {
    for (auto& item : items) item.reset();
    items.clear();
}

// A new record in `slot`, the one it held destroyed first.
template <class T>
T* NewOwned(std::unique_ptr<T>& slot) {
    slot.reset();
    slot = std::make_unique<T>();
    return slot.get();
}

template <class T>
T* Append(std::vector<std::unique_ptr<T>>& items) {
    return items.emplace_back(std::make_unique<T>()).get();
}

using V = BaseViewValues;
// The scalar children of "view", in written order.
const auto kBaseViewFields = std::make_tuple(
    Field(L"Type", &V::type, Enum(ViewTypeNames)),
    Field(L"Position", &V::position, kPoint2D),
    Field(L"ReferencedDocument", &V::referencedDocument, kText),
    Field(L"ReferencedConifguration", &V::referencedConfiguration, kText),
    Field(L"RefDocIndex", &V::refDocIndex, kInt),
    Field(L"Scale", &V::scale, kPoint2D),
    Field(L"Aligment", &V::alignment, Enum(ViewAlignmentNames)),
    Field(L"DisplayTangents", &V::displayTangents, Enum(TangentEdgeDisplayNames)),
    Field(L"DisplayMode", &V::displayMode, Enum(DisplayModeNames)),
    Field(L"ParentView", &V::parentView, kText),
    Field(L"Layer", &V::layer, kText),
    Field(L"Angle", &V::angle, kDouble),
    Field(L"ModelToViewTransform", &V::modelToViewTransform, kTransform),
    Field(L"IsVisible", &V::isVisible, kBool),
    Field(L"IsBroken", &V::isBroken, kBool),
    Field(L"IsFullOutline", &V::isFullOutline, kBool).When(&IsDetailView),
    Field(L"ShowHiddenEdgesInShadedMode", &V::showHiddenEdgesInShadedMode, kBool),
    Field(L"IsCropped", &V::isCropped, kBool));

}  // namespace

class KVSWX_BaseViewImpl : public LocatedSerializable, public ElementsReader {
public:
    BaseViewValues v;
    std::unique_ptr<KVSWX_SectionLine> sectionLine;
    std::unique_ptr<KVSWX_DetailEnvelope> detailEnvelope;
    std::unique_ptr<KVSWX_ProjectionArrow> projectionArrow;
    std::unique_ptr<KVSWX_ManualGeometry> manualGeometry;
    std::unique_ptr<KVSWX_CenterLine> centerLines;
    std::unique_ptr<KVSWX_CropProfile> cropProfile;
    std::vector<std::unique_ptr<KVSWX_BrokenOutSection>> brokenOutSections;
    std::unique_ptr<KVSWX_BreakLinesCollection> breakLines;
    std::vector<std::unique_ptr<KVSWX_Note>> notes;
    std::vector<std::unique_ptr<KVSWX_AssemblyComponent>> assemblyComponents;
    std::vector<std::unique_ptr<KVSWX_ExcludedComponent>> excludedComponents;
    std::vector<std::unique_ptr<KVSWX_CenterMark>> centerMarks;
    std::vector<std::unique_ptr<KVSWX_FaceHatch>> faceHatches;
    std::vector<std::unique_ptr<KVSWX_SketchHatch>> sketchHatches;
    std::vector<std::unique_ptr<KVSWX_BodyComponent>> bodyComponents;

    KVSWX_BaseViewImpl() = default;
    KVSWX_BaseViewImpl(const KVSWX_BaseViewImpl&) = delete;
    KVSWX_BaseViewImpl& operator=(const KVSWX_BaseViewImpl&) = delete;

    // Sub-records go in a fixed order: the single ones first, then the lists
    // (each first to last), then the crop profile, the break lines and the
    // body components.
    ~KVSWX_BaseViewImpl() override {
        sectionLine.reset();
        detailEnvelope.reset();
        projectionArrow.reset();
        manualGeometry.reset();
        centerLines.reset();
        DestroyInOrder(notes);
        DestroyInOrder(brokenOutSections);
        DestroyInOrder(assemblyComponents);
        DestroyInOrder(excludedComponents);
        DestroyInOrder(centerMarks);
        DestroyInOrder(faceHatches);
        DestroyInOrder(sketchHatches);
        cropProfile.reset();
        breakLines.reset();
        DestroyInOrder(bodyComponents);
    }

    void Write(XmlDocument& doc, XmlNode view) override;
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReadElements(doc, Located(doc, location));
    }
    void ReadElements(XmlDocument& doc, const Located& at) override;
};

namespace {

// How a sub-record child of "view" is written. A single sub-record is read
// back whole at location + "/" + its element name; a list is extended by
// every element under every wrapper of that name (location + "/" + name +
// "/*").
enum class Form {
    kNamed,     // as kElement, with the record's name as attribute "Name" (none when empty)
    kElement,   // an element the record fills
    kNonEmpty,  // as kElement, left out when the sketch holds no segment
    kSelf,      // the record writes its element itself
    kList,      // nothing when empty, else a wrapper holding one element per item
};

template <Form F, class Member>
struct Part {
    static constexpr Form kForm = F;
    const wchar_t* name;
    Member KVSWX_BaseViewImpl::*member;
};

template <Form F, class Member>
constexpr Part<F, Member> MakePart(const wchar_t* name, Member KVSWX_BaseViewImpl::*member) {
    return {name, member};
}

using I = KVSWX_BaseViewImpl;
// The sub-record children of "view", in written order, after its fields.
const auto kBaseViewParts = std::make_tuple(
    MakePart<Form::kNamed>(L"SectionLine", &I::sectionLine),
    MakePart<Form::kNamed>(L"DetailEnvelope", &I::detailEnvelope),
    MakePart<Form::kElement>(L"ProjectionArrow", &I::projectionArrow),
    MakePart<Form::kList>(L"Notes", &I::notes),
    MakePart<Form::kList>(L"BrokenOutSections", &I::brokenOutSections),
    MakePart<Form::kNonEmpty>(L"ManualGeometry", &I::manualGeometry),
    MakePart<Form::kList>(L"AssemblyComponents", &I::assemblyComponents),
    MakePart<Form::kList>(L"BodyComponents", &I::bodyComponents),
    MakePart<Form::kList>(L"ExcludedComponents", &I::excludedComponents),
    MakePart<Form::kList>(L"CenterMarks", &I::centerMarks),
    MakePart<Form::kElement>(L"CenterLines", &I::centerLines),
    MakePart<Form::kElement>(L"CropProfile", &I::cropProfile),
    MakePart<Form::kSelf>(L"BreakLines", &I::breakLines),
    MakePart<Form::kList>(L"FaceHatches", &I::faceHatches),
    MakePart<Form::kList>(L"SketchHatches", &I::sketchHatches));

template <class P>
void WritePart(const KVSWX_BaseViewImpl& record, XmlDocument& doc, XmlNode view, const P& part) {
    const auto& slot = record.*(part.member);
    if constexpr (P::kForm == Form::kList) {
        WriteCollection(doc, view, part.name, slot);
    } else {
        if (!slot) return;
        if constexpr (P::kForm == Form::kNonEmpty) {
            if (slot->IsEmpty()) return;
        }
        if constexpr (P::kForm == Form::kSelf) {
            slot->GetImpl()->Write(doc, view);
        } else {
            AttributeMap attributes;
            if constexpr (P::kForm == Form::kNamed) attributes.emplace(L"Name", slot->GetName());
            XmlNode owned = CreateChildElement(doc, view, part.name, {}, attributes);
            slot->GetImpl()->Write(doc, owned);
            CloseElement(doc, owned);
        }
    }
}

}  // namespace

void KVSWX_BaseViewImpl::Write(XmlDocument& doc, XmlNode view) {
    WriteFields(doc, view, v, kBaseViewFields);
    std::apply([&](const auto&... part) { (WritePart(*this, doc, view, part), ...); },
               kBaseViewParts);
}

// The children of the view's elements in document order: fields first, then
// the sub-records, each by its form.
void KVSWX_BaseViewImpl::ReadElements(XmlDocument& doc, const Located& at) {
    // The elements location + "/" + name selects, per name, gathered on
    // first use.
    std::vector<std::pair<std::string_view, std::vector<XmlNode>>> gathered;
    const auto gatheredFor = [&](std::string_view name) -> const std::vector<XmlNode>* {
        for (const auto& [key, nodes] : gathered) {
            if (key == name) return &nodes;
        }
        return nullptr;
    };
    const auto named = [&](std::string_view name) -> std::span<const XmlNode> {
        if (const std::vector<XmlNode>* nodes = gatheredFor(name)) return *nodes;
        return gathered.emplace_back(name, ChildrenNamed(at, name)).second;
    };
    const auto read = [&](const auto& part, XmlNode node) {
        using P = std::decay_t<decltype(part)>;
        auto& slot = this->*(part.member);
        const std::string_view name = node.NameUtf8();
        if constexpr (P::kForm == Form::kList) {
            // The items under all the wrappers of that name, each once:
            // read when the first wrapper is met.
            if (gatheredFor(name) != nullptr) return;
            using Item = typename std::decay_t<decltype(slot)>::value_type::element_type;
            for (const XmlNode& wrapper : named(name)) {
                for (XmlNode item = wrapper.FirstChild(); item; item = item.NextSibling()) {
                    if (!item.IsElement()) continue;
                    auto record = std::make_unique<Item>();
                    record->GetImpl()->ReadFromNode(doc, item);
                    slot.push_back(std::move(record));
                }
            }
        } else {
            const Located sub(at, part.name, named(name));
            ReadLocated(*NewOwned(slot)->GetImpl(), doc, sub);
        }
    };
    FieldCursor fields(v, kBaseViewFields);
    ForEachChildElement(at, [&](XmlNode node) {
        if (fields.Read(node)) return;
        const char* name = node.Raw().name();
        std::apply(
            [&](const auto&... part) {
                ((detail::SameName(name, part.name) && (read(part, node), true)) || ...);
            },
            kBaseViewParts);
    });
}

KVSWX_BaseView::KVSWX_BaseView() : d_(std::make_unique<KVSWX_BaseViewImpl>()) {}
KVSWX_BaseView::~KVSWX_BaseView() = default;
I_Serializable* KVSWX_BaseView::GetImpl() const { return d_.get(); }
const BaseViewValues& KVSWX_BaseView::Values() const { return d_->v; }

void KVSWX_BaseView::SetName(const std::wstring& v) { d_->v.name = v; }
void KVSWX_BaseView::SetSecondName(const std::wstring& v) { d_->v.secondName = v; }
void KVSWX_BaseView::SetInvName(const std::wstring& v) { d_->v.invName = v; }
const std::wstring& KVSWX_BaseView::GetName() const { return d_->v.name; }
const std::wstring& KVSWX_BaseView::GetSecondName() const { return d_->v.secondName; }
const std::wstring& KVSWX_BaseView::GetInvName() const { return d_->v.invName; }
const std::wstring& KVSWX_BaseView::GetLayer() const { return d_->v.layer; }

void KVSWX_BaseView::SetType(std::int32_t v) { d_->v.type = v; }
void KVSWX_BaseView::SetPosition(double x, double y) { d_->v.position = {x, y}; }
void KVSWX_BaseView::SetReferencedDocument(const std::wstring& v) { d_->v.referencedDocument = v; }
void KVSWX_BaseView::SetReferencedConfiguration(const std::wstring& v) { d_->v.referencedConfiguration = v; }
void KVSWX_BaseView::SetRefDocIndex(std::int32_t v) { d_->v.refDocIndex = v; }
void KVSWX_BaseView::SetScale(double first, double second) { d_->v.scale = {first, second}; }
void KVSWX_BaseView::SetAlignment(std::int32_t v) { d_->v.alignment = v; }
void KVSWX_BaseView::SetDisplayTangents(std::int32_t v) { d_->v.displayTangents = v; }
void KVSWX_BaseView::SetDisplayMode(std::int32_t v) { d_->v.displayMode = v; }
void KVSWX_BaseView::SetParentView(const std::wstring& v) { d_->v.parentView = v; }
void KVSWX_BaseView::SetLayer(const std::wstring& v) { d_->v.layer = v; }
void KVSWX_BaseView::SetAngle(double v) { d_->v.angle = v; }
void KVSWX_BaseView::SetModelToViewTransform(const Transform16& v) { d_->v.modelToViewTransform = v; }
void KVSWX_BaseView::SetIsVisible(bool v) { d_->v.isVisible = v; }
void KVSWX_BaseView::SetIsBroken(bool v) { d_->v.isBroken = v; }
void KVSWX_BaseView::SetIsFullOutline(bool v) { d_->v.isFullOutline = v; }
void KVSWX_BaseView::SetShowHiddenEdgesInShadedMode(bool v) { d_->v.showHiddenEdgesInShadedMode = v; }
void KVSWX_BaseView::SetIsCropped(bool v) { d_->v.isCropped = v; }


KVSWX_SectionLine* KVSWX_BaseView::NewSectionLine() {
    return NewOwned(d_->sectionLine);
}
KVSWX_DetailEnvelope* KVSWX_BaseView::NewDetailEnvelope() {
    return NewOwned(d_->detailEnvelope);
}
KVSWX_SectionLine* KVSWX_BaseView::GetSectionLine() const { return d_->sectionLine.get(); }
KVSWX_DetailEnvelope* KVSWX_BaseView::GetDetailEnvelope() const { return d_->detailEnvelope.get(); }
KVSWX_CenterLine* KVSWX_BaseView::NewCenterLines() { return NewOwned(d_->centerLines); }
KVSWX_CropProfile* KVSWX_BaseView::NewCropProfile() { return NewOwned(d_->cropProfile); }
KVSWX_ManualGeometry* KVSWX_BaseView::NewManualGeometry() { return NewOwned(d_->manualGeometry); }
KVSWX_CenterLine* KVSWX_BaseView::GetCenterLines() const { return d_->centerLines.get(); }
KVSWX_CropProfile* KVSWX_BaseView::GetCropProfile() const { return d_->cropProfile.get(); }
KVSWX_ManualGeometry* KVSWX_BaseView::GetManualGeometry() const { return d_->manualGeometry.get(); }

KVSWX_ProjectionArrow* KVSWX_BaseView::NewProjectionArrow() {
    return NewOwned(d_->projectionArrow);
}
KVSWX_ProjectionArrow* KVSWX_BaseView::GetProjectionArrow() const { return d_->projectionArrow.get(); }
KVSWX_BreakLinesCollection* KVSWX_BaseView::NewBreakLines() { return NewOwned(d_->breakLines); }
KVSWX_BreakLinesCollection* KVSWX_BaseView::GetBreakLines() const { return d_->breakLines.get(); }

KVSWX_BrokenOutSection* KVSWX_BaseView::AddBrokenOutSection() { return Append(d_->brokenOutSections); }
const std::vector<std::unique_ptr<KVSWX_BrokenOutSection>>& KVSWX_BaseView::GetBrokenOutSections() const {
    return d_->brokenOutSections;
}

KVSWX_Note* KVSWX_BaseView::AddNote() { return Append(d_->notes); }
const std::vector<std::unique_ptr<KVSWX_Note>>& KVSWX_BaseView::GetNotes() const { return d_->notes; }
KVSWX_AssemblyComponent* KVSWX_BaseView::AddAssemblyComponent() { return Append(d_->assemblyComponents); }
const std::vector<std::unique_ptr<KVSWX_AssemblyComponent>>& KVSWX_BaseView::GetAssemblyComponents() const { return d_->assemblyComponents; }
KVSWX_BodyComponent* KVSWX_BaseView::AddBodyComponent() { return Append(d_->bodyComponents); }
const std::vector<std::unique_ptr<KVSWX_BodyComponent>>& KVSWX_BaseView::GetBodyComponents() const { return d_->bodyComponents; }
KVSWX_ExcludedComponent* KVSWX_BaseView::AddExcludedComponent() { return Append(d_->excludedComponents); }
const std::vector<std::unique_ptr<KVSWX_ExcludedComponent>>& KVSWX_BaseView::GetExcludedComponents() const { return d_->excludedComponents; }
KVSWX_CenterMark* KVSWX_BaseView::AddCenterMark() { return Append(d_->centerMarks); }
const std::vector<std::unique_ptr<KVSWX_CenterMark>>& KVSWX_BaseView::GetCenterMarks() const { return d_->centerMarks; }
KVSWX_SketchHatch* KVSWX_BaseView::AddSketchHatch() { return Append(d_->sketchHatches); }
const std::vector<std::unique_ptr<KVSWX_SketchHatch>>& KVSWX_BaseView::GetSketchHatches() const { return d_->sketchHatches; }
KVSWX_FaceHatch* KVSWX_BaseView::AddFaceHatch() { return Append(d_->faceHatches); }
const std::vector<std::unique_ptr<KVSWX_FaceHatch>>& KVSWX_BaseView::GetFaceHatches() const {
    return d_->faceHatches;
}

}  // namespace kvswx
