#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"
#include "model/process_state.h"
#include "model/xml_helpers.h"
#include "views/base_view.h"
#include "views/center_mark.h"
#include "views/component.h"
#include "views/hatch.h"
#include "views/note.h"
#include "views/record_xml.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

// The base view written into a "view" element of its own document.
std::string WriteView(const KVSWX_BaseView& view) {
    return test::WriteUnder(L"view", [&](XmlDocument& doc, XmlNode element) { view.GetImpl()->Write(doc, element); });
}

void ReadView(KVSWX_BaseView& view, const std::string& xml) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    view.GetImpl()->ReadFromDocument(doc, L"/view");
}

using BaseViewTest = test::FreshProcessTest;

// The children of each view type are pinned by the golden examples, those
// of a record never filled by model/two_sheets.xml.

// Every sub-record that exists, in a detail view with a full outline. The
// golden examples read back to the same bytes with their scalars set (see
// DrawingXml.EveryExampleReadsBackToItsOwnBytes); these are what they do
// not hold.
TEST_F(BaseViewTest, ReadBackSavesToTheSameBytes) {
    KVSWX_BaseView view;
    view.SetType(3);
    view.SetIsFullOutline(true);
    view.NewManualGeometry()->NewSegments()->AddLine()->SetEndPoint({1, 2, 0});
    view.NewCenterLines()->NewSegments()->AddCircle()->SetRadius(0.5);
    view.NewCropProfile()->NewSegments()->AddArc()->SetEndPoint({3, 4});
    view.AddBrokenOutSection()->SetDepth(0.01);
    view.AddBrokenOutSection()->NewSegments()->AddLine();
    view.AddNote()->SetText(L"N");
    view.AddAssemblyComponent()->AddBodyComponent()->SetName(L"B");
    view.AddBodyComponent()->SetVisible(true);
    view.AddExcludedComponent()->SetName(L"E");
    view.AddCenterMark()->SetStyle(3);
    view.AddFaceHatch()->SetPatternId(5);
    view.AddSketchHatch()->SetPattern(L"ANSI31");
    view.AddSketchHatch()->SetPatternId(2);
    const std::string first = WriteView(view);
    // The sub-records follow the scalars, the last of which is IsCropped.
    std::size_t at = first.find("<IsFullOutline>true</IsFullOutline>");
    ASSERT_NE(at, std::string::npos) << first;
    for (const char* next : {"<IsCropped>", "<Notes>", "<BrokenOutSections>", "<ManualGeometry>", "<AssemblyComponents>",
                             "\t<BodyComponents>\n\t\t<BodyComponent>", "<ExcludedComponents>", "<CenterMarks>",
                             "<CenterLines>", "<CropProfile>", "<FaceHatches>", "<SketchHatches>"}) {
        const std::size_t found = first.find(next);
        EXPECT_TRUE(found != std::string::npos && found > at) << next << " missing or out of order in " << first;
        at = found;
    }
    EXPECT_EQ(Process().indentDepth, 0);

    KVSWX_BaseView back;
    ReadView(back, first);
    EXPECT_EQ(WriteView(back), first);
}

TEST_F(BaseViewTest, ManualGeometryWithoutContentIsNotWritten) {
    KVSWX_BaseView view;
    view.NewManualGeometry();
    EXPECT_EQ(WriteView(view).find("ManualGeometry"), std::string::npos);
    view.GetManualGeometry()->NewSegments();  // an empty collection is still empty
    EXPECT_EQ(WriteView(view).find("ManualGeometry"), std::string::npos);
}

// Reading is lenient: each row is the inner XML of "view" and a check of the
// record read from it.
TEST_F(BaseViewTest, LenientScalarReading) {
    struct Case {
        const char* inner;
        std::function<void(const BaseViewValues&)> check;
    };
    const std::vector<Case> cases = {
        {"<Position>5</Position>", [](const auto& v) { EXPECT_EQ(v.position, (Point2{5, 0})); }},
        {"<Scale/>", [](const auto& v) { EXPECT_EQ(v.scale, (Point2{0, 0})); }},
        {"<ModelToViewTransform>1 2</ModelToViewTransform>",
         [](const auto& v) {
             Transform16 t{};
             t[0] = 1;
             t[1] = 2;
             EXPECT_EQ(v.modelToViewTransform, t);
         }},
        {"<RefDocIndex>x</RefDocIndex>", [](const auto& v) { EXPECT_EQ(v.refDocIndex, 0); }},
        {"<Layer>7</Layer>", [](const auto& v) { EXPECT_EQ(v.refDocIndex, -1) << "missing keeps default"; }},
        {"<IsVisible>True</IsVisible>", [](const auto& v) { EXPECT_FALSE(v.isVisible); }},
        {"<Type>6</Type><IsFullOutline>true</IsFullOutline>",
         [](const auto& v) { EXPECT_TRUE(v.isFullOutline) << "read whatever the type"; }},
        {"<isvisible>true</isvisible><Unknown>true</Unknown>", [](const auto& v) { EXPECT_FALSE(v.isVisible); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inner);
        KVSWX_BaseView view;
        ReadView(view, std::string("<view>") + c.inner + "</view>");
        c.check(view.Values());
    }
}

TEST_F(BaseViewTest, ListsAreExtendedWhateverTheItemElementName) {
    KVSWX_BaseView view;
    view.AddBrokenOutSection();
    ReadView(view, "<view><BrokenOutSections><Foo/><Bar/></BrokenOutSections></view>");
    EXPECT_EQ(view.GetBrokenOutSections().size(), 3u);
}

TEST_F(BaseViewTest, ListsReadEveryWrapperOnce) {
    KVSWX_BaseView view;
    ReadView(view,
             "<view><Notes><Note Name='a'/></Notes><Angle>1</Angle>"
             "<Notes><Note Name='b'/><Note Name='c'/></Notes></view>");
    ASSERT_EQ(view.GetNotes().size(), 3u);
    EXPECT_EQ(view.GetNotes()[0]->Values().name, L"a");
    EXPECT_EQ(view.GetNotes()[2]->Values().name, L"c");
}

TEST_F(BaseViewTest, RepeatedSubRecordReplacesAndReadsTheFirstElement) {
    KVSWX_BaseView view;
    ReadView(view,
             "<view><CenterLines><Segments><Line/></Segments></CenterLines>"
             "<CenterLines><Segments><Circle/><Circle/></Segments></CenterLines></view>");
    ASSERT_NE(view.GetCenterLines(), nullptr);
    ASSERT_NE(view.GetCenterLines()->GetSegments(), nullptr);
    const auto& segments = view.GetCenterLines()->GetSegments()->GetSegments();
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0]->GetType(), kSketchSegmentLine);
}

}  // namespace
}  // namespace kvswx
