#include <gtest/gtest.h>

#include "platform/com.h"
#include "platform/text.h"

namespace kvswx {
namespace {

TEST(NameOrder, AlphabeticalWithCaseAsTieBreak) {
    struct Case { const wchar_t* a; const wchar_t* b; };
    // Each pair: a sorts strictly before b (the attributes the golden files
    // hold are in this order too).
    const Case cases[] = {
        {L"abc", L"ABD"},
        {L"name", L"Name"},
        {L"Name", L"NameX"},
    };
    for (const auto& c : cases) {
        EXPECT_LT(CompareNames(c.a, c.b), 0) << "a=" << ToUtf8(c.a);
        EXPECT_GT(CompareNames(c.b, c.a), 0) << "b=" << ToUtf8(c.b);
    }
    EXPECT_EQ(CompareNames(L"Name", L"Name"), 0);
}

TEST(Utf8, XmlIllegalCharactersAreReplaced) {
    EXPECT_EQ(ToUtf8Xml(L"a\x01" L"b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(ToUtf8Xml(L"\t\n\r"), "\t\n\r");
    EXPECT_EQ(ToUtf8Xml(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
    // A UTF-16 pair held in wide characters becomes one code point.
    const std::wstring pair{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(ToUtf8Xml(pair), "\xF0\x9F\x98\x80");
    EXPECT_EQ(ToUtf8Xml(L"\u00e9\u4e2d"), "\xC3\xA9\xE4\xB8\xAD");
}

TEST(Utf8, DecodingRoundTripsAndRejectsMalformedInput) {
    EXPECT_EQ(FromUtf8("\xC3\xA9\xF0\x9F\x98\x80"), std::wstring(L"\u00e9") + static_cast<wchar_t>(0x1F600));
    EXPECT_EQ(FromUtf8("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xE4\xB8"), L"\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");  // overlong
}

// Paths: see the base file names in naming_test.

TEST(ComString, LengthPrefixedAndNullIsEmpty) {
    ComString s = ComStringAlloc(std::wstring(L"ab\0c", 4));
    EXPECT_EQ(ComStringLen(s), 4u);
    EXPECT_EQ(ComStringToWide(s), std::wstring(L"ab\0c", 4));
    EXPECT_EQ(s[4], L'\0');
    ComStringFree(s);
    EXPECT_EQ(ComStringLen(nullptr), 0u);
    EXPECT_EQ(ComStringToWide(nullptr), L"");
    ComStringFree(nullptr);
}

TEST(ComString, HugeAllocationRaisesOutOfMemory) {
    try {
        (void)ComStringAlloc(nullptr, static_cast<std::size_t>(1) << 40);
        FAIL() << "expected ComError";
    } catch (const ComError& e) {
        EXPECT_EQ(e.Code(), kE_OUTOFMEMORY);
    }
}

}  // namespace
}  // namespace kvswx
