// The COM pieces the library touches at its edges: HRESULT codes, the
// exception that carries one, and the length-prefixed wide string handed
// across the exported function's boundary. On Windows that string is a real
// BSTR (SysAllocStringLen/SysFreeString); elsewhere a stand-in with the same
// layout.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kvswx {

using HRESULT = std::int32_t;

inline constexpr HRESULT kS_OK = 0;
inline constexpr HRESULT kE_OUTOFMEMORY = static_cast<HRESULT>(0x8007000EU);
inline constexpr HRESULT kE_INVALIDARG = static_cast<HRESULT>(0x80070057U);
inline constexpr HRESULT kE_FAIL = static_cast<HRESULT>(0x80004005U);
// The object invoked has disconnected from its clients.
inline constexpr HRESULT kRPC_E_DISCONNECTED = static_cast<HRESULT>(0x80010108U);

// The only exception type the library throws: a failed COM-style call.
class ComError : public std::runtime_error {
public:
    explicit ComError(HRESULT hr, const std::string& what = {});
    HRESULT Code() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// A length-prefixed wide string: the 32-bit byte length sits immediately
// before the characters, and the characters are zero terminated. A null
// pointer is the empty string, as with BSTR.
using ComChar = wchar_t;
using ComString = ComChar*;

// Allocates a copy of `len` characters of `text` (text may be null when len
// is 0). Throws ComError(kE_OUTOFMEMORY) when memory cannot be had.
ComString ComStringAlloc(const ComChar* text, std::size_t len);
ComString ComStringAlloc(const std::wstring& text);
// Frees a string made by ComStringAlloc; null is allowed.
void ComStringFree(ComString s) noexcept;
// Length in characters; 0 for null.
std::size_t ComStringLen(const ComChar* s) noexcept;
// Copy into a std::wstring (empty for null).
std::wstring ComStringToWide(const ComChar* s);

}  // namespace kvswx
