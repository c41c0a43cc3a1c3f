#include "entry/connection.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "source/class_registry.h"
#include "model/encodings.h"
#include "model/process_state.h"

namespace kvswx {

namespace {

// Tokens of `text` separated by `separator`; empty tokens are dropped, as the
// C library's tokenizer does.
std::vector<std::wstring> Tokens(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> tokens;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) tokens.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

// Preference codes the extraction depends on, with the values they get.
constexpr std::int32_t kPreference136 = 136;
constexpr std::int32_t kPreference1 = 1;
constexpr std::int32_t kToggle358 = 358;
constexpr std::int32_t kPreference2 = 2;
constexpr std::int32_t kToggle484 = 484;

}  // namespace

SourceRelease ParseRelease(const std::wstring& revision) {
    SourceRelease release;
    const std::vector<std::wstring> tokens = Tokens(revision, L'.');
    if (!tokens.empty()) {
        // Widened so that a number at the edge of the integer range cannot overflow.
        release.year = std::to_wstring(static_cast<std::int64_t>(ParseInt(tokens[0])) + 1992);
    }
    if (tokens.size() > 1) release.servicePack = tokens[1];
    return release;
}

bool ConnectSource(const Ref<SourceDocument>& document, SourceConnection& connection) {
    connection = SourceConnection{};
    const ApplicationFactory factory = ClassRegistry::Lookup(kSourceApplicationProgId);
    if (!factory) return false;
    Ref<SourceApplication> application = factory();
    if (!application) return false;

    SourceConnection next;
    next.application = std::move(application);
    next.release = ParseRelease(next.application->RevisionNumber().value_or(std::wstring()));
    Process().mathUtility = next.application->MathUtility();
    next.commands = document->Commands();

    next.application->SetIntegerPreference(kPreference136, 0);
    next.application->SetIntegerPreference(kPreference1, 1);
    next.application->SetTogglePreference(kToggle358, 1);
    next.application->SetIntegerPreference(kPreference2, 2);
    next.application->SetTogglePreference(kToggle484, 1);

    next.drawing = document->QueryDrawing();
    next.documentPath = document->PathName().value_or(std::wstring());
    connection = std::move(next);
    return true;
}

std::wstring FreeLayerZero(const Ref<SourceDocument>& document) {
    if (!document) return {};
    const Ref<SourceLayerManager> layers = document->LayerManager();
    if (!layers) return {};
    const Ref<SourceLayer> zero = layers->GetLayer(L"0");
    if (!zero) return {};
    std::wstring candidate;
    for (std::int32_t n = 0;; ++n) {
        candidate = L"KV_" + FormatInt(n);
        if (!layers->GetLayer(candidate) || n == std::numeric_limits<std::int32_t>::max()) break;
    }
    zero->SetName(candidate);
    return candidate;
}

}  // namespace kvswx
