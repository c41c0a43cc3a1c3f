#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include "docprops/document_properties.h"
#include "model/encodings.h"
#include "model/process_state.h"
#include "model/xml_helpers.h"
#include "containers/xml_wrapper.h"
#include "platform/text.h"
#include "test_support.h"
#include "views/base_view.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

// Two sheets of two views each; one sheet name needs quoting in XML and one
// view carries an InvName. The document properties hold every child a read
// creates, never filled, so they pin the initial values.
void BuildSample(KVSWX_Drawing& drawing) {
    drawing.SetName(L"Bracket.SLDDRW");
    KVSWX_DocumentProperties& properties = *drawing.CreateDocumentProperties();
    properties.SetLayerName(L"KV_0");
    properties.CreateCenterlinesCenterMarksOptions();
    KVSWX_DocViewOptions& views = *properties.CreateViewOptions();
    views.CreateDetailOptions();
    views.CreateSectionOptions();
    views.CreateAuxiliaryOptions();
    views.CreateProjectedOptions();
    properties.CreateLineThicknessOptions();
    KVSWX_DrawingSheet* s1 = drawing.GetOrAddSheet(L"Sheet \"A\" <1> & more");
    s1->SetDxfName(L"Sheet _A_ _1_ & more");
    KVSWX_DrawingView* v1 = s1->GetOrAddView(L"Drawing View1", L"", L"");
    v1->GetBaseView()->SetType(6);
    v1->GetBaseView()->SetLayer(L"1000");
    v1->GetBaseView()->SetPosition(0.1, 0.2);
    KVSWX_DrawingView* v2 = s1->GetOrAddView(L"Section A-A", L"", L"Inv-7");
    v2->GetBaseView()->SetType(3);
    v2->GetBaseView()->SetIsFullOutline(true);
    v2->GetBaseView()->SetAngle(-0.25);
    KVSWX_DrawingSheet* s2 = drawing.GetOrAddSheet(L"Sheet2");
    s2->SetDxfName(L"Sheet2");
    s2->GetOrAddView(L"Drawing View3", L"", L"")->GetBaseView()->SetScale(1, 2);
    s2->GetOrAddView(L"Drawing View4", L"", L"")->GetBaseView()->SetReferencedDocument(L"C:\\m\\part.sldprt");
}

TEST(DrawingXml, GoldenBytesAndStableRoundTrip) {
    KVSWX_XMLWrapper wrapper;
    BuildSample(*wrapper.NewDrawing());
    const auto dir = test::ScratchDir();
    const std::wstring path = (dir / "sample.xml").wstring();
    ASSERT_TRUE(wrapper.Save(path));
    EXPECT_EQ(Process().indentDepth, 0);
    const std::string bytes = test::ReadFile(dir / "sample.xml");
    EXPECT_TRUE(test::MatchesGolden("model/two_sheets.xml", bytes));
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename(), "sample.xml") << "no temporary file stays";

    const std::string cmd = "xmllint --noout '" + (dir / "sample.xml").string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);

    KVSWX_XMLWrapper reader;
    reader.Load(path);
    ASSERT_EQ(reader.GetDrawing()->GetSheetCount(), 2u);
    // InvName is not read back; everything else saves to the same bytes.
    reader.GetDrawing()->GetSheet(0)->GetView(1)->SetInvName(L"Inv-7");
    EXPECT_EQ(reader.ToBytes(), bytes);
}

// Every example drawing reads back into the model and saves to its own
// bytes: each kind of record a view holds (single sub-records, lists, the
// break lines that write their own element) is read from where it was
// written. A broken-out section's Name is the one value not read back.
TEST(DrawingXml, EveryExampleReadsBackToItsOwnBytes) {
    std::size_t examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::SourceDir() / "tests/golden/examples")) {
        if (entry.path().extension() != ".xml") continue;
        ++examples;
        std::string expected = test::ReadFile(entry.path());
        for (std::size_t at = 0; (at = expected.find("<BrokenOutSection Name=\"", at)) != std::string::npos;) {
            const std::size_t name = at + std::string_view("<BrokenOutSection").size();
            expected.erase(name, expected.find('>', name) - name);
            ++at;
        }
        KVSWX_XMLWrapper reader;
        reader.Load(entry.path().wstring());
        ASSERT_NE(reader.GetDrawing(), nullptr) << entry.path();
        const std::string written = reader.ToBytes();
        const auto [a, b] = std::mismatch(written.begin(), written.end(), expected.begin(), expected.end());
        EXPECT_TRUE(a == written.end() && b == expected.end())
            << entry.path() << ": first difference at byte " << (a - written.begin()) << ", written \""
            << std::string(a, std::min(a + 40, written.end())) << "\"";
    }
    EXPECT_GE(examples, 10u);
}

TEST(DrawingXml, SecondDocumentStartsUnindented) {
    KVSWX_XMLWrapper a;
    BuildSample(*a.NewDrawing());
    const std::string first = a.ToBytes();
    EXPECT_EQ(Process().indentDepth, 0);
    EXPECT_EQ(a.ToBytes(), first);
    // Attributes in name order: see the golden file; empty ones are left out.
    KVSWX_XMLWrapper b;
    b.NewDrawing();
    EXPECT_EQ(b.ToBytes(), "<?xml version='1.0' encoding='UTF-8'?>\n<swdrawing>\n</swdrawing>");
}

TEST(DrawingXml, MissingPiecesReadAsDefaults) {
    KVSWX_XMLWrapper w;
    w.LoadFromString("<swdrawing><sheet Name='S'><view Name='V'><Position>1.5</Position>"
                     "<Type swEnumValue='swDrawingDetailView'>x</Type></view></sheet></swdrawing>");
    const KVSWX_DrawingSheet* s = w.GetDrawing()->GetSheet(0);
    EXPECT_EQ(s->GetDxfName(), L"");
    EXPECT_EQ(s->GetSheetHeight(), 0.0);
    const BaseViewValues& v = s->GetView(0)->GetBaseView()->Values();
    EXPECT_EQ(v.position, (Point2{1.5, 0}));
    EXPECT_EQ(v.type, 0);          // read by number, never by name
    EXPECT_EQ(v.refDocIndex, -1);  // absent element keeps its default
    EXPECT_THROW(w.LoadFromString("<swdrawing>"), std::runtime_error);
}

// Names never steer the reader: each sheet and view reads back from its own
// element, whatever quotes its name holds.
TEST(DrawingXml, NamesWithQuotesReadBackFromTheirOwnElements) {
    KVSWX_XMLWrapper w;
    KVSWX_Drawing& d = *w.NewDrawing();
    const std::wstring names[] = {L"A", L"B' or '1'='1", L"q\"u'o'te\"", L"'"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        KVSWX_DrawingSheet& sheet = *d.GetOrAddSheet(names[i]);
        sheet.SetDxfName(L"dxf" + FormatInt(static_cast<std::int32_t>(i)));
        sheet.GetOrAddView(names[i] + L" view", L"", L"")->GetBaseView()->SetType(static_cast<std::int32_t>(i));
    }
    KVSWX_XMLWrapper r;
    r.LoadFromString(w.ToBytes());
    const KVSWX_Drawing& back = *r.GetDrawing();
    ASSERT_EQ(back.GetSheetCount(), std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(i);
        const KVSWX_DrawingSheet& sheet = *back.GetSheet(i);
        EXPECT_EQ(sheet.GetName(), names[i]);
        EXPECT_EQ(sheet.GetDxfName(), L"dxf" + FormatInt(static_cast<std::int32_t>(i)));
        ASSERT_EQ(sheet.GetViewCount(), 1u);
        EXPECT_EQ(sheet.GetView(0)->GetName(), names[i] + L" view");
        EXPECT_EQ(sheet.GetView(0)->GetBaseView()->Values().type, static_cast<std::int32_t>(i));
    }
}

// Each sheet, view and sketch reads exactly the elements its location path
// selects, whether the reader walks the elements in hand or evaluates the
// path: a name two siblings share selects both (each reads them all), a
// view without a name selects the views named "" (none: it is passed
// over), a name that is not valid UTF-8 selects the sibling it turns into,
// children come in any order, and of several "ManualGeometry" elements the
// first "Segments" among them counts.
TEST(DrawingXml, RecordsReadTheElementsTheirLocationsSelect) {
    // Per sheet: name[view name:angle:segments, ...] (- for no manual geometry).
    const auto summary = [](const KVSWX_Drawing& d) {
        std::string out;
        for (std::size_t s = 0; s < d.GetSheetCount(); ++s) {
            out += ToUtf8(d.GetSheet(s)->GetName()) + "[";
            for (std::size_t v = 0; v < d.GetSheet(s)->GetViewCount(); ++v) {
                const KVSWX_BaseView& view = *d.GetSheet(s)->GetView(v)->GetBaseView();
                const KVSWX_ManualGeometry* geometry = view.GetManualGeometry();
                out += (v != 0 ? "," : "") + ToUtf8(view.GetName()) + ":";
                out += std::to_string(static_cast<int>(view.Values().angle)) + ":";
                out += geometry != nullptr ? std::to_string(geometry->GetSegments()->GetCount())
                                           : "-";
            }
            out += "]";
        }
        return out;
    };
    const std::string one = "<ManualGeometry><Segments><Line/></Segments></ManualGeometry>";
    const std::string two = "<ManualGeometry><Segments><Arc/><Arc/></Segments></ManualGeometry>";
    const std::string bad = "\xff";              // not UTF-8: read as U+FFFD
    const std::string fffd = "\xef\xbf\xbd";  // U+FFFD
    const struct {
        std::string sheets;
        std::string expected;
    } cases[] = {
        {"<sheet Name='S'><view Name='A'>" + one + "<Angle>2</Angle><Type>1</Type></view></sheet>",
         "S[A:2:1]"},
        {"<sheet Name='S'><view Name='A'><Angle>1</Angle>" + one + "</view>"
         "<view Name='A'><Angle>2</Angle>" + two + "</view></sheet>",
         "S[A:2:1,A:2:1]"},
        {"<sheet Name='S'><view><Angle>1</Angle></view></sheet>", "S[]"},
        {"<sheet Name='S'><view><Angle>1</Angle></view>"
         "<view Name=''><Angle>2</Angle></view></sheet>",
         "S[:2:-,:2:-]"},
        {"<sheet Name='S'><view Name='" + bad + "'><Angle>1</Angle></view></sheet>", "S[]"},
        {"<sheet Name='S'><view Name='" + bad + "'><Angle>1</Angle></view>"
         "<view Name='" + fffd + "'><Angle>2</Angle></view></sheet>",
         "S[" + fffd + ":2:-," + fffd + ":2:-]"},
        {"<sheet Name='S'><view Name='A'><ManualGeometry/>" + two + one + "</view></sheet>",
         "S[A:0:2]"},
        {"<sheet Name='S'><view Name='A'><Angle>1</Angle></view></sheet>"
         "<sheet Name='S'><view Name='B'><Angle>2</Angle></view></sheet>",
         "S[A:1:-,B:2:-]S[A:1:-,B:2:-]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheets);
        KVSWX_XMLWrapper w;
        w.LoadFromString("<swdrawing>" + c.sheets + "</swdrawing>");
        EXPECT_EQ(summary(*w.GetDrawing()), c.expected);
    }
}

TEST(Containers, GetOrAddSheetAndView) {
    KVSWX_Drawing d;
    KVSWX_DrawingSheet* a = d.GetOrAddSheet(L"A");
    EXPECT_EQ(d.GetOrAddSheet(L"A"), a);
    EXPECT_NE(d.GetOrAddSheet(L"a"), a);
    EXPECT_EQ(d.GetSheetCount(), 2u);

    KVSWX_DrawingView* v = a->GetOrAddView(L"A", L"C", L"");
    EXPECT_EQ(v->GetName(), L"A");                 // no conflict yet: second name not kept
    EXPECT_EQ(a->GetOrAddView(L"A", L"", L""), v);  // empty second name matches by name
    KVSWX_DrawingView* ab = a->GetOrAddView(L"A", L"B", L"");
    EXPECT_EQ(ab->GetName(), L"A_B");
    EXPECT_EQ(ab->GetBaseView()->GetSecondName(), L"B");
    EXPECT_EQ(a->GetViewCount(), 2u);
    EXPECT_EQ(a->GetView(5), nullptr);
}

TEST(XmlHelpers, IndentationAndCollections) {
    XmlDocument doc;
    XmlNode root = CreateChildElement(doc, doc.AsNode(), L"r");
    AttributeMap attrs;
    attrs.emplace(L"swSketchSegments", L"swSketchLINE");
    attrs.emplace(L"isConstructionGeometry", L"false");
    attrs.emplace(L"isConstructionGeometry", L"true");  // first value kept
    attrs.emplace(L"Empty", L"");
    XmlNode seg = CreateChildElement(doc, root, L"Line", {}, attrs);
    CreateChildElement(doc, seg, L"StartPoint", L"1");
    CloseElement(doc, seg);
    CloseElement(doc, root);
    EXPECT_EQ(Process().indentDepth, 0);
    EXPECT_EQ(doc.ToBytes(),
              "\n<r>\n\t<Line isConstructionGeometry=\"false\" swSketchSegments=\"swSketchLINE\">"
              "\n\t\t<StartPoint>1</StartPoint>\n\t</Line>\n</r>");
}

TEST(XmlHelpers, EmptyCollectionWritesNothingAndReadsEmpty) {
    XmlDocument doc;
    XmlNode root = CreateChildElement(doc, doc.AsNode(), L"r");
    std::vector<std::unique_ptr<KVSWX_DrawingView>> none;
    WriteCollection(doc, root, L"Views", none);
    CloseElement(doc, root);
    EXPECT_EQ(doc.ToBytes().find("Views"), std::string::npos);
    ReadCollection(doc, L"/r", L"Views", none);
    EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace kvswx
