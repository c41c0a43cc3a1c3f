#include "extract/extract_view.h"

#include "views/base_view.h"

namespace kvswx {

// Classification and the extraction steps are not in place yet: every view
// is extracted, with an empty record.
std::int32_t ClassifyView(const Ref<SourceView>&) { return 0; }

ViewWarningSet ExtractView(KVSWX_BaseView&, const Ref<SourceView>&, const Ref<SourceApplication>&,
                           const Ref<SourceDocumentCommands>&, const SourceRelease&, std::int32_t) {
    return {};
}

}  // namespace kvswx
