// The notes of a view, taken when the request asks for notes.
#pragma once

#include "source/source.h"

namespace kvswx {

class KVSWX_BaseView;

// Every note of the view, in source order, that is a plain note, a balloon
// of the second kind, or a balloon of one text line whose balloon data is
// all zero (or empty); other balloons are skipped. A note taken is moved to
// the base view's layer (through its annotation) and gets its name, its text
// lines joined by line feeds, prompt, linked text, IsBalloon (a balloon not
// of the second kind), the first three values of its text position, its
// text format, all its leader points and the leader head style (value 3 of
// the leader data, truncated; the record's default when the data is
// shorter). A text line the source does not return ends the text.
void ExtractNotes(KVSWX_BaseView& baseView, SourceView& view);

}  // namespace kvswx
