#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/process_state.h"
#include "views/record_xml.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

class SegmentedSketchTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

// A sketch written into the element its owner creates, as the base view does.
std::string WriteInOwnerElement(const KVSWX_SegmentedSketch& sketch, const std::wstring& element) {
    return test::WriteUnder(L"view", [&](XmlDocument& doc, XmlNode view) {
        XmlNode owned = CreateChildElement(doc, view, element);
        sketch.GetImpl()->Write(doc, owned);
        CloseElement(doc, owned);
    });
}

void ReadByLocation(const KVSWX_SegmentedSketch& sketch, const std::string& xml, const std::wstring& location) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    sketch.GetImpl()->ReadFromDocument(doc, location);
}

// A stand-in sketch block: writes its own element, as list members do.
class BlockImpl final : public KVSWX_SegmentedSketchImpl {
public:
    void Write(XmlDocument& doc, XmlNode parent) override {
        XmlNode element = CreateChildElement(doc, parent, L"SketchBlock");
        KVSWX_SegmentedSketchImpl::Write(doc, element);
        CloseElement(doc, element);
    }
};
class Block final : public KVSWX_SegmentedSketch {
public:
    I_Serializable* GetImpl() const override { return impl_.get(); }
    KVSWX_SegmentedSketchImpl* GetSketchImpl() const override { return impl_.get(); }

private:
    std::unique_ptr<BlockImpl> impl_ = std::make_unique<BlockImpl>();
};

TEST_F(SegmentedSketchTest, EmptyCenterLinesWriteSegmentsEmptyManualGeometryWritesNothing) {
    KVSWX_CenterLine centerLines;
    centerLines.NewSegments();
    EXPECT_EQ(WriteInOwnerElement(centerLines, L"CenterLines"),
              "\n<view>\n\t<CenterLines>\n\t\t<Segments>\n\t\t</Segments>\n\t</CenterLines>\n</view>");

    KVSWX_ManualGeometry manual;
    EXPECT_TRUE(manual.IsEmpty());
    manual.NewSegments();
    EXPECT_TRUE(manual.IsEmpty());
    EXPECT_EQ(WriteInOwnerElement(manual, L"ManualGeometry"), "\n<view>\n\t<ManualGeometry>\n\t</ManualGeometry>\n</view>");
    manual.GetSegments()->AddLine();
    EXPECT_FALSE(manual.IsEmpty());
}

TEST_F(SegmentedSketchTest, SketchWithoutCollectionWritesNothing) {
    KVSWX_CropProfile crop;
    EXPECT_EQ(crop.GetSegments(), nullptr);
    EXPECT_EQ(WriteInOwnerElement(crop, L"CropProfile"), "\n<view>\n\t<CropProfile>\n\t</CropProfile>\n</view>");
}

TEST_F(SegmentedSketchTest, ManualGeometryWithOnlyASketchBlockWritesOnlySketchBlocks) {
    KVSWX_ManualGeometry manual;
    manual.NewSegments();
    manual.AddSketchBlock(std::make_unique<Block>())->NewSegments()->AddCircle();
    EXPECT_FALSE(manual.IsEmpty());
    const std::string xml = WriteInOwnerElement(manual, L"ManualGeometry");
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok);
    const std::vector<XmlNode> children = doc.SelectNodes(L"/view/ManualGeometry/*");
    ASSERT_EQ(children.size(), 1u) << xml;
    EXPECT_EQ(children[0].Name(), L"SketchBlocks");
    EXPECT_TRUE(doc.SelectSingleNode(L"/view/ManualGeometry/SketchBlocks/SketchBlock/Segments/Circle"));
}

// What reading leaves behind when the owner's element has no "Segments".
TEST_F(SegmentedSketchTest, MissingSegmentsReadAsEmptyForCenterLinesAndManualGeometryNoneForCropProfile) {
    const std::string xml = "<view><CenterLines/><ManualGeometry/><CropProfile/></view>";
    KVSWX_CenterLine centerLines;
    ReadByLocation(centerLines, xml, L"/view/CenterLines");
    ASSERT_NE(centerLines.GetSegments(), nullptr);
    EXPECT_TRUE(centerLines.GetSegments()->IsEmpty());

    KVSWX_ManualGeometry manual;
    ReadByLocation(manual, xml, L"/view/ManualGeometry");
    ASSERT_NE(manual.GetSegments(), nullptr);
    EXPECT_TRUE(manual.IsEmpty());

    KVSWX_CropProfile crop;
    ReadByLocation(crop, xml, L"/view/CropProfile");
    EXPECT_EQ(crop.GetSegments(), nullptr);
    // A location that finds nothing leaves the record as it was.
    ReadByLocation(crop, xml, L"/view/Nowhere");
    EXPECT_EQ(crop.GetSegments(), nullptr);
}

TEST_F(SegmentedSketchTest, LocatedSketchesReadBackAndSaveToSameBytes) {
    KVSWX_CenterLine centerLines;
    centerLines.NewSegments()->AddLine()->SetEndPoint({1, 2, 3});
    KVSWX_CropProfile crop;
    crop.NewSegments()->AddCircle()->SetRadius(4);
    crop.GetSegments()->AddArc()->SetAlongPoint({0.5, -0.5});
    KVSWX_ManualGeometry manual;
    manual.NewSegments()->AddSpline()->SetIsRational(true);
    manual.GetSegments()->GetSegments()[0]->SetConstructionGeometry(true);

    const std::vector<std::pair<const KVSWX_SegmentedSketch*, std::wstring>> cases = {
        {&centerLines, L"CenterLines"}, {&crop, L"CropProfile"}, {&manual, L"ManualGeometry"}};
    for (const auto& [sketch, element] : cases) {
        SCOPED_TRACE(std::string(element.begin(), element.end()));
        const std::string xml = WriteInOwnerElement(*sketch, element);
        std::unique_ptr<KVSWX_SegmentedSketch> back;
        if (element == L"CenterLines") back = std::make_unique<KVSWX_CenterLine>();
        if (element == L"CropProfile") back = std::make_unique<KVSWX_CropProfile>();
        if (element == L"ManualGeometry") back = std::make_unique<KVSWX_ManualGeometry>();
        ReadByLocation(*back, xml, L"/view/" + element);
        ASSERT_NE(back->GetSegments(), nullptr);
        EXPECT_EQ(back->GetSegments()->GetCount(), sketch->GetSegments()->GetCount());
        EXPECT_EQ(WriteInOwnerElement(*back, element), xml);
    }
}

TEST_F(SegmentedSketchTest, BrokenOutSectionWritesItsOwnElementAndForgetsItsName) {
    std::vector<std::unique_ptr<KVSWX_BrokenOutSection>> sections;
    sections.push_back(std::make_unique<KVSWX_BrokenOutSection>());
    sections.back()->SetName(L"A");
    sections.back()->SetDepth(0.025);
    sections.back()->NewSegments()->AddLine();
    sections.push_back(std::make_unique<KVSWX_BrokenOutSection>());  // no name, no segments

    const std::string xml =
        test::WriteUnder(L"view", [&](XmlDocument& doc, XmlNode view) {
            WriteCollection(doc, view, L"BrokenOutSections", sections);
        });
    EXPECT_NE(xml.find("<BrokenOutSection Name=\"A\">\n\t\t\t<Depth>0.0250000000000000</Depth>\n\t\t\t<Segments>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<BrokenOutSection>\n\t\t\t<Depth>0.0000000000000000</Depth>\n\t\t</BrokenOutSection>"),
              std::string::npos)
        << xml;

    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok);
    std::vector<std::unique_ptr<KVSWX_BrokenOutSection>> back;
    ReadCollection(doc, L"/view", L"BrokenOutSections", back);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->GetName(), L"");
    EXPECT_EQ(back[0]->GetDepth(), 0.025);
    ASSERT_NE(back[0]->GetSegments(), nullptr);
    EXPECT_EQ(back[0]->GetSegments()->GetCount(), 1u);
    EXPECT_EQ(back[1]->GetSegments(), nullptr);

    back[0]->SetName(L"A");
    ResetProcessStateForTests();
    EXPECT_EQ(test::WriteUnder(L"view", [&](XmlDocument& d, XmlNode view) {
                  WriteCollection(d, view, L"BrokenOutSections", back);
              }),
              xml);
}

TEST_F(SegmentedSketchTest, SecondSegmentsElementReplacesTheFirst) {
    const std::string xml =
        "<BrokenOutSection Name=\"B\"><Segments><Line/><Line/></Segments><Depth>2.5</Depth>"
        "<Segments><Parabola/></Segments></BrokenOutSection>";
    KVSWX_BrokenOutSection section;
    test::ReadAt(xml, L"/BrokenOutSection",
                 [&](XmlDocument& doc, XmlNode node) { section.GetImpl()->ReadFromNode(doc, node); });
    EXPECT_EQ(section.GetDepth(), 2.5);
    ASSERT_NE(section.GetSegments(), nullptr);
    ASSERT_EQ(section.GetSegments()->GetCount(), 1u);
    EXPECT_EQ(section.GetSegments()->GetSegments()[0]->GetType(), kSketchSegmentParabola);
}

TEST_F(SegmentedSketchTest, NewSegmentsReplacesTheCollection) {
    KVSWX_CenterLine centerLines;
    centerLines.NewSegments()->AddLine();
    KVSWX_SketchSegmentsCollection* fresh = centerLines.NewSegments();
    EXPECT_EQ(centerLines.GetSegments(), fresh);
    EXPECT_TRUE(fresh->IsEmpty());
    EXPECT_EQ(centerLines.GetSketchImpl(), centerLines.GetImpl());
}

}  // namespace
}  // namespace kvswx
