// The objects of a sheet besides its views: sketch pictures, which releases
// before 2015 keep as document features, and OLE objects, embedded ones with
// their data and linked ones with their file read whole.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/text.h"
#include "source/source.h"

namespace kvswx {

class KVSWX_DrawingSheet;
class KVSWX_OLEObject;

// Releases before this year keep their pictures and OLE objects; later ones
// are not collected.
inline constexpr std::int32_t kSheetObjectsLastYear = 2014;

// Pictures by the name of the sheet that owns them, in the order they were
// collected.
using PictureMap = std::map<std::wstring, std::vector<Ref<SourceSketchPicture>>, NameLess>;

// Every document feature whose specific object is a picture with pixel
// data, under the name of the first "DrSheet" feature on the owner chain of
// the feature holding the picture. A picture whose chain reaches no
// "DrSheet" (or loops) is left out.
PictureMap CollectPictureFeatures(SourceDocument& document);

// Adds the pictures the map holds for `sheetName` to the sheet, in order.
void ExtractSheetPictures(const std::wstring& sheetName, const PictureMap& pictures,
                          KVSWX_DrawingSheet& sheet);

// Adds the OLE objects of the active sheet (none from release year 2015 on).
// A linked object whose file is missing is logged to the active run log
// with its full file name and left out. `files` reads the linked files; none
// means this machine's file system.
void ExtractSheetOLEObjects(SourceDocumentCommands& commands, KVSWX_DrawingSheet& sheet,
                            const std::wstring& releaseYear, const Ref<SourceFileSystem>& files);

// Fills `record` from `source`: 0 when done, 1 when the object is linked and
// its file cannot be read. A linked file name is split at its last
// backslash; the directory part (with the backslash) and the file part are
// read together, so the process's current directory never changes.
std::int32_t FillOLEObject(SourceOleObject& source, KVSWX_OLEObject& record,
                           const Ref<SourceFileSystem>& files);

}  // namespace kvswx
