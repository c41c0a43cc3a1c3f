// Classification and extraction of one drawing view.
#pragma once

#include <cstdint>
#include <unordered_set>

#include "source/release.h"
#include "source/source.h"

namespace kvswx {

class KVSWX_BaseView;

// Codes of lossy cases found while extracting a view. 0: the view's face
// hatches do not all share one pattern.
using ViewWarningSet = std::unordered_set<std::int32_t>;

// Outcome code of a view before anything is written for it: 0 to extract it,
// otherwise one of the skip/notice codes 1 to 11. Writes the detail-view
// warnings to the active run log.
std::int32_t ClassifyView(const Ref<SourceView>& view);

// Fills `baseView` from the source view.
ViewWarningSet ExtractView(KVSWX_BaseView& baseView, const Ref<SourceView>& view,
                           const Ref<SourceApplication>& application,
                           const Ref<SourceDocumentCommands>& commands, const SourceRelease& release,
                           std::int32_t notesSwitch);

}  // namespace kvswx
