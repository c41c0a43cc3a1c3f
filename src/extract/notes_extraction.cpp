#include "extract/notes_extraction.h"

#include <algorithm>
#include <string>
#include <vector>

#include "docprops/text_format.h"
#include "extract/annotation_extraction.h"
#include "extract/text_format_extraction.h"
#include "views/base_view.h"
#include "views/note.h"

namespace kvswx {

namespace {

// Position of the leader head style in the leader data.
constexpr std::size_t kLeaderHeadStyleIndex = 3;

// Lines 1 to `count` joined by line feeds. The loop ends at the first line
// the source does not return, so a count far beyond the note's lines costs
// nothing.
std::wstring JoinedText(SourceNote& note, std::int32_t count) {
    std::wstring text;
    for (std::int32_t i = 1; i <= count; ++i) {
        const SourceString line = note.TextLine(i);
        if (!line) break;
        if (i > 1) text += L'\n';
        text += *line;
    }
    return text;
}

bool AllZero(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return v == 0.0; });
}

}  // namespace

void ExtractNotes(KVSWX_BaseView& baseView, SourceView& view) {
    for (const Ref<SourceNote>& note : view.Notes()) {
        if (!note) continue;
        const VBool balloon = note->BalloonState();
        const VBool secondKind = note->SecondBalloonState();
        const bool zeroData = balloon == 0 || AllZero(CheckedValues(note->BalloonData()));
        const std::int32_t lineCount = note->TextLineCount();
        const std::wstring text = JoinedText(*note, lineCount);
        const bool taken = balloon == 0 || (zeroData && lineCount == 1) || secondKind != 0;
        if (!taken) continue;

        if (const Ref<SourceAnnotation> annotation = note->Annotation())
            annotation->SetLayer(baseView.GetLayer());
        KVSWX_Note& record = *baseView.AddNote();
        record.SetName(note->Name().value_or(std::wstring()));
        record.SetText(text);
        record.SetPrompt(note->Prompt().value_or(std::wstring()));
        record.SetLinkedText(note->LinkedText().value_or(std::wstring()));
        record.SetIsBalloon(balloon != 0 && secondKind == 0);
        const SourceDoubleArray positionArray = note->TextPosition();
        const std::vector<double>& position = CheckedValues(positionArray);
        Point3 textPoint{};
        for (std::size_t i = 0; i < textPoint.size() && i < position.size(); ++i)
            textPoint[i] = position[i];
        record.SetTextPoint(textPoint);
        ExtractTextFormat(*record.NewTextFormat(), note->TextFormat());
        record.SetLeaderPoints(CheckedValues(note->LeaderPoints()));
        const SourceDoubleArray leaderData = note->LeaderData();
        const std::vector<double>& leader = CheckedValues(leaderData);
        if (leader.size() > kLeaderHeadStyleIndex)
            record.SetLeaderHeadStyle(TruncateToInt32(leader[kLeaderHeadStyleIndex]));
    }
}

}  // namespace kvswx
