// The run of one extraction request: connect, walk sheets and views, put
// every extracted view on its own layer, hand back the referenced-document
// lists and save the XML file. The exported KV_SWX_ExtractDrawingViewInfo
// is this function; the kvswx command calls it directly to also get the
// run's counts.
#pragma once

#include <cstdint>
#include <string>

#include "source/release.h"
#include "source/source.h"
#include "kvswx/extract_request.h"

namespace kvswx {

class KVSWX_DrawingSheet;

// What a run did, for hosts that report progress.
struct RunStats {
    std::wstring drawingName;  // base name + ".SLDDRW"; empty when refused
    std::int32_t viewsExtracted = 0;
    std::int32_t viewsSkipped = 0;
    bool interrupted = false;  // an unexpected error ended the processing
    bool xmlWritten = false;
};

// Runs `request`; returns 0 when refused, 1 when the run took place. See
// KV_SWX_ExtractDrawingViewInfo for the contract. Never throws.
std::int32_t ExtractDrawingViewInfo(KV_SWX_ExtractRequest* request, RunStats* stats = nullptr) noexcept;

// The log line of a view's classification code and whether the view is left
// out. Codes 1, 3 and 9 only report; codes 2, 4-8, 10 and 11 skip the view;
// other codes have no line and extract the view.
struct ViewCodeOutcome {
    const wchar_t* message = nullptr;  // null: nothing to log
    bool skipped = false;
};
ViewCodeOutcome DescribeViewCode(std::int32_t code);

// Extracts one view of the sheet unless `skipped`: cleans its name, finds or
// adds its container, gives it the next process-wide layer number (creating
// that layer in the drawing), fills its record and logs the outcome to the
// active run log. Returns whether the view was extracted.
bool ExtractOneView(const Ref<SourceDocument>& document, const Ref<SourceView>& view,
                    const Ref<SourceApplication>& application, KVSWX_DrawingSheet& sheet, bool skipped,
                    const SourceRelease& release, std::int32_t notesSwitch);

}  // namespace kvswx
