#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/naming.h"

namespace kvswx {
namespace {

TEST(Naming, CharacterRules) {
    struct Case {
        std::wstring in;
        std::wstring invalidReplaced;
        std::wstring fileNameSafe;
    };
    const Case cases[] = {
        {L"a=b,c", L"a_b_c", L"a=b,c"},
        {L"A:1", L"A_1", L"A_1"},
        {L"<>/\\\":;?|,=", L"___________", L"______;__,="},
        {L"A*B", L"A*B", L"A_B"},
        {L"Rev 'B' & 100%", L"Rev 'B' & 100%", L"Rev 'B' & 100%"},
        {L"", L"", L""},
        {L"\u00c4:\u4e2d", L"\u00c4_\u4e2d", L"\u00c4_\u4e2d"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceInvalidNameCharacters(c.in), c.invalidReplaced);
        EXPECT_EQ(MakeFileNameSafe(c.in), c.fileNameSafe);
    }
}

TEST(Naming, BaseFileName) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Drawings\\Bracket.slddrw", L"Bracket"},
        {L"/home/u/Bracket.SLDDRW", L"Bracket"},
        {L"C:Bracket.SLDDRW", L"Bracket"},
        {L"C:\\Drawings\\NoExtension", L"NoExtension"},
        {L"C:\\Drawings.v2\\Plain", L"Plain"},
        // Only the last ".SLDDRW" is the extension.
        {L"C:\\D\\Part.SLDDRW copy.SLDDRW", L"Part.SLDDRW copy"},
        {L"", L""},
    };
    for (const auto& [path, base] : cases) EXPECT_EQ(GetBaseFileName(path), base);
}

TEST(Naming, SheetDxfNamesRenameDuplicatesAndModel) {
    struct Case {
        std::vector<std::wstring> sheets;
        std::vector<std::wstring> dxf;
    };
    const Case cases[] = {
        {{L"A:1", L"A/1"}, {L"A_1", L"SW_A_1_1"}},
        {{L"Sheet:1", L"Sheet/1", L"Sheet\\1"}, {L"Sheet_1", L"SW_Sheet_1_1", L"SW_Sheet_1_2"}},
        {{L"Model"}, {L"SW_Model_1"}},
        {{L"A:1", L"A/1", L"Model"}, {L"A_1", L"SW_A_1_1", L"SW_Model_2"}},
        {{L"model", L"MODEL"}, {L"model", L"MODEL"}},
        // A renamed name is not checked against the list again.
        {{L"SW_A_1", L"A", L"A"}, {L"SW_A_1", L"A", L"SW_A_1"}},
        {{L"Mo=del"}, {L"Mo_del"}},
    };
    for (const Case& c : cases) {
        SheetDxfNames names;
        std::vector<std::wstring> got;
        for (const auto& s : c.sheets) got.push_back(names.Next(s));
        EXPECT_EQ(got, c.dxf);
    }
}

TEST(Naming, LowerCasesBeyondAscii) {
    std::wstring text = L"C:\\Models\\\u00c4RGER \u00d8ST\\\u0394\u0416.SLDPRT\n";
    LowerCaseInPlace(text);
    EXPECT_EQ(text, L"c:\\models\\\u00e4rger \u00f8st\\\u03b4\u0436.sldprt\n");
}

}  // namespace
}  // namespace kvswx
