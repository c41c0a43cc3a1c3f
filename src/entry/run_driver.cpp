#include "entry/run_driver.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "entry/connection.h"
#include "model/naming.h"
#include "model/run_log.h"
#include "docprops/document_properties.h"
#include "extract/document_options_extraction.h"
#include "extract/extract_view.h"
#include "extract/sheet_object_extraction.h"
#include "containers/drawing.h"
#include "model/encodings.h"
#include "model/process_state.h"
#include "containers/xml_wrapper.h"
#include "platform/com.h"
#include "views/base_view.h"

namespace kvswx {

namespace {

// A COM string owned until it is handed to the host.
struct ComStringDeleter {
    void operator()(ComChar* s) const noexcept { ComStringFree(s); }
};
using OwnedComString = std::unique_ptr<ComChar, ComStringDeleter>;

// A list string for the host: null for an empty list, as the host expects
// when nothing is referenced.
OwnedComString ListString(const std::wstring& text) {
    return OwnedComString(text.empty() ? nullptr : ComStringAlloc(text));
}

std::wstring ReplaceApostrophes(std::wstring name) {
    std::replace(name.begin(), name.end(), L'\'', L'_');
    return name;
}

// Name of the section line a section view was cut by; empty for other views.
constexpr std::int32_t kSectionViewType = 2;

std::wstring RelatedName(SourceView& view) {
    if (view.Type() != kSectionViewType) return {};
    const Ref<SourceSectionLine> line = view.SectionLine();
    if (!line) return {};
    return ReplaceApostrophes(line->Name().value_or(std::wstring()));
}

// Everything one call holds. Members are destroyed in reverse order: the
// log closes, the source interfaces are released, the model goes last.
class Run {
public:
    Run(const KV_SWX_ExtractRequest& request, RunStats& stats) : request_(request), stats_(stats) {}

    std::int32_t Execute();

private:
    bool Prepare();
    void ProcessDrawing(RunLog& log);
    void ProcessSheet(const std::wstring& sheetName, SheetDxfNames& dxfNames, RunLog& log);
    void PutViewsOnLayers();
    void HandOverLists();
    void Save();

    const KV_SWX_ExtractRequest& request_;
    RunStats& stats_;
    std::unique_ptr<KVSWX_XMLWrapper> wrapper_;
    KVSWX_Drawing* drawing_ = nullptr;
    Ref<SourceDocument> document_;
    SourceConnection connection_;
    std::wstring baseName_;
    std::vector<std::wstring> sheetNames_;
    PictureMap pictures_;                // sketch pictures by sheet name
    Ref<SourceFileSystem> linkedFiles_;  // where linked OLE files are read
};

// Steps before the log is open: a refusal here returns 0 and leaves no trace.
bool Run::Prepare() {
    wrapper_ = std::make_unique<KVSWX_XMLWrapper>();
    drawing_ = wrapper_->NewDrawing();
    document_ = *static_cast<const Ref<SourceDocument>*>(request_.document);
    if (!document_) return false;

    if (!ConnectSource(document_, connection_)) return false;

    baseName_ = GetBaseFileName(connection_.documentPath);
    drawing_->SetName(baseName_ + L".SLDDRW");
    stats_.drawingName = drawing_->GetName();

    // A document that is not a drawing lists no sheets.
    if (connection_.drawing) {
        if (auto names = connection_.drawing->SheetNames()) sheetNames_ = std::move(*names);
    }
    return true;
}

std::int32_t Run::Execute() {
    if (!Prepare()) return 0;

    RunLog log;
    if (!log.Open(request_.logPath, kRunLogMode)) return 0;
    {
        ActiveLogScope active(log);
        try {
            ProcessDrawing(log);
        } catch (...) {
            // Whatever the application or the model raised ends this drawing;
            // the host goes on with the next one.
            stats_.interrupted = true;
            log.Print(logmsg::kUnexpectedException, connection_.documentPath);
        }
    }
    log.Close();
    return 1;
}

void Run::ProcessDrawing(RunLog& log) {
    log.Print(logmsg::kPreprocessing, connection_.documentPath);

    // The new name of layer "0" travels in the document properties, which
    // the options extraction then fills; one warning line per code.
    KVSWX_DocumentProperties& properties = *drawing_->CreateDocumentProperties();
    const std::wstring layerZero = FreeLayerZero(document_);
    if (!layerZero.empty()) properties.SetLayerName(layerZero);
    for (const std::int32_t code : ExtractDocumentProperties(properties, document_)) {
        if (code == kDetailCircleThicknessWarning) log.Print(logmsg::kDetailCircleThicknessLost);
        if (code == kViewPlaneWarning) log.Print(logmsg::kViewPlaneStyleLost);
    }

    log.Print(logmsg::kProcessing, connection_.documentPath);

    // Releases before 2015 keep sketch pictures as document features: they
    // are collected here into a map by sheet name, and each sheet takes its
    // own below together with its OLE objects.
    if (ParseInt(connection_.release.year) <= kSheetObjectsLastYear) {
        pictures_ = CollectPictureFeatures(*document_);
        linkedFiles_ = connection_.application->FileSystem();
    }

    SheetDxfNames dxfNames;
    for (const std::wstring& sheetName : sheetNames_) ProcessSheet(sheetName, dxfNames, log);

    PutViewsOnLayers();
    HandOverLists();
    Save();
}

void Run::ProcessSheet(const std::wstring& sheetName, SheetDxfNames& dxfNames, RunLog& log) {
    SourceDrawing& drawing = *connection_.drawing;
    drawing.ActivateSheet(sheetName);
    KVSWX_DrawingSheet& sheet = *drawing_->GetOrAddSheet(sheetName);
    sheet.SetDxfName(dxfNames.Next(sheetName));

    ExtractSheetPictures(sheetName, pictures_, sheet);
    if (connection_.commands) {
        ExtractSheetOLEObjects(*connection_.commands, sheet, connection_.release.year, linkedFiles_);
    }

    const Ref<SourceView> sheetView = drawing.FirstView();
    Ref<SourceView> view = sheetView ? sheetView->NextView() : nullptr;
    while (view) {
        const std::wstring name = view->Name().value_or(std::wstring());
        const ViewCodeOutcome outcome = DescribeViewCode(ClassifyView(view));
        if (outcome.message != nullptr) log.Print(outcome.message, name);
        if (outcome.skipped) ++stats_.viewsSkipped;
        if (ExtractOneView(document_, view, connection_.application, sheet, outcome.skipped, connection_.release,
                           request_.notesSwitch)) {
            ++stats_.viewsExtracted;
        }
        view = view->NextView();
    }
}

// Each extracted view goes onto the layer its record names.
void Run::PutViewsOnLayers() {
    for (std::size_t s = 0; s < drawing_->GetSheetCount(); ++s) {
        const KVSWX_DrawingSheet& sheet = *drawing_->GetSheet(s);
        connection_.drawing->ActivateSheet(sheet.GetName());
        for (std::size_t v = 0; v < sheet.GetViewCount(); ++v) {
            const KVSWX_DrawingView& view = *sheet.GetView(v);
            connection_.drawing->ActivateView(view.GetName());
            if (connection_.commands) {
                connection_.commands->SelectById(view.GetName(), L"DRAWINGVIEW", 0.0, 0.0, 0.0, kVariantTrue, 0,
                                                 nullptr, 0);
            }
            connection_.drawing->MoveSelectionToLayer(view.GetBaseView()->GetLayer(), 0);
            document_->ClearSelection(-1);
        }
    }
}

// The two lists from the process-wide table, every pair of every run so
// far, handed to the host only when both could be made.
void Run::HandOverLists() {
    std::wstring documents;
    std::wstring configurations;
    for (const auto& [path, configuration] : Process().referencedDocuments) {
        documents += path;
        documents += L'\n';
        configurations += MakeFileNameSafe(configuration);
        configurations += L'\n';
    }
    LowerCaseInPlace(documents);
    OwnedComString documentList = ListString(documents);
    OwnedComString configurationList = ListString(configurations);
    *request_.referencedDocuments = documentList.release();
    *request_.referencedConfigurations = configurationList.release();
}

void Run::Save() {
    document_->Finish();
    // A name the file system would cut or misread is never written: the XML
    // would land under another name, even over another file.
    if (OutputNameProblem(baseName_) != nullptr) return;
    const std::wstring path = std::wstring(request_.outputFolder) + L"//" + baseName_ + L".xml";
    stats_.xmlWritten = wrapper_->Save(path);
}

}  // namespace

ViewCodeOutcome DescribeViewCode(std::int32_t code) {
    switch (code) {
        case 1: return {logmsg::kOrthoNoParent, false};
        case 2: return {logmsg::kOrthoFromSection, true};
        case 3: return {logmsg::kAuxiliaryNoParent, false};
        case 4: return {logmsg::kAuxiliaryNoArrow, true};
        case 5: return {logmsg::kSectionNoLine, true};
        case 6: return {logmsg::kSectionIsometric, true};
        case 7: return {logmsg::kDetailNoCircle, true};
        case 8: return {logmsg::kNoReferencedDocument, true};
        case 9: return {logmsg::kHiddenEdges, false};
        case 10: return {logmsg::kAlternatePosition, true};
        case 11: return {logmsg::kExploded, true};
        default: return {};
    }
}

bool ExtractOneView(const Ref<SourceDocument>& document, const Ref<SourceView>& view,
                    const Ref<SourceApplication>& application, KVSWX_DrawingSheet& sheet, bool skipped,
                    const SourceRelease& release, std::int32_t notesSwitch) {
    if (skipped) return false;
    // Log lines carry the name as the source gives it; the model gets it
    // without apostrophes, which would break the XPath locations that find
    // the view again.
    const std::wstring sourceName = view->Name().value_or(std::wstring());
    const std::wstring name = ReplaceApostrophes(sourceName);
    const std::wstring relatedName = RelatedName(*view);
    KVSWX_DrawingView& container = *sheet.GetOrAddView(name, relatedName, std::wstring());
    KVSWX_BaseView& baseView = *container.GetBaseView();

    const std::wstring layer = FormatInt(Process().nextLayerNumber++);
    if (const Ref<SourceDrawing> drawing = document->QueryDrawing()) {
        drawing->CreateLayer(layer, container.GetName(), 0, 0, 1, -1);
    }
    baseView.SetLayer(layer);

    const ViewWarningSet warnings =
        ExtractView(baseView, view, application, document->Commands(), release, notesSwitch);
    RunLog* log = ActiveLog();
    if (log != nullptr) {
        if (warnings.count(0) != 0) log->Print(logmsg::kMixedHatchStyles, sourceName);
        log->Print(logmsg::kViewSucceeded, sourceName);
    }
    return true;
}

std::int32_t ExtractDrawingViewInfo(KV_SWX_ExtractRequest* request, RunStats* stats) noexcept {
    RunStats ignored;
    RunStats& out = stats != nullptr ? *stats : ignored;
    out = RunStats{};
    if (request == nullptr || request->document == nullptr || request->outputFolder == nullptr ||
        request->logPath == nullptr || request->referencedDocuments == nullptr ||
        request->referencedConfigurations == nullptr) {
        return 0;
    }
    try {
        Run run(*request, out);
        return run.Execute();
    } catch (...) {
        // Only the steps before the log opens get here (connection, sheet
        // names): the application is treated as not reachable.
        return 0;
    }
}

}  // namespace kvswx
