// The connection to the drawing application for one run: the application
// found under its ProgID, its release, the preferences the extraction relies
// on, and the interfaces of the open document the run works with.
#pragma once

#include <string>

#include "source/release.h"
#include "source/source.h"

namespace kvswx {

// What a run holds of the application. Members are released in reverse
// order of acquisition when the connection goes away.
struct SourceConnection {
    Ref<SourceApplication> application;
    Ref<SourceDocumentCommands> commands;
    Ref<SourceDrawing> drawing;  // none when the document is not a drawing
    SourceRelease release;
    std::wstring documentPath;
};

// Release record of a dotted revision text: the year is the first number
// plus 1992 ("23.1.0" -> "2015"), the service pack the second token as it
// stands ("1"). Missing tokens keep the defaults "10" and "0".
SourceRelease ParseRelease(const std::wstring& revision);

// Connects to the application registered under "SldWorks.Application" and
// prepares it for extracting `document`: reads the release, stores the
// application's math utility as the process-wide one, gets the document's
// commands object, sets the five application preferences (integer 136 = 0,
// integer 1 = 1, toggle 358 on, integer 2 = 2, toggle 484 on; they stay set
// after the run), then gets the document's drawing interface and full path.
// Returns false, holding nothing, when no application is registered or its
// factory yields none. Failed source calls throw ComError.
bool ConnectSource(const Ref<SourceDocument>& document, SourceConnection& connection);

// Renames the document's layer "0" to the first free name "KV_0", "KV_1", ...
// and returns that name; returns an empty string (and renames nothing) when
// the document has no layer "0".
std::wstring FreeLayerZero(const Ref<SourceDocument>& document);

}  // namespace kvswx
