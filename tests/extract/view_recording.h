// A one-sheet recorded drawing built from the JSON of its views, and the
// lookups the view classification and extraction tests share.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "source/source.h"
#include "model/process_state.h"
#include "recorded/recording.h"

namespace kvswx::test {

// The model documents "m" and "n" exist; `views` is the JSON text of the
// sheet's drawing views (the sheet view itself is added first).
inline std::shared_ptr<recorded::Recording> LoadViews(const std::string& views) {
    const std::string text = R"({
  "format": "kvswx-recording/1",
  "application": {"revision": "23.1.0", "modelDocuments": [
      {"id": "m", "path": "C:\\Parts\\M.SLDPRT"}, {"id": "n", "path": "C:\\Parts\\N.SLDPRT"}]},
  "document": {"path": "C:\\Drawings\\T.SLDDRW", "layers": ["0"], "drawing": {"sheets": [
      {"name": "Sheet1", "views": [{"name": "Sheet1", "type": 1}, )" +
                             views + R"(]}]}}
})";
    auto recording = recorded::LoadRecordingFromString(text, "views.json");
    Process().mathUtility = recording->Application()->MathUtility();
    return recording;
}

// The drawing view named `name` on the sheet; fails the test when missing.
inline Ref<SourceView> ViewNamed(const recorded::Recording& recording, const std::wstring& name) {
    Ref<SourceView> view = recording.Document()->QueryDrawing()->FirstView();
    for (view = view ? view->NextView() : nullptr; view; view = view->NextView()) {
        if (view->Name() == name) return view;
    }
    ADD_FAILURE() << "no view named " << std::string(name.begin(), name.end());
    return nullptr;
}

// "op target args" per journal entry, for compact comparisons.
inline std::vector<std::string> JournalLines(const recorded::Recording& recording) {
    std::vector<std::string> lines;
    for (const auto& entry : recording.GetJournal().Entries()) {
        lines.push_back(entry.op + " " + entry.target + " " + entry.args.dump());
    }
    return lines;
}

// A number as JSON text, all 17 digits; not-a-number as the string "nan".
inline std::string Number(double v) {
    if (std::isnan(v)) return "\"nan\"";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

// Numbers as a JSON array.
inline std::string List(const std::vector<double>& values) {
    std::string out;
    for (const double v : values) out += (out.empty() ? "" : ",") + Number(v);
    return "[" + out + "]";
}

}  // namespace kvswx::test
