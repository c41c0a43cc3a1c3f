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

    void Write(XmlDocument& doc, XmlNode view) override {
        WriteFields(doc, view, v, kBaseViewFields);
        if (sectionLine) {
            WriteNamed(doc, view, L"SectionLine", sectionLine->GetName(),
                       *sectionLine->GetImpl());
        }
        if (detailEnvelope) {
            WriteNamed(doc, view, L"DetailEnvelope", detailEnvelope->GetName(),
                       *detailEnvelope->GetImpl());
        }
        if (projectionArrow) {
            XmlNode element = CreateChildElement(doc, view, L"ProjectionArrow");
            projectionArrow->GetImpl()->Write(doc, element);
            CloseElement(doc, element);
        }
        WriteCollection(doc, view, L"Notes", notes);
        WriteCollection(doc, view, L"BrokenOutSections", brokenOutSections);
        if (manualGeometry && !manualGeometry->IsEmpty()) WriteOwned(doc, view, L"ManualGeometry", *manualGeometry);
        WriteCollection(doc, view, L"AssemblyComponents", assemblyComponents);
        WriteCollection(doc, view, L"BodyComponents", bodyComponents);
        WriteCollection(doc, view, L"ExcludedComponents", excludedComponents);
        WriteCollection(doc, view, L"CenterMarks", centerMarks);
        if (centerLines) WriteOwned(doc, view, L"CenterLines", *centerLines);
        if (cropProfile) WriteOwned(doc, view, L"CropProfile", *cropProfile);
        // The break lines collection writes "BreakLines" itself.
        if (breakLines) breakLines->GetImpl()->Write(doc, view);
        WriteCollection(doc, view, L"FaceHatches", faceHatches);
        WriteCollection(doc, view, L"SketchHatches", sketchHatches);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReadElements(doc, Located(doc, location));
    }

    // The children of the view's elements in document order: fields, single
    // sub-records (each replaced and read at location + "/" + its element
    // name) and lists (extended by every element under every wrapper of
    // that name, location + "/" + name + "/*").
    void ReadElements(XmlDocument& doc, const Located& at) override {
        // The elements location + "/" + name selects, per name, gathered
        // on first use.
        std::vector<std::pair<std::string_view, std::vector<XmlNode>>> gathered;
        const auto named = [&](std::string_view name) -> std::span<const XmlNode> {
            for (const auto& [key, nodes] : gathered) {
                if (key == name) return nodes;
            }
            return gathered.emplace_back(name, ChildrenNamed(at, name)).second;
        };
        const auto single = [&](auto& slot, std::string_view name, std::wstring_view wide) {
            const Located sub(at, wide, named(name));
            ReadLocated(*NewOwned(slot)->GetImpl(), doc, sub);
        };
        const auto list = [&](auto& items, std::string_view name) {
            using Item = typename std::decay_t<decltype(items)>::value_type::element_type;
            for (const XmlNode& wrapper : named(name)) {
                for (XmlNode node = wrapper.FirstChild(); node; node = node.NextSibling()) {
                    if (!node.IsElement()) continue;
                    auto item = std::make_unique<Item>();
                    item->GetImpl()->ReadFromNode(doc, node);
                    items.push_back(std::move(item));
                }
            }
        };
        FieldCursor fields(v, kBaseViewFields);
        ForEachChildElement(at, [&](XmlNode node) {
            if (fields.Read(node)) return;
            const std::string_view name = node.NameUtf8();
            if (name == "SectionLine") {
                single(sectionLine, name, L"SectionLine");
            } else if (name == "DetailEnvelope") {
                single(detailEnvelope, name, L"DetailEnvelope");
            } else if (name == "ManualGeometry") {
                single(manualGeometry, name, L"ManualGeometry");
            } else if (name == "CenterLines") {
                single(centerLines, name, L"CenterLines");
            } else if (name == "CropProfile") {
                single(cropProfile, name, L"CropProfile");
            } else if (name == "ProjectionArrow") {
                single(projectionArrow, name, L"ProjectionArrow");
            } else if (name == "BreakLines") {
                single(breakLines, name, L"BreakLines");
            } else if (name == "Notes") {
                list(notes, name);
            } else if (name == "BrokenOutSections") {
                list(brokenOutSections, name);
            } else if (name == "AssemblyComponents") {
                list(assemblyComponents, name);
            } else if (name == "BodyComponents") {
                list(bodyComponents, name);
            } else if (name == "ExcludedComponents") {
                list(excludedComponents, name);
            } else if (name == "CenterMarks") {
                list(centerMarks, name);
            } else if (name == "FaceHatches") {
                list(faceHatches, name);
            } else if (name == "SketchHatches") {
                list(sketchHatches, name);
            }
        });
    }

    template <class T>
    static T* NewOwned(std::unique_ptr<T>& slot) {
        slot.reset();
        slot = std::make_unique<T>();
        return slot.get();
    }

private:
    // A sub-record whose element the base view creates with the record's
    // name as attribute "Name" (none when the name is empty).
    static void WriteNamed(XmlDocument& doc, XmlNode view, std::wstring_view element,
                           const std::wstring& name, I_Serializable& record) {
        AttributeMap attributes;
        attributes.emplace(L"Name", name);
        XmlNode owned = CreateChildElement(doc, view, element, {}, attributes);
        record.Write(doc, owned);
        CloseElement(doc, owned);
    }

    // A sub-record whose element the base view creates: the record fills it.
    static void WriteOwned(XmlDocument& doc, XmlNode view, std::wstring_view name, const KVSWX_SegmentedSketch& record) {
        XmlNode element = CreateChildElement(doc, view, name);
        record.GetImpl()->Write(doc, element);
        CloseElement(doc, element);
    }
};

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
    return KVSWX_BaseViewImpl::NewOwned(d_->sectionLine);
}
KVSWX_DetailEnvelope* KVSWX_BaseView::NewDetailEnvelope() {
    return KVSWX_BaseViewImpl::NewOwned(d_->detailEnvelope);
}
KVSWX_SectionLine* KVSWX_BaseView::GetSectionLine() const { return d_->sectionLine.get(); }
KVSWX_DetailEnvelope* KVSWX_BaseView::GetDetailEnvelope() const { return d_->detailEnvelope.get(); }
KVSWX_CenterLine* KVSWX_BaseView::NewCenterLines() { return KVSWX_BaseViewImpl::NewOwned(d_->centerLines); }
KVSWX_CropProfile* KVSWX_BaseView::NewCropProfile() { return KVSWX_BaseViewImpl::NewOwned(d_->cropProfile); }
KVSWX_ManualGeometry* KVSWX_BaseView::NewManualGeometry() { return KVSWX_BaseViewImpl::NewOwned(d_->manualGeometry); }
KVSWX_CenterLine* KVSWX_BaseView::GetCenterLines() const { return d_->centerLines.get(); }
KVSWX_CropProfile* KVSWX_BaseView::GetCropProfile() const { return d_->cropProfile.get(); }
KVSWX_ManualGeometry* KVSWX_BaseView::GetManualGeometry() const { return d_->manualGeometry.get(); }

KVSWX_ProjectionArrow* KVSWX_BaseView::NewProjectionArrow() {
    return KVSWX_BaseViewImpl::NewOwned(d_->projectionArrow);
}
KVSWX_ProjectionArrow* KVSWX_BaseView::GetProjectionArrow() const { return d_->projectionArrow.get(); }
KVSWX_BreakLinesCollection* KVSWX_BaseView::NewBreakLines() { return KVSWX_BaseViewImpl::NewOwned(d_->breakLines); }
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
