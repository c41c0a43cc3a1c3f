// Behaviour of the recorded objects: state changes, the journal, faults,
// the crop command and the math objects.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "platform/text.h"
#include "recorded/store.h"

namespace kvswx::recorded {

// ---------------------------------------------------------------------------
// Operation names

namespace {

struct OpInfo {
    std::string_view name;
    std::string_view iface;
};

constexpr OpInfo kOps[] = {
#define KVSWX_OP_INFO(iface, method) {#iface "." #method, #iface},
    KVSWX_RECORDED_OPS(KVSWX_OP_INFO)
#undef KVSWX_OP_INFO
};

}  // namespace

std::string_view OpName(Op op) { return kOps[static_cast<std::size_t>(op)].name; }
std::string_view OpInterface(Op op) { return kOps[static_cast<std::size_t>(op)].iface; }

std::optional<Op> OpFromName(std::string_view name) {
    static const std::unordered_map<std::string_view, Op> byName = [] {
        std::unordered_map<std::string_view, Op> table;
        for (std::size_t i = 0; i < std::size(kOps); ++i)
            table.emplace(kOps[i].name, static_cast<Op>(i));
        return table;
    }();
    const auto it = byName.find(name);
    if (it == byName.end()) return std::nullopt;
    return it->second;
}

// ---------------------------------------------------------------------------
// Store

Store::~Store() {
    for (auto it = owned_.rbegin(); it != owned_.rend(); ++it) it->destroy(it->object);
}

void Store::Call(Op op, const std::string& target) {
    if (faults_.empty()) return;
    for (; faultsIndexed_ < faults_.size(); ++faultsIndexed_)
        faultsByOp_[faults_[faultsIndexed_].op].push_back(faultsIndexed_);
    const auto found = faultsByOp_.find(op);
    if (found == faultsByOp_.end()) return;
    for (const std::size_t at : found->second) {
        Fault& fault = faults_[at];
        if (fault.target && *fault.target != target) continue;
        ++fault.seen;
        if (fault.seen <= fault.skip) continue;
        if (fault.times && fault.fired >= *fault.times) continue;
        ++fault.fired;
        throw ComError(fault.hr, "injected fault: " + std::string(OpName(op)) +
                                     (target.empty() ? std::string() : " on \"" + target + "\""));
    }
}

void Store::Record(Op op, const std::string& target, std::initializer_list<JournalArg> args) {
    journal_.Append(OpName(op), target, args);
}

std::string Utf8(const std::wstring& text) { return ToUtf8(text); }

// ---------------------------------------------------------------------------
// Math objects

SourceDoubleArray RecordedTransform::ArrayData() {
    Call(Op::Transform_ArrayData);
    return data;
}

SourceTransformComponents RecordedTransform::Components() {
    Call(Op::Transform_Components);
    const Affine a = AsAffine();
    auto self = store_->shared_from_this();
    auto vec = [&](double x, double y, double z) -> Ref<SourceMathVector> {
        return std::make_shared<RecordedMathVector>(store_, target_, Vec3{x, y, z}, self);
    };
    SourceTransformComponents c;
    c.xAxis = vec(a.r[0], a.r[1], a.r[2]);
    c.yAxis = vec(a.r[3], a.r[4], a.r[5]);
    c.zAxis = vec(a.r[6], a.r[7], a.r[8]);
    c.translation = vec(a.t[0], a.t[1], a.t[2]);
    c.scale = a.s;
    return c;
}

Ref<SourceTransform> NewTransform(Store* store, TargetName target, const Affine& affine) {
    return std::make_shared<RecordedTransform>(
        store, target, SourceDoubleArray{affine.ToValues(), 0}, store->shared_from_this());
}

Affine AffineOf(SourceTransform& transform) {
    if (auto* ours = dynamic_cast<RecordedTransform*>(&transform)) return ours->AsAffine();
    return Affine::FromValues(transform.ArrayData().values);
}

Ref<SourceTransform> RecordedTransform::Inverse() {
    Call(Op::Transform_Inverse);
    const auto inverse = AsAffine().Inverse();
    if (!inverse) return {};
    return NewTransform(store_, target_, *inverse);
}

Ref<SourceTransform> RecordedTransform::Multiply(const Ref<SourceTransform>& other) {
    Call(Op::Transform_Multiply);
    if (!other) return {};
    return NewTransform(store_, target_, AsAffine().Then(AffineOf(*other)));
}

Ref<SourceMathVector> RecordedMathVector::MultiplyTransform(const Ref<SourceTransform>& transform) {
    Call(Op::MathVector_MultiplyTransform);
    if (!transform) return {};
    return std::make_shared<RecordedMathVector>(
        store_, target_, AffineOf(*transform).MapVector(xyz), store_->shared_from_this());
}

Ref<SourceMathVector> RecordedMathVector::Normalise() {
    Call(Op::MathVector_Normalise);
    const double length = std::sqrt(xyz[0] * xyz[0] + xyz[1] * xyz[1] + xyz[2] * xyz[2]);
    Vec3 unit = xyz;  // a zero vector stays zero
    if (length > 0.0) {
        for (double& c : unit) c /= length;
    }
    return std::make_shared<RecordedMathVector>(store_, target_, unit, store_->shared_from_this());
}

SourceDoubleArray RecordedMathVector::ArrayData() {
    Call(Op::MathVector_ArrayData);
    return {{xyz[0], xyz[1], xyz[2]}, 0};
}

Ref<SourceMathPoint> RecordedMathPoint::MultiplyTransform(const Ref<SourceTransform>& transform) {
    Call(Op::MathPoint_MultiplyTransform);
    if (!transform) return {};
    return std::make_shared<RecordedMathPoint>(store_, target_, AffineOf(*transform).MapPoint(xyz),
                                               store_->shared_from_this());
}

SourceDoubleArray RecordedMathPoint::ArrayData() {
    Call(Op::MathPoint_ArrayData);
    return {{xyz[0], xyz[1], xyz[2]}, 0};
}

namespace {

// The application's math utility as the process holds it: from one
// connection to the next, until the library is unloaded. A live
// application's utility keeps no drawing open; this one does not keep the
// recording (the whole store) alive either, so a finished run's recording
// is freed when its last user lets go of it, not when the next run
// connects. Calls made after the recording is gone fail as calls to a
// disconnected object do.
class MathUtilityReference final : public SourceMathUtility {
public:
    MathUtilityReference(std::weak_ptr<Store> store, RecordedMathUtility* utility)
        : store_(std::move(store)), utility_(utility) {}

    Ref<SourceMathPoint> CreatePoint(double x, double y, double z) override {
        const auto held = Hold();
        return utility_->CreatePoint(x, y, z);
    }
    Ref<SourceMathVector> CreateVector(double x, double y, double z) override {
        const auto held = Hold();
        return utility_->CreateVector(x, y, z);
    }
    Ref<SourceTransform> CreateTransform(const SourceDoubleArray& data) override {
        const auto held = Hold();
        return utility_->CreateTransform(data);
    }

private:
    // The recording, kept for the length of a call.
    std::shared_ptr<Store> Hold() const {
        std::shared_ptr<Store> store = store_.lock();
        if (!store) {
            throw ComError(kRPC_E_DISCONNECTED, "the recording of this math utility is gone");
        }
        return store;
    }

    std::weak_ptr<Store> store_;
    RecordedMathUtility* utility_;
};

}  // namespace

Ref<SourceMathUtility> RecordedApplication::MathUtility() {
    Call(Op::Application_MathUtility);
    if (mathUtility == nullptr) return nullptr;
    return std::make_shared<MathUtilityReference>(store_->weak_from_this(), mathUtility);
}

Ref<SourceMathPoint> RecordedMathUtility::CreatePoint(double x, double y, double z) {
    Call(Op::MathUtility_CreatePoint);
    return std::make_shared<RecordedMathPoint>(store_, target_, Vec3{x, y, z},
                                               store_->shared_from_this());
}

Ref<SourceMathVector> RecordedMathUtility::CreateVector(double x, double y, double z) {
    Call(Op::MathUtility_CreateVector);
    return std::make_shared<RecordedMathVector>(store_, target_, Vec3{x, y, z},
                                                store_->shared_from_this());
}

Ref<SourceTransform> RecordedMathUtility::CreateTransform(const SourceDoubleArray& data) {
    Call(Op::MathUtility_CreateTransform);
    return std::make_shared<RecordedTransform>(store_, target_, data, store_->shared_from_this());
}

Ref<SourceTransform> RecordedPlacement::SegmentTransform() {
    Call(Op::Placement_SegmentTransform);
    if (owned_ != nullptr) return Share<SourceTransform>(owned_);
    return made_;
}

Ref<SourcePlacement> RecordedPlacement::CombineAffine(const Affine& first) {
    Affine mine = Affine::Identity();
    if (owned_ != nullptr) {
        mine = owned_->AsAffine();
    } else if (made_) {
        mine = AffineOf(*made_);
    }
    auto self = store_->shared_from_this();
    return std::make_shared<RecordedPlacement>(
        store_, target_, nullptr, NewTransform(store_, target_, first.Then(mine)), self);
}

Ref<SourcePlacement> RecordedPlacement::Combine(const Ref<SourcePlacement>& other) {
    Call(Op::Placement_Combine);
    if (!other) return {};
    const Ref<SourceTransform> transform = other->SegmentTransform();
    if (!transform) return {};
    return CombineAffine(AffineOf(*transform));
}

Ref<SourcePlacement> RecordedPlacement::Combine(const Ref<SourceTransform>& other) {
    Call(Op::Placement_Combine);
    if (!other) return {};
    return CombineAffine(AffineOf(*other));
}

// ---------------------------------------------------------------------------
// Sketches

Ref<SourceSketch> RecordedSegment::Sketch() {
    Call(Op::Segment_Sketch);
    return Share<SourceSketch>(sketch);
}

namespace {

template <class I, class T>
std::vector<Ref<I>> ShareAll(Store* store, const std::vector<T*>& objects) {
    std::vector<Ref<I>> out;
    out.reserve(objects.size());
    for (T* object : objects) out.push_back(store->Share<I>(object));
    return out;
}

}  // namespace

std::optional<std::vector<Ref<SourceSketchSegment>>> RecordedSketch::Segments() {
    Call(Op::Sketch_Segments);
    if (!segments) return std::nullopt;
    return ShareAll<SourceSketchSegment>(store_, *segments);
}

std::vector<Ref<SourceBlockInstance>> RecordedSketch::BlockInstances() {
    Call(Op::Sketch_BlockInstances);
    return ShareAll<SourceBlockInstance>(store_, blockInstances);
}

std::vector<Ref<SourceSketchHatch>> RecordedSketch::SketchHatches() {
    Call(Op::Sketch_SketchHatches);
    return ShareAll<SourceSketchHatch>(store_, hatches);
}

std::vector<Ref<SourceDrawingComponent>> RecordedDrawingComponent::Children() {
    Call(Op::DrawingComponent_Children);
    return ShareAll<SourceDrawingComponent>(store_, children);
}

// ---------------------------------------------------------------------------
// Annotations

void RecordedAnnotation::SetLayer(const std::wstring& value) {
    Call(Op::Annotation_SetLayer);
    layer = value;
    Record(Op::Annotation_SetLayer, {value});
}

SourceString RecordedNote::TextLine(std::int32_t index) {
    Call(Op::Note_TextLine);
    if (index < 1 || static_cast<std::size_t>(index) > textLines.size()) return std::nullopt;
    return textLines[static_cast<std::size_t>(index) - 1];
}

Ref<SourceView> RecordedSectionLine::OwnerView() {
    Call(Op::SectionLine_OwnerView);
    return Share<SourceView>(owner);
}

void RecordedSectionLine::SetLayer(const std::wstring& value) {
    Call(Op::SectionLine_SetLayer);
    layer = value;
    Record(Op::SectionLine_SetLayer, {value});
}

std::vector<Ref<SourceComponent>> RecordedSectionLine::ExcludedComponents() {
    Call(Op::SectionLine_ExcludedComponents);
    return ShareAll<SourceComponent>(store_, excludedComponents);
}

Ref<SourceView> RecordedDetailCircle::OwnerView() {
    Call(Op::DetailCircle_OwnerView);
    return Share<SourceView>(owner);
}

void RecordedDetailCircle::SetLayer(const std::wstring& value) {
    Call(Op::DetailCircle_SetLayer);
    layer = value;
    Record(Op::DetailCircle_SetLayer, {value});
}

std::vector<Ref<SourceSketchSegment>> RecordedDetailCircle::ProfileSegments() {
    Call(Op::DetailCircle_ProfileSegments);
    if (profile == nullptr || !profile->segments) return {};
    return ShareAll<SourceSketchSegment>(store_, *profile->segments);
}

void RecordedBreakLine::SetLayer(const std::wstring& value) {
    Call(Op::BreakLine_SetLayer);
    layer = value;
    Record(Op::BreakLine_SetLayer, {value});
}

double RecordedBreakLine::Position(std::int32_t index) {
    Call(Op::BreakLine_Position);
    if (index < 0 || static_cast<std::size_t>(index) >= positions.size()) return 0.0;
    return positions[static_cast<std::size_t>(index)];
}

void RecordedBrokenOutSection::SetSketchEditing(VBool value) {
    Call(Op::BrokenOutSection_SetSketchEditing);
    editing = value;
    Record(Op::BrokenOutSection_SetSketchEditing, {value});
}

std::vector<Ref<SourceSketchSegment>> RecordedBrokenOutSection::SketchSegments() {
    Call(Op::BrokenOutSection_SketchSegments);
    // The segments of the feature's sketch can be read only while it is
    // being edited.
    if (editing == 0 || sketch == nullptr || !sketch->segments) return {};
    return ShareAll<SourceSketchSegment>(store_, *sketch->segments);
}

// ---------------------------------------------------------------------------
// Features

Ref<SourceFeature> RecordedSketchPicture::PictureFeature() {
    Call(Op::SketchPicture_PictureFeature);
    return Share<SourceFeature>(feature);
}

std::vector<Ref<SourceFeature>> RecordedFeatureList::Features(std::int32_t) {
    Call(Op::FeatureList_Features);
    return ShareAll<SourceFeature>(store_, features);
}

// ---------------------------------------------------------------------------
// Views

Ref<SourceView> RecordedView::NextView() {
    Call(Op::View_NextView);
    if (sheet == nullptr || index + 1 >= sheet->views.size()) return {};
    return Share<SourceView>(sheet->views[index + 1]);
}

Ref<SourceModelDocument> RecordedView::ReferencedModelDocument() {
    Call(Op::View_ReferencedModelDocument);
    return Share<SourceModelDocument>(referencedModel);
}

void RecordedView::SetVisible(VBool value, std::int32_t showDimensions) {
    Call(Op::View_SetVisible);
    visible = value;
    Record(Op::View_SetVisible, {value, showDimensions});
}

std::vector<Ref<SourceSectionLine>> RecordedView::SectionLines() {
    Call(Op::View_SectionLines);
    return ShareAll<SourceSectionLine>(store_, sectionLines);
}

std::vector<Ref<SourceDetailCircle>> RecordedView::DetailCircles() {
    Call(Op::View_DetailCircles);
    return ShareAll<SourceDetailCircle>(store_, detailCircles);
}

std::vector<Ref<SourceBreakLine>> RecordedView::BreakLines() {
    Call(Op::View_BreakLines);
    return ShareAll<SourceBreakLine>(store_, breakLines);
}

std::vector<SourceBrokenOutSectionEntry> RecordedView::BrokenOutSections() {
    Call(Op::View_BrokenOutSections);
    std::vector<SourceBrokenOutSectionEntry> out;
    out.reserve(brokenOutSections.size());
    for (const BrokenOutEntry& entry : brokenOutSections) {
        out.push_back({entry.name, Share<SourceSpecificFeature>(entry.feature)});
    }
    return out;
}

std::vector<Ref<SourceNote>> RecordedView::Notes() {
    Call(Op::View_Notes);
    return ShareAll<SourceNote>(store_, notes);
}

std::vector<Ref<SourceComponent>> RecordedView::HiddenComponents() {
    Call(Op::View_HiddenComponents);
    return ShareAll<SourceComponent>(store_, hiddenComponents);
}

namespace {

std::vector<Ref<SourceBody>> BodiesOf(Store* store, const Ref<SourceComponent>& component, bool legacy) {
    // Only components of this recording have recorded bodies.
    auto* recorded = dynamic_cast<RecordedComponent*>(component.get());
    if (recorded == nullptr) return {};
    if (legacy && recorded->legacyBodies) return ShareAll<SourceBody>(store, *recorded->legacyBodies);
    return ShareAll<SourceBody>(store, recorded->bodies);
}

}  // namespace

std::vector<Ref<SourceBody>> RecordedView::ComponentBodiesLegacy(
    const Ref<SourceComponent>& component, std::int32_t) {
    Call(Op::View_ComponentBodiesLegacy);
    return BodiesOf(store_, component, true);
}

std::vector<Ref<SourceBody>> RecordedView::ComponentBodies(const Ref<SourceComponent>& component,
                                                           std::int32_t) {
    Call(Op::View_ComponentBodies);
    return BodiesOf(store_, component, false);
}

Ref<SourceCenterMark> RecordedView::FirstCenterMark() {
    Call(Op::View_FirstCenterMark);
    return centerMarks.empty() ? nullptr : Share<SourceCenterMark>(centerMarks.front());
}

std::vector<Ref<SourceFaceHatch>> RecordedView::FaceHatches() {
    Call(Op::View_FaceHatches);
    return ShareAll<SourceFaceHatch>(store_, faceHatches);
}

void RecordedView::ApplyCrop() {
    if (cropApplied || sketch == nullptr || cropSegments.empty()) return;
    cropApplied = true;
    if (!sketch->segments) sketch->segments.emplace();
    sketch->segments->insert(sketch->segments->end(), cropSegments.begin(), cropSegments.end());
}

// ---------------------------------------------------------------------------
// Drawing, layers, documents, application

void RecordedLayer::SetName(const std::wstring& value) {
    Call(Op::Layer_SetName);
    name = value;
    if (store_->document != nullptr) store_->document->layerManager->LayerRenamed();
    Record(Op::Layer_SetName, {value});
}

RecordedLayer* RecordedLayerManager::Find(const std::wstring& layerName) const {
    if (indexed_ > layers.size()) LayerRenamed();
    for (; indexed_ < layers.size(); ++indexed_) byName_.emplace(layers[indexed_]->name, layers[indexed_]);
    const auto it = byName_.find(layerName);
    return it == byName_.end() ? nullptr : it->second;
}

Ref<SourceLayer> RecordedLayerManager::GetLayer(const std::wstring& layerName) {
    Call(Op::LayerManager_GetLayer);
    return Share<SourceLayer>(Find(layerName));
}

std::optional<std::vector<std::wstring>> RecordedDrawing::SheetNames() {
    Call(Op::Drawing_SheetNames);
    if (!sheetsRecorded) return std::nullopt;
    std::vector<std::wstring> names;
    names.reserve(sheets.size());
    for (const RecordedSheet* sheet : sheets) names.push_back(sheet->name);
    return names;
}

VBool RecordedDrawing::ActivateSheet(const std::wstring& sheetName) {
    Call(Op::Drawing_ActivateSheet);
    Record(Op::Drawing_ActivateSheet, {sheetName});
    RecordedSheet* sheet = FindSheet(sheetName);
    if (sheet == nullptr) return kVariantFalse;
    if (sheet != activeSheet) activeView = nullptr;
    activeSheet = sheet;
    return kVariantTrue;
}

Ref<SourceView> RecordedDrawing::FirstView() {
    Call(Op::Drawing_FirstView);
    if (activeSheet == nullptr || activeSheet->views.empty()) return {};
    return Share<SourceView>(activeSheet->views.front());
}

VBool RecordedDrawing::CreateLayer(const std::wstring& layerName, const std::wstring& description,
                                   std::int32_t color, std::int32_t style, std::int32_t width,
                                   std::int32_t on) {
    Call(Op::Drawing_CreateLayer);
    Record(Op::Drawing_CreateLayer, {layerName, description, color, style, width, on});
    RecordedLayerManager* manager = store_->document->layerManager;
    if (layerName.empty() || manager->Find(layerName) != nullptr) return kVariantFalse;
    RecordedLayer* layer = store_->Make<RecordedLayer>(Utf8(layerName));
    layer->name = layerName;
    layer->description = description;
    manager->layers.push_back(layer);
    return kVariantTrue;
}

RecordedView* RecordedSheet::FindView(const std::wstring& viewName) const {
    for (; viewsIndexed_ < views.size(); ++viewsIndexed_) {
        const RecordedView* view = views[viewsIndexed_];
        if (view->name) viewsByName_.emplace(*view->name, views[viewsIndexed_]);
    }
    const auto it = viewsByName_.find(viewName);
    return it == viewsByName_.end() ? nullptr : it->second;
}

RecordedSheet* RecordedDrawing::FindSheet(const std::wstring& sheetName) const {
    for (; sheetsIndexed_ < sheets.size(); ++sheetsIndexed_) {
        RecordedSheet* sheet = sheets[sheetsIndexed_];
        sheetsByName_.emplace(sheet->name, sheet);
    }
    const auto it = sheetsByName_.find(sheetName);
    return it == sheetsByName_.end() ? nullptr : it->second;
}

RecordedView* RecordedDrawing::FindView(const std::wstring& viewName) const {
    // The active sheet first: names are unique within a drawing, but a
    // recording may reuse one on two sheets.
    if (activeSheet != nullptr) {
        if (RecordedView* view = activeSheet->FindView(viewName)) return view;
    }
    // Then the first view of that name in sheet order, through a
    // drawing-wide index built only when a lookup gets here.
    for (; viewSheetsIndexed_ < sheets.size(); ++viewSheetsIndexed_) {
        for (RecordedView* view : sheets[viewSheetsIndexed_]->views) {
            if (view->name) viewsByName_.emplace(*view->name, view);
        }
    }
    const auto it = viewsByName_.find(viewName);
    return it == viewsByName_.end() ? nullptr : it->second;
}

VBool RecordedDrawing::ActivateView(const std::wstring& viewName) {
    Call(Op::Drawing_ActivateView);
    Record(Op::Drawing_ActivateView, {viewName});
    if (activeSheet == nullptr) return kVariantFalse;
    RecordedView* view = activeSheet->FindView(viewName);
    if (view == nullptr) return kVariantFalse;
    activeView = view;
    return kVariantTrue;
}

VBool RecordedDrawing::MoveSelectionToLayer(const std::wstring& layerName, std::int32_t allViews) {
    Call(Op::Drawing_MoveSelectionToLayer);
    Record(Op::Drawing_MoveSelectionToLayer, {layerName, allViews});
    if (store_->document->layerManager->Find(layerName) == nullptr) return kVariantFalse;
    for (RecordedView* view : store_->selection) view->layer = layerName;
    return store_->selection.empty() ? kVariantFalse : kVariantTrue;
}

SourceString RecordedModelDocument::ReadStringPreference(std::int32_t id) {
    Call(Op::ModelDocument_ReadStringPreference);
    const auto it = stringPreferences.find(id);
    if (it == stringPreferences.end()) return std::nullopt;
    return it->second;
}

std::int32_t RecordedModelDocument::ReadIntegerPreference(std::int32_t id) {
    Call(Op::ModelDocument_ReadIntegerPreference);
    const auto it = integerPreferences.find(id);
    return it == integerPreferences.end() ? 0 : it->second;
}

double RecordedModelDocument::ReadDoublePreference(std::int32_t id) {
    Call(Op::ModelDocument_ReadDoublePreference);
    const auto it = doublePreferences.find(id);
    return it == doublePreferences.end() ? 0.0 : it->second;
}

VBool RecordedCommands::SelectById(const std::wstring& name, const std::wstring& type, double x,
                                   double y, double z, VBool append, std::int32_t mark,
                                   const Ref<SourceCallout>& callout, std::int32_t options) {
    Call(Op::Commands_SelectById);
    Record(Op::Commands_SelectById,
           {name, type, x, y, z, append, mark, callout ? JournalArg("callout") : JournalArg(nullptr), options});
    auto& selection = store_->selection;
    if (append == 0) selection.clear();
    // Only drawing views can be selected in a recording.
    RecordedDrawing* drawing = store_->document->drawing;
    RecordedView* view =
        (type == L"DRAWINGVIEW" && drawing != nullptr) ? drawing->FindView(name) : nullptr;
    if (view == nullptr) return kVariantFalse;
    if (std::find(selection.begin(), selection.end(), view) == selection.end())
        selection.push_back(view);
    return kVariantTrue;
}

VBool RecordedCommands::RunCommand(std::int32_t command, const SourceString& title) {
    Call(Op::Commands_RunCommand);
    Record(Op::Commands_RunCommand, {command, title});
    // 1388 adds the crop sketch of each selected view to the view's sketch.
    constexpr std::int32_t kCropCommand = 1388;
    if (command != kCropCommand) return kVariantFalse;
    for (RecordedView* view : store_->selection) view->ApplyCrop();
    return kVariantTrue;
}

std::vector<Ref<SourceOleObject>> RecordedCommands::OleObjects(std::int32_t) {
    Call(Op::Commands_OleObjects);
    RecordedDrawing* drawing = store_->document->drawing;
    if (drawing == nullptr || drawing->activeSheet == nullptr) return {};
    return ShareAll<SourceOleObject>(store_, drawing->activeSheet->oleObjects);
}

VBool RecordedDocument::ClearSelection(std::int32_t all) {
    Call(Op::Document_ClearSelection);
    Record(Op::Document_ClearSelection, {all});
    store_->selection.clear();
    return kVariantTrue;
}

void RecordedDocument::Finish() {
    Call(Op::Document_Finish);
    Record(Op::Document_Finish, {});
    finished = true;
}

namespace {

template <class Map, class Value>
Value Lookup(const Map& map, const PreferenceKey& key, Value fallback) {
    const auto it = map.find(key);
    return it == map.end() ? fallback : it->second;
}

}  // namespace

std::int32_t RecordedDocument::ReadDocumentInteger(std::int32_t id, std::int32_t option) {
    Call(Op::Document_ReadDocumentInteger);
    return Lookup(integerPreferences, {id, option}, std::int32_t{0});
}

VBool RecordedDocument::ReadDocumentToggle(std::int32_t id, std::int32_t option) {
    Call(Op::Document_ReadDocumentToggle);
    return Lookup(togglePreferences, {id, option}, VBool{0});
}

double RecordedDocument::ReadDocumentDouble(std::int32_t id, std::int32_t option) {
    Call(Op::Document_ReadDocumentDouble);
    return Lookup(doublePreferences, {id, option}, 0.0);
}

SourceString RecordedDocument::ReadDocumentString(std::int32_t id, std::int32_t option) {
    Call(Op::Document_ReadDocumentString);
    const auto it = stringPreferences.find({id, option});
    if (it == stringPreferences.end()) return std::nullopt;
    return it->second;
}

Ref<SourceTextFormat> RecordedDocument::ReadDocumentTextFormat(std::int32_t id,
                                                               std::int32_t option) {
    Call(Op::Document_ReadDocumentTextFormat);
    return Share<SourceTextFormat>(
        Lookup(textFormatPreferences, {id, option}, static_cast<RecordedTextFormat*>(nullptr)));
}

VBool RecordedApplication::SetIntegerPreference(std::int32_t code, std::int32_t value) {
    Call(Op::Application_SetIntegerPreference);
    Record(Op::Application_SetIntegerPreference, {code, value});
    integerPreferences[code] = value;
    return kVariantTrue;
}

void RecordedApplication::SetTogglePreference(std::int32_t code, std::int32_t on) {
    Call(Op::Application_SetTogglePreference);
    Record(Op::Application_SetTogglePreference, {code, on});
    togglePreferences[code] = on;
}

namespace {

// Windows paths compare without regard to ASCII letter case.
bool SamePath(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](wchar_t c) {
            return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

Ref<SourceModelDocument> RecordedApplication::OpenModelDocument(const std::wstring& path,
                                                                std::int32_t documentKind,
                                                                std::int32_t options,
                                                                const std::wstring& configuration) {
    Call(Op::Application_OpenModelDocument);
    Record(Op::Application_OpenModelDocument,
           {path, documentKind, options, configuration});
    for (RecordedModelDocument* model : modelDocuments) {
        if (model->path && SamePath(*model->path, path)) {
            if (!model->opens) return {};
            if (std::find(opened.begin(), opened.end(), model) == opened.end())
                opened.push_back(model);
            return Share<SourceModelDocument>(model);
        }
    }
    return {};
}

}  // namespace kvswx::recorded
