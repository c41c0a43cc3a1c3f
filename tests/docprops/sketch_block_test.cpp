// Sketch blocks: nesting, the parts left out when empty, reading back, and
// the depth bound. The nested_blocks example pins a block as a run writes it.
#include <gtest/gtest.h>

#include <string>

#include "docprops/sketch_block.h"
#include "model/process_state.h"
#include "views/base_view.h"
#include "views/record_xml.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

class SketchBlockTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }

    static std::string WriteManual(KVSWX_ManualGeometry& manual) {
        return test::WriteUnder(L"ManualGeometry",
                                [&](XmlDocument& doc, XmlNode parent) { manual.GetImpl()->Write(doc, parent); });
    }

    static std::string ReadAndWriteAgain(const std::string& xml) {
        XmlDocument doc;
        EXPECT_TRUE(doc.LoadString(xml).ok) << xml;
        KVSWX_ManualGeometry manual;
        manual.GetImpl()->ReadFromDocument(doc, L"/ManualGeometry");
        return WriteManual(manual);
    }
};

TEST_F(SketchBlockTest, NestedBlockAndWhatEmptyPartsLeaveOut) {
    KVSWX_ManualGeometry manual;
    manual.NewSegments();
    auto outer = std::make_unique<KVSWX_SketchBlock>();
    outer->SetName(L"Outer");
    outer->NewSegments()->AddLine()->SetEndPoint({1, 0, 0});
    KVSWX_SketchBlockImpl& inner = *outer->GetBlockImpl()->AddNestedBlock();
    inner.NewSegments();  // empty: no "Segments"
    manual.AddSketchBlock(std::move(outer));
    const std::string xml = WriteManual(manual);

    EXPECT_EQ(xml.find("<Segments>"), xml.rfind("<Segments>")) << "only the outer block's: " << xml;
    EXPECT_LT(xml.find("<SketchBlock Name=\"Outer\">"), xml.find("<Segments>")) << xml;
    // The nameless inner block: no attribute, inside its parent's list.
    const std::size_t nested = xml.find("<SketchBlocks>", xml.find("<SketchBlock Name"));
    ASSERT_NE(nested, std::string::npos) << xml;
    EXPECT_EQ(xml.find("<SketchBlock>", nested), xml.find("<SketchBlock", nested + 1)) << xml;
    EXPECT_EQ(ReadAndWriteAgain(xml), xml);
}

TEST_F(SketchBlockTest, ReadWithoutSegmentsLeavesAnEmptyCollection) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString("<SketchBlock Name='B'><Other/></SketchBlock>").ok);
    KVSWX_SketchBlock block;
    block.GetImpl()->ReadFromNode(doc, doc.SelectSingleNode(L"/SketchBlock"));
    EXPECT_EQ(block.GetName(), L"B");
    ASSERT_NE(block.GetSegments(), nullptr);
    EXPECT_TRUE(block.GetSegments()->IsEmpty());
    EXPECT_TRUE(block.GetBlockImpl()->GetNestedBlocks().empty());
}

// However deep the file nests blocks, reading stops at the bound.
TEST_F(SketchBlockTest, ReadingStopsAtTheDepthBound) {
    constexpr int kLevels = 1000;
    std::string xml = "<ManualGeometry><SketchBlocks>";
    for (int i = 0; i < kLevels; ++i) xml += "<SketchBlock><SketchBlocks>";
    for (int i = 0; i < kLevels; ++i) xml += "</SketchBlocks></SketchBlock>";
    xml += "</SketchBlocks></ManualGeometry>";
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok);
    KVSWX_ManualGeometry manual;
    manual.GetImpl()->ReadFromDocument(doc, L"/ManualGeometry");
    ASSERT_EQ(manual.GetSketchBlocks().size(), 1u);
    std::size_t depth = 1;
    const auto* block = static_cast<const KVSWX_SketchBlock*>(manual.GetSketchBlocks()[0].get())->GetBlockImpl();
    while (!block->GetNestedBlocks().empty()) {
        block = block->GetNestedBlocks()[0].get();
        ++depth;
    }
    EXPECT_EQ(depth, kMaxSketchBlockDepth);
}

}  // namespace
}  // namespace kvswx
