#include <gtest/gtest.h>

#include <string>

#include "model/process_state.h"
#include "model/xml_wrapper.h"
#include "test_support.h"

namespace kvswx {
namespace {

// The extracted sample drawing with every segment kind, a crop profile and
// construction geometry reads back into the model and saves to the very
// same bytes.
TEST(SketchGeometryFile, SampleDrawingReadsBackToTheSameBytes) {
    ResetProcessStateForTests();
    const std::string bytes = test::ReadFile(test::SourceDir() / "tests/golden/examples/geometry.xml");
    ASSERT_FALSE(bytes.empty());
    for (const char* element : {"<Line ", "<Circle ", "<Arc ", "<Ellipse ", "<EllipticalArc ", "<Spline ",
                                "<Parabola ", "<Weights>", "isConstructionGeometry=\"true\"", "<CropProfile>"}) {
        EXPECT_NE(bytes.find(element), std::string::npos) << element;
    }
    KVSWX_XMLWrapper reader;
    reader.LoadFromString(bytes);
    EXPECT_EQ(reader.ToBytes(), bytes);
    EXPECT_EQ(Process().indentDepth, 0);
}

}  // namespace
}  // namespace kvswx
