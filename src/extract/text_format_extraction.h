// Filling a text format record from the application's text format object.
#pragma once

#include "docprops/text_format.h"
#include "source/source.h"

namespace kvswx {

// Fills `record` from the source text format, property by property in field
// order; none leaves the record unchanged. The reads are not checked: a face
// name the source does not return is stored as the empty string, as a null
// string copies. Booleans: non-zero = true.
void ExtractTextFormat(KVSWX_TextFormat& record, const Ref<SourceTextFormat>& source);

}  // namespace kvswx
