// Sketch blocks: the depth bound. The nested_blocks example pins nesting,
// a nameless block without segments and reading back.
#include "docprops/sketch_block.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "extract/sketch_block_extraction.h"
#include "extract/view_recording.h"
#include "model/process_state.h"
#include "views/base_view.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

using SketchBlockTest = test::FreshProcessTest;

// Levels of the first chain of nested blocks.
std::size_t DepthOf(const KVSWX_ManualGeometry& manual) {
    if (manual.GetSketchBlocks().empty()) return 0;
    std::size_t depth = 1;
    const auto* block =
        static_cast<const KVSWX_SketchBlock*>(manual.GetSketchBlocks()[0].get())->GetBlockImpl();
    for (; !block->GetNestedBlocks().empty(); ++depth) block = block->GetNestedBlocks()[0].get();
    return depth;
}

std::size_t CountOf(const KVSWX_SketchBlockImpl& block) {
    std::size_t n = 1;
    for (const auto& nested : block.GetNestedBlocks()) n += CountOf(*nested);
    return n;
}

// However deep the file or the drawing nests blocks, reading and extraction
// stop at the bound; definitions that multiply stop at the block budget.
TEST_F(SketchBlockTest, ReadingAndExtractionStopAtTheDepthBound) {
    std::string xml = "<ManualGeometry><SketchBlocks>";
    for (int i = 0; i < 1000; ++i) xml += "<SketchBlock><SketchBlocks>";
    for (int i = 0; i < 1000; ++i) xml += "</SketchBlocks></SketchBlock>";
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml + "</SketchBlocks></ManualGeometry>").ok);
    KVSWX_ManualGeometry read;
    read.GetImpl()->ReadFromDocument(doc, L"/ManualGeometry");
    EXPECT_EQ(DepthOf(read), kMaxSketchBlockDepth);

    // Definition Di holds an instance of D(i+1); the view's sketch one of D0.
    std::string definitions;
    for (int i = 0; i < 70; ++i) {
        definitions += (i == 0 ? "" : ",") + std::string(R"({"name": "D)") + std::to_string(i) +
                       R"(", "sketch": {"blockInstances": [{"definition": "D)" +
                       std::to_string(i + 1) + R"("}]}})";
    }
    definitions += R"(,{"name": "D70"})";
    const auto recording = recorded::LoadRecordingFromString(
        R"({"format": "kvswx-recording/1", "document": {"blockDefinitions": [)" + definitions +
            R"(], "drawing": {"sheets": [{"name": "S", "views": [{"name": "S"}, {"name": "V", "sketch": {
                "blockInstances": [{"definition": "D0"}]}}]}]}}})",
        "deep.json");
    KVSWX_ManualGeometry extracted;
    ExtractSketchBlocks(test::ViewNamed(*recording, L"V")->Sketch(), extracted, nullptr);
    EXPECT_EQ(DepthOf(extracted), kMaxSketchBlockDepth);

    // Each of 30 definitions holds two instances of the next: 2^31 blocks.
    std::string doubling;
    for (int i = 0; i < 30; ++i) {
        const std::string next = R"({"definition": "D)" + std::to_string(i + 1) + R"("})";
        doubling += R"({"name": "D)" + std::to_string(i) + R"(", "sketch": {"blockInstances": [)" +
                    next + "," + next + "]}},";
    }
    const auto multiplying = recorded::LoadRecordingFromString(
        R"({"format": "kvswx-recording/1", "document": {"blockDefinitions": [)" + doubling +
            R"({"name": "D30"}], "drawing": {"sheets": [{"name": "S", "views": [{"name": "S"}, {"name": "V", "sketch": {
                "blockInstances": [{"definition": "D0"}]}}]}]}}})",
        "doubling.json");
    KVSWX_ManualGeometry budgeted;
    ExtractSketchBlocks(test::ViewNamed(*multiplying, L"V")->Sketch(), budgeted, nullptr);
    ASSERT_EQ(budgeted.GetSketchBlocks().size(), 1u);
    EXPECT_EQ(
        CountOf(
            *static_cast<const KVSWX_SketchBlock&>(*budgeted.GetSketchBlocks()[0]).GetBlockImpl()),
        kMaxSketchBlocks);
}

}  // namespace
}  // namespace kvswx
