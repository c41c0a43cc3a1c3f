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

const char* OutputNameProblem(const std::wstring& baseName) {
    constexpr std::size_t kMaxFileNameBytes = 255;
    if (baseName.find(L'\0') != std::wstring::npos) return "the drawing's name holds a NUL character";
    if (baseName.find_first_of(L"/\\") != std::wstring::npos) return "the drawing's name holds a path separator";
    if (ToUtf8(baseName).size() + 4 > kMaxFileNameBytes) return "the drawing's name is longer than a file name may be";
    return nullptr;
}

void LowerCaseInPlace(std::wstring& text) { LowerCaseUnicode(text); }

std::wstring SheetDxfNames::Next(const std::wstring& sheetName) {
    std::wstring name = ReplaceInvalidNameCharacters(sheetName);
    if (name == L"Model" || used_.count(name) != 0) {
        name = L"SW_" + name + L"_" + FormatInt(renameCounter_);
        ++renameCounter_;
    }
    used_.insert(name);
    return name;
}

}  // namespace kvswx
