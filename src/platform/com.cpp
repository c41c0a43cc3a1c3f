#include "platform/com.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#ifdef _WIN32
#include <windows.h>

#include <oleauto.h>
#endif

namespace kvswx {

namespace {
std::string DescribeHresult(HRESULT hr) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "HRESULT 0x%08X", static_cast<unsigned>(hr));
    return buf;
}
}  // namespace

ComError::ComError(HRESULT hr, const std::string& what)
    : std::runtime_error(what.empty() ? DescribeHresult(hr) : DescribeHresult(hr) + ": " + what),
      hr_(hr) {}

#ifdef _WIN32

// On Windows the strings are the system's own (BSTR): the host frees them
// with SysFreeString. OLECHAR is wchar_t there, UTF-16.
ComString ComStringAlloc(const ComChar* text, std::size_t len) {
    // The byte length before the characters is 32 bits, as on Linux.
    constexpr std::size_t kMaxChars =
        (std::numeric_limits<std::uint32_t>::max() - sizeof(ComChar)) / sizeof(ComChar);
    if (len > kMaxChars) throw ComError(kE_OUTOFMEMORY, "string too long");
    ComString s = SysAllocStringLen(len == 0 ? L"" : text, static_cast<UINT>(len));
    if (s == nullptr) throw ComError(kE_OUTOFMEMORY, "cannot allocate string");
    return s;
}

void ComStringFree(ComString s) noexcept { SysFreeString(s); }

std::size_t ComStringLen(const ComChar* s) noexcept { return SysStringLen(const_cast<ComChar*>(s)); }

#else

// Layout: [uint32 byte length][characters][L'\0'], pointer to the characters.
ComString ComStringAlloc(const ComChar* text, std::size_t len) {
    constexpr std::size_t kMaxChars =
        (std::numeric_limits<std::uint32_t>::max() - sizeof(ComChar)) / sizeof(ComChar);
    if (len > kMaxChars) throw ComError(kE_OUTOFMEMORY, "string too long");
    const std::size_t bytes = sizeof(std::uint32_t) + (len + 1) * sizeof(ComChar);
    // Over-align the prefix so the characters stay aligned for wchar_t.
    constexpr std::size_t kPrefix = alignof(ComChar) > sizeof(std::uint32_t) ? alignof(ComChar)
                                                                             : sizeof(std::uint32_t);
    auto* block = static_cast<unsigned char*>(std::malloc(bytes - sizeof(std::uint32_t) + kPrefix));
    if (block == nullptr) throw ComError(kE_OUTOFMEMORY, "cannot allocate string");
    auto* chars = reinterpret_cast<ComChar*>(block + kPrefix);
    const auto byteLen = static_cast<std::uint32_t>(len * sizeof(ComChar));
    std::memcpy(block + kPrefix - sizeof(std::uint32_t), &byteLen, sizeof byteLen);
    if (len != 0) std::memcpy(chars, text, len * sizeof(ComChar));
    chars[len] = L'\0';
    return chars;
}

namespace {
constexpr std::size_t PrefixSize() {
    return alignof(ComChar) > sizeof(std::uint32_t) ? alignof(ComChar) : sizeof(std::uint32_t);
}
}  // namespace

void ComStringFree(ComString s) noexcept {
    if (s == nullptr) return;
    std::free(reinterpret_cast<unsigned char*>(s) - PrefixSize());
}

std::size_t ComStringLen(const ComChar* s) noexcept {
    if (s == nullptr) return 0;
    std::uint32_t byteLen = 0;
    std::memcpy(&byteLen, reinterpret_cast<const unsigned char*>(s) - sizeof(std::uint32_t),
                sizeof byteLen);
    return byteLen / sizeof(ComChar);
}

#endif  // _WIN32

ComString ComStringAlloc(const std::wstring& text) { return ComStringAlloc(text.data(), text.size()); }

std::wstring ComStringToWide(const ComChar* s) {
    return s == nullptr ? std::wstring() : std::wstring(s, ComStringLen(s));
}

}  // namespace kvswx
