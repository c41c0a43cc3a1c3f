// The rules that turn names of the source drawing into output names: sheet
// DXF names, file-name-safe configuration names, the drawing's base name, the
// lower-cased list of referenced documents.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace kvswx {

// A copy of `name` with each of  < > / \ " : ; ? | , =  replaced by "_".
std::wstring ReplaceInvalidNameCharacters(const std::wstring& name);

// `name` with each of  * / \ ? : < > | "  replaced by "_".
std::wstring MakeFileNameSafe(std::wstring name);

// The file name of `path` without its extension: "C:\d\Part.Drawing.SLDDRW"
// gives "Part.Drawing".
std::wstring GetBaseFileName(const std::wstring& path);

// Why "<baseName>.xml" cannot be an output file name, or null when it can:
// the name holds a NUL character or a path separator, or is longer than a
// file name may be (255 bytes in UTF-8). Such a name is never shortened or
// altered: the drawing's XML file is not written.
const char* OutputNameProblem(const std::wstring& baseName);

// Lower-cases `text` in place, character by character, with the Unicode
// simple case mapping (independent of the process locale).
void LowerCaseInPlace(std::wstring& text);

// Hands out the sheets' DXF names for one run: invalid characters replaced,
// and a name already handed out, or "Model", becomes "SW_<name>_<n>" with a
// counter that starts at 1 and grows with every rename.
class SheetDxfNames {
public:
    std::wstring Next(const std::wstring& sheetName);

private:
    std::unordered_set<std::wstring> used_;
    std::int32_t renameCounter_ = 1;
};

}  // namespace kvswx
