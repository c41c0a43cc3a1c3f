#include "model/naming.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "model/encodings.h"
#include "platform/os.h"
#include "platform/text.h"

namespace kvswx {

namespace {

constexpr std::wstring_view kInvalidNameCharacters = L"<>/\\\":;?|,=";
constexpr std::wstring_view kFileNameUnsafeCharacters = L"*/\\?:<>|\"";

std::wstring ReplaceEach(std::wstring text, std::wstring_view characters) {
    for (const wchar_t c : characters) std::replace(text.begin(), text.end(), c, L'_');
    return text;
}

}  // namespace

std::wstring ReplaceInvalidNameCharacters(const std::wstring& name) {
    return ReplaceEach(name, kInvalidNameCharacters);
}

std::wstring MakeFileNameSafe(std::wstring name) { return ReplaceEach(std::move(name), kFileNameUnsafeCharacters); }

std::wstring GetBaseFileName(const std::wstring& path) {
    std::wstring fileName = PathFileName(path);
    const std::wstring extension = PathExtension(fileName);
    if (extension.empty()) return fileName;
    const auto at = fileName.rfind(extension);
    if (at != std::wstring::npos) fileName.erase(at, extension.size());
    return fileName;
}

void LowerCaseInPlace(std::wstring& text) { LowerCaseUnicode(text); }

std::wstring SheetDxfNames::Next(const std::wstring& sheetName) {
    std::wstring name = ReplaceInvalidNameCharacters(sheetName);
    if (name == L"Model" || std::find(used_.begin(), used_.end(), name) != used_.end()) {
        name = L"SW_" + name + L"_" + FormatInt(renameCounter_);
        ++renameCounter_;
    }
    used_.push_back(name);
    return name;
}

}  // namespace kvswx
