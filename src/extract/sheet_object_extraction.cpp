#include "extract/sheet_object_extraction.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "containers/drawing.h"
#include "containers/sheet_objects.h"
#include "model/encodings.h"
#include "model/run_log.h"
#include "platform/file_bytes.h"

namespace kvswx {

namespace {

constexpr const wchar_t* kSheetFeatureType = L"DrSheet";

// The sheet each feature belongs to: the name of the first "DrSheet"
// feature from it up its owners, or nullopt when there is none. Answers are
// kept, so features shared by many chains are asked once and the whole
// collection stays linear in the number of features; a chain that loops
// belongs to no sheet.
class OwningSheets {
public:
    std::optional<std::wstring> Of(Ref<SourceFeature> feature) {
        std::vector<const SourceFeature*> path;
        std::unordered_set<const SourceFeature*> onPath;
        std::optional<std::wstring> answer;
        while (feature) {
            const auto known = known_.find(feature.get());
            if (known != known_.end()) {
                answer = known->second;
                break;
            }
            if (!onPath.insert(feature.get()).second) break;  // a loop
            path.push_back(feature.get());
            held_.push_back(feature);  // keeps the keys of known_ alive
            if (feature->TypeName() == std::optional<std::wstring>(kSheetFeatureType)) {
                answer = feature->Name().value_or(std::wstring());
                break;
            }
            feature = feature->Owner();
        }
        for (const SourceFeature* f : path) known_.emplace(f, answer);
        return answer;
    }

private:
    std::unordered_map<const SourceFeature*, std::optional<std::wstring>> known_;
    std::vector<Ref<SourceFeature>> held_;
};

}  // namespace

PictureMap CollectPictureFeatures(SourceDocument& document) {
    PictureMap pictures;
    OwningSheets sheets;
    const Ref<SourceFeatureList> list = document.FeatureList();
    if (!list) return pictures;
    for (const Ref<SourceFeature>& feature : list->Features(0)) {
        if (!feature) continue;
        const Ref<SourceSpecificFeature> specific = feature->SpecificFeature();
        const Ref<SourceSketchPicture> picture =
            specific ? specific->QuerySketchPicture() : nullptr;
        if (!picture) continue;
        if (picture->PixelData().values.empty()) continue;
        const Ref<SourceFeature> holder = picture->PictureFeature();
        const auto sheetName = sheets.Of(holder ? holder->Owner() : nullptr);
        if (sheetName) pictures[*sheetName].push_back(picture);
    }
    return pictures;
}

void ExtractSheetPictures(const std::wstring& sheetName, const PictureMap& pictures,
                          KVSWX_DrawingSheet& sheet) {
    const auto found = pictures.find(sheetName);
    if (found == pictures.end()) return;
    for (const Ref<SourceSketchPicture>& picture : found->second) {
        KVSWX_SketchPicture& record = *sheet.AddSketchPicture();
        // Every element between the bounds, whatever the lower bound.
        const SourceShortArray pixels = picture->PixelData();
        record.SetPixelMap(pixels.values);
        const SourcePicturePosition position = picture->Position();
        record.SetX(position.x);
        record.SetY(position.y);
        const SourcePictureSize size = picture->Size();
        record.SetWidth(size.width);
        record.SetHeight(size.height);
        if (const Ref<SourcePictureBox> box = picture->BoxSource())
            record.SetBox(CheckedValues(box->Box()));
        record.SetAngle(picture->Angle());
        record.SetIsFlipped(picture->Flipped() != 0);
    }
}

std::int32_t FillOLEObject(SourceOleObject& source, KVSWX_OLEObject& record,
                           const Ref<SourceFileSystem>& files) {
    record.SetAspect(source.Aspect());
    record.SetBoundaries(CheckedValues(source.Boundaries()));
    record.SetCLSID(source.ClassId().value_or(std::wstring()));
    record.SetFileName(source.FileName().value_or(std::wstring()));
    record.SetIsLinked(source.Linked() != 0);
    if (!record.GetIsLinked()) {
        record.SetBuffer(CheckedValues(source.Data()));
        return 0;
    }
    const std::wstring& fileName = record.GetFileName();
    const std::size_t slash = fileName.rfind(L'\\');
    const std::wstring directory =
        slash == std::wstring::npos ? std::wstring() : fileName.substr(0, slash + 1);
    const std::wstring file = slash == std::wstring::npos ? fileName : fileName.substr(slash + 1);
    const auto bytes =
        files ? files->ReadWholeFile(directory, file) : ReadFileBytes(PathOfWide(directory + file));
    if (!bytes) return 1;
    record.SetBuffer(*bytes);
    return 0;
}

void ExtractSheetOLEObjects(SourceDocumentCommands& commands, KVSWX_DrawingSheet& sheet,
                            const std::wstring& releaseYear, const Ref<SourceFileSystem>& files) {
    const bool collected = ParseInt(releaseYear) <= kSheetObjectsLastYear;
    for (const Ref<SourceOleObject>& source : commands.OleObjects(1)) {
        if (!source || !collected) continue;
        auto record = std::make_unique<KVSWX_OLEObject>();
        if (FillOLEObject(*source, *record, files) == 0) {
            sheet.AddOLEObject(std::move(record));
        } else if (RunLog* log = ActiveLog()) {
            log->Print(logmsg::kMissingOleFile, record->GetFileName());
        }
    }
}

}  // namespace kvswx
