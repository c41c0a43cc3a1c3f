#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/process_state.h"
#include "model/xml_helpers.h"
#include "platform/text.h"
#include "views/base_view.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

// The base view written into a "view" element of its own document.
std::string WriteView(const KVSWX_BaseView& view) {
    XmlDocument doc;
    XmlNode element = CreateChildElement(doc, doc.AsNode(), L"view");
    view.GetImpl()->Write(doc, element);
    CloseElement(doc, element);
    return doc.ToBytes();
}

void ReadView(KVSWX_BaseView& view, const std::string& xml) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    view.GetImpl()->ReadFromDocument(doc, L"/view");
}

std::vector<std::wstring> ChildNames(const std::string& xml) {
    XmlDocument doc;
    EXPECT_TRUE(doc.LoadString(xml).ok);
    std::vector<std::wstring> names;
    for (const XmlNode& node : doc.SelectNodes(L"/view/*")) names.push_back(node.Name());
    return names;
}

std::wstring ChildText(const std::string& xml, const std::wstring& child) {
    XmlDocument doc;
    EXPECT_TRUE(doc.LoadString(xml).ok);
    return GetNodeText(doc.SelectSingleNode(L"/view/" + child));
}

class BaseViewTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

const std::vector<std::wstring> kScalarsWithOutline = {
    L"Type",   L"Position",     L"ReferencedDocument",   L"ReferencedConifguration",
    L"RefDocIndex", L"Scale",   L"Aligment",             L"DisplayTangents",
    L"DisplayMode", L"ParentView", L"Layer",             L"Angle",
    L"ModelToViewTransform", L"IsVisible", L"IsBroken",  L"IsFullOutline",
    L"ShowHiddenEdgesInShadedMode", L"IsCropped"};

TEST_F(BaseViewTest, ScalarChildrenInOrderFullOutlineOnlyForDetailViews) {
    std::vector<std::wstring> withoutOutline = kScalarsWithOutline;
    std::erase(withoutOutline, L"IsFullOutline");
    struct Case {
        std::int32_t type;
        bool outlineWritten;
    };
    for (const Case c : {Case{0, false}, Case{2, false}, Case{3, true}, Case{4, false}, Case{7, false}}) {
        KVSWX_BaseView view;
        view.SetType(c.type);
        view.SetIsFullOutline(true);
        const std::string xml = WriteView(view);
        EXPECT_EQ(ChildNames(xml), c.outlineWritten ? kScalarsWithOutline : withoutOutline) << "type " << c.type;
        EXPECT_EQ(Process().indentDepth, 0);
    }
}

TEST_F(BaseViewTest, FreshRecordWritesItsDefaults) {
    KVSWX_BaseView view;
    const std::string xml = WriteView(view);
    EXPECT_EQ(ChildText(xml, L"RefDocIndex"), L"-1");
    EXPECT_EQ(ChildText(xml, L"Type"), L"0");
    EXPECT_NE(xml.find("<Type>0</Type>"), std::string::npos) << "type 0 has no name: no attribute";
    EXPECT_NE(xml.find("<ParentView/>"), std::string::npos) << "empty strings still give an element";
    EXPECT_EQ(ChildText(xml, L"IsVisible"), L"false");

    view.SetType(3);
    view.SetAlignment(1);
    const std::string detail = WriteView(view);
    EXPECT_NE(detail.find("<Type swEnumValue=\""), std::string::npos) << detail;
    EXPECT_NE(detail.find("<Aligment swEnumValue=\""), std::string::npos) << detail;
}

// A view with every scalar set and every sub-record that exists.
void Populate(KVSWX_BaseView& view) {
    view.SetType(3);
    view.SetPosition(0.125, -2.5);
    view.SetReferencedDocument(L"C:\\Models\\Bracket.SLDPRT");
    view.SetReferencedConfiguration(L"Default_<x>");
    view.SetRefDocIndex(4);
    view.SetScale(2, 1);
    view.SetAlignment(1);
    view.SetDisplayTangents(2);
    view.SetDisplayMode(3);
    view.SetParentView(L"Drawing View1");
    view.SetLayer(L"1003");
    view.SetAngle(1.5707963267948966);
    Transform16 t{};
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = 0.25 * static_cast<double>(i) - 1;
    view.SetModelToViewTransform(t);
    view.SetIsVisible(true);
    view.SetIsBroken(true);
    view.SetIsFullOutline(true);
    view.SetShowHiddenEdgesInShadedMode(true);
    view.SetIsCropped(true);

    view.NewManualGeometry()->NewSegments()->AddLine()->SetEndPoint({1, 2, 0});
    view.NewCenterLines()->NewSegments()->AddCircle()->SetRadius(0.5);
    view.NewCropProfile()->NewSegments()->AddArc()->SetEndPoint({3, 4});
    view.AddBrokenOutSection()->SetDepth(0.01);
    view.AddBrokenOutSection()->NewSegments()->AddLine();
}

TEST_F(BaseViewTest, SubRecordsFollowTheScalarsInTheirOrder) {
    KVSWX_BaseView view;
    Populate(view);
    std::vector<std::wstring> expected = kScalarsWithOutline;
    expected.insert(expected.end(), {L"BrokenOutSections", L"ManualGeometry", L"CenterLines", L"CropProfile"});
    EXPECT_EQ(ChildNames(WriteView(view)), expected);
    EXPECT_EQ(Process().indentDepth, 0);
}

TEST_F(BaseViewTest, ReadBackSavesToTheSameBytes) {
    KVSWX_BaseView view;
    Populate(view);
    const std::string first = WriteView(view);

    KVSWX_BaseView back;
    ReadView(back, first);
    EXPECT_EQ(back.Values().scale, (Point2{2, 1}));
    EXPECT_EQ(back.Values().referencedConfiguration, L"Default_<x>");
    EXPECT_TRUE(back.Values().isFullOutline);
    ASSERT_NE(back.GetManualGeometry(), nullptr);
    ASSERT_NE(back.GetCenterLines(), nullptr);
    ASSERT_NE(back.GetCropProfile(), nullptr);
    EXPECT_EQ(back.GetBrokenOutSections().size(), 2u);
    EXPECT_EQ(WriteView(back), first);
}

TEST_F(BaseViewTest, ManualGeometryWithoutContentIsNotWritten) {
    KVSWX_BaseView view;
    view.NewManualGeometry();
    EXPECT_EQ(WriteView(view).find("ManualGeometry"), std::string::npos);
    view.GetManualGeometry()->NewSegments();  // an empty collection is still empty
    EXPECT_EQ(WriteView(view).find("ManualGeometry"), std::string::npos);
    view.GetManualGeometry()->GetSegments()->AddLine();
    EXPECT_NE(WriteView(view).find("<ManualGeometry>"), std::string::npos);
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
        {"<Position>1 2 3</Position>", [](const auto& v) { EXPECT_EQ(v.position, (Point2{1, 2})); }},
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
        {"<IsCropped>true</IsCropped>", [](const auto& v) { EXPECT_TRUE(v.isCropped); }},
        {"<Type>6</Type><IsFullOutline>true</IsFullOutline>",
         [](const auto& v) { EXPECT_TRUE(v.isFullOutline) << "read whatever the type"; }},
        {"<isvisible>true</isvisible><Unknown>true</Unknown>", [](const auto& v) { EXPECT_FALSE(v.isVisible); }},
        {"<Type swEnumValue=\"swDrawingDetailView\">4</Type>", [](const auto& v) { EXPECT_EQ(v.type, 4); }},
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
