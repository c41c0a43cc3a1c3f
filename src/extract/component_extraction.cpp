#include "extract/component_extraction.h"

#include <map>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

#include "extract/annotation_extraction.h"
#include "views/base_view.h"
#include "views/center_mark.h"
#include "views/component.h"
#include "views/hatch.h"

namespace kvswx {

namespace {

// Release years above this one ask for bodies with the newer query.
constexpr std::int32_t kLastLegacyBodyQueryYear = 2013;
// The kind of bodies asked for: solid bodies.
constexpr std::int32_t kSolidBodies = 1;

// Arguments of the material hatch's document opening.
constexpr std::int32_t kPartDocument = 1;
constexpr std::int32_t kSilentOpen = 1;
// Model document preferences of the material hatch.
constexpr std::int32_t kHatchPatternPreference = 13;
constexpr std::int32_t kHatchFillPreference = 268;
constexpr std::int32_t kHatchScalePreference = 40;
constexpr std::int32_t kHatchAnglePreference = 41;
constexpr std::int32_t kSolidFillKind = 3;

struct BodyEntry {
    std::wstring name;
    bool visible = true;
};

struct ComponentEntry {
    std::wstring name;
    std::wstring configuration;
    bool visible = false;
    std::vector<BodyEntry> bodies;
};

std::vector<BodyEntry> WalkBodies(SourceView& view, const Ref<SourceComponent>& component,
                                  std::int32_t year) {
    const std::int32_t namingValue = view.BodyNamingValue();
    const std::vector<Ref<SourceBody>> bodies =
        year > kLastLegacyBodyQueryYear ? view.ComponentBodies(component, kSolidBodies)
                                        : view.ComponentBodiesLegacy(component, kSolidBodies);
    std::vector<BodyEntry> entries;
    std::unordered_set<std::wstring> seen;
    for (const Ref<SourceBody>& body : bodies) {
        if (!body) continue;
        const Ref<SourceNamedEntity> naming = body->NamingObject();
        if (!naming) continue;
        std::wstring raw = naming->Name().value_or(std::wstring());
        if (!seen.insert(raw).second) continue;
        entries.push_back(BodyEntry{BodyName(raw, namingValue), true});
    }
    return entries;
}

// The tree under the root, depth first and pre-order. The walk keeps its own
// stack, so a deep tree cannot exhaust the call stack, and visits every node
// once, so a source that returned a node again could not make it endless.
std::vector<ComponentEntry> WalkComponents(SourceView& view, SourceDrawingComponent& root,
                                           std::int32_t year) {
    std::vector<ComponentEntry> entries;
    std::unordered_set<const SourceDrawingComponent*> visited{&root};
    // Children still to visit, last pushed first: each node's children are
    // pushed in reverse so that the first child comes off the stack first.
    std::vector<Ref<SourceDrawingComponent>> pending;
    auto pushChildren = [&](SourceDrawingComponent& node) {
        std::vector<Ref<SourceDrawingComponent>> children = node.Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (*it && visited.insert(it->get()).second) pending.push_back(std::move(*it));
        }
    };
    pushChildren(root);
    while (!pending.empty()) {
        const Ref<SourceDrawingComponent> node = std::move(pending.back());
        pending.pop_back();
        if (const Ref<SourceComponent> component = node->Component()) {
            ComponentEntry entry;
            entry.name = component->Name().value_or(std::wstring());
            entry.configuration = component->ReferencedConfiguration().value_or(std::wstring());
            entry.visible = component->Visibility() != 0;
            entry.bodies = WalkBodies(view, component, year);
            entries.push_back(std::move(entry));
        }
        pushChildren(*node);
    }
    return entries;
}

// A hidden component hides the first entry of exactly its name and
// configuration; the lookup is by both names, so many hidden components
// cost no more than one pass each.
void HideComponents(SourceView& view, std::vector<ComponentEntry>& entries) {
    std::map<std::pair<std::wstring, std::wstring>, std::size_t> firstOf;
    for (std::size_t i = 0; i < entries.size(); ++i)
        firstOf.emplace(std::make_pair(entries[i].name, entries[i].configuration), i);
    for (const Ref<SourceComponent>& hidden : view.HiddenComponents()) {
        if (!hidden) continue;
        const auto it = firstOf.find(
            std::make_pair(hidden->Name().value_or(std::wstring()),
                           hidden->ReferencedConfiguration().value_or(std::wstring())));
        if (it != firstOf.end()) entries[it->second].visible = false;
    }
}

}  // namespace

std::wstring BodyName(const std::wstring& raw, std::int32_t namingValue) {
    if (namingValue <= 0) return raw;
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start < raw.size()) {
        const std::size_t end = raw.find(L'<', start);
        if (end == std::wstring::npos) {
            parts.push_back(raw.substr(start));
            break;
        }
        parts.push_back(raw.substr(start, end - start));
        start = end + 1;
    }
    if (parts.size() < 2) return raw;
    std::wstring name;
    for (std::size_t i = 2; i < parts.size(); ++i) {
        if (i + 1 < parts.size()) {
            name += parts[i] + L"<";
        } else if (!parts[i].empty()) {
            name += parts[i].substr(0, parts[i].size() - 1);
        }
    }
    return name;
}

void ExtractComponents(KVSWX_BaseView& baseView, SourceView& view, const SourceRelease& release) {
    const Ref<SourceDrawingComponent> root = view.RootDrawingComponent();
    if (!root) return;
    const std::int32_t year = ReleaseYear(release);
    std::vector<ComponentEntry> entries = WalkComponents(view, *root, year);
    HideComponents(view, entries);
    for (const ComponentEntry& entry : entries) {
        KVSWX_AssemblyComponent& component = *baseView.AddAssemblyComponent();
        component.SetName(entry.name);
        component.SetVisible(entry.visible);
        component.SetReferencedConfiguration(entry.configuration);
        for (const BodyEntry& body : entry.bodies) {
            KVSWX_BodyComponent& record = *component.AddBodyComponent();
            record.SetName(body.name);
            record.SetVisible(body.visible);
        }
    }
    if (const Ref<SourceComponent> own = root->Component()) {
        for (const BodyEntry& body : WalkBodies(view, own, year)) {
            KVSWX_BodyComponent& record = *baseView.AddBodyComponent();
            record.SetName(body.name);
            record.SetVisible(body.visible);
        }
    }
}

void ExtractExcludedComponents(KVSWX_BaseView& baseView, SourceSectionLine& line) {
    for (const Ref<SourceComponent>& component : line.ExcludedComponents()) {
        if (!component) continue;
        KVSWX_ExcludedComponent& record = *baseView.AddExcludedComponent();
        if (const SourceString name = component->Name()) record.SetName(*name);
        if (const SourceString configuration = component->ReferencedConfiguration())
            record.SetReferencedConfiguration(*configuration);
    }
}

void ExtractCenterMarks(KVSWX_BaseView& baseView, SourceView& view) {
    // Each mark once: a chain that led back to a mark already taken ends.
    std::unordered_set<const SourceCenterMark*> seen;
    for (Ref<SourceCenterMark> mark = view.FirstCenterMark();
         mark && seen.insert(mark.get()).second; mark = mark->Next()) {
        KVSWX_CenterMark& record = *baseView.AddCenterMark();
        record.SetUseDocumentDefaults(mark->UseDocumentDefaults() != 0);
        record.SetExtendedLines(mark->ExtendedLines() != 0);
        record.SetCenterlineFont(mark->CenterlineFont() != 0);
        record.SetMarkSize(mark->MarkSize());
        record.SetAngle(mark->Angle());
        record.SetStyle(mark->Style());
        record.SetGroupCount(mark->GroupCount());
        if (const Ref<SourceAnnotation> annotation = mark->Annotation()) {
            const SourceDoubleArray array = annotation->Position();
            const std::vector<double>& values = CheckedValues(array);
            Point3 position{};
            for (std::size_t i = 0; i < position.size() && i < values.size(); ++i)
                position[i] = values[i];
            record.SetPosition(position);
            record.SetCMLayer(annotation->Layer().value_or(std::wstring()));
        }
    }
}

bool ExtractFaceHatches(KVSWX_BaseView& baseView, SourceView& view, ViewWarningSet& warnings) {
    std::unordered_set<std::wstring> definitions;
    std::optional<std::int32_t> firstPatternId;
    for (const Ref<SourceFaceHatch>& hatch : view.FaceHatches()) {
        if (!hatch) continue;
        std::wstring definition = hatch->Definition().value_or(std::wstring());
        if (definitions.count(definition) != 0) continue;
        KVSWX_FaceHatch& record = *baseView.AddFaceHatch();
        record.SetAngle(hatch->Angle());
        record.SetColor(hatch->Color());
        record.SetDefinition(definition);
        record.SetPattern(hatch->Pattern().value_or(std::wstring()));
        const std::int32_t patternId = hatch->PatternId();
        record.SetPatternId(patternId);
        record.SetScale(hatch->Scale());
        record.SetSolidFill(hatch->SolidFill() != 0);
        record.SetUseMaterialHatch(hatch->UseMaterialHatch() != 0);
        definitions.insert(std::move(definition));
        if (!firstPatternId) {
            firstPatternId = patternId;
        } else if (patternId != *firstPatternId) {
            warnings.insert(0);
        }
    }
    return firstPatternId.has_value();
}

void ExtractMaterialHatch(KVSWX_BaseView& baseView, SourceView& view,
                          SourceApplication* application) {
    KVSWX_FaceHatch& record = *baseView.AddFaceHatch();
    const SourceString path = view.ReferencedDocumentPath();
    if (!path || application == nullptr) return;
    const Ref<SourceModelDocument> model =
        application->OpenModelDocument(*path, kPartDocument, kSilentOpen, L"");
    if (!model) return;
    record.SetPattern(
        model->ReadStringPreference(kHatchPatternPreference).value_or(std::wstring()));
    record.SetSolidFill(model->ReadIntegerPreference(kHatchFillPreference) == kSolidFillKind);
    record.SetScale(model->ReadDoublePreference(kHatchScalePreference));
    record.SetAngle(model->ReadDoublePreference(kHatchAnglePreference));
    record.SetColor(0);
    record.SetUseMaterialHatch(true);
}

void ExtractSketchHatches(KVSWX_BaseView& baseView, SourceView& view) {
    const Ref<SourceSketch> sketch = view.Sketch();
    if (!sketch) return;
    for (const Ref<SourceSketchHatch>& hatch : sketch->SketchHatches()) {
        if (!hatch) continue;
        KVSWX_SketchHatch& record = *baseView.AddSketchHatch();
        record.SetAngle(hatch->Angle());
        record.SetColor(hatch->Color());
        record.SetPattern(hatch->Pattern().value_or(std::wstring()));
        record.SetPatternId(hatch->PatternId());
        record.SetScale(hatch->Scale());
        record.SetSolidFill(hatch->SolidFill() != 0);
    }
}

}  // namespace kvswx
