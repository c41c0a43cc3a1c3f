#include "views/detail_envelope.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "model/process_state.h"
#include "views/record_xml.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

using DetailEnvelopeTest = test::FreshProcessTest;

void ReadInto(KVSWX_DetailEnvelope& envelope, const std::string& xml) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    envelope.GetImpl()->ReadFromDocument(doc, L"/view/DetailEnvelope");
}

// A circle-shaped envelope (nine children, the enumerations named, no
// "Segments" for its empty collection) is in the example "sections".

// Reading always leaves a collection, even without "Segments" or a name;
// reading "Arrows" again replaces the arrows.
TEST_F(DetailEnvelopeTest, ReadingLeavesACollectionAndReplacesArrows) {
    KVSWX_DetailEnvelope unnamed;
    ReadInto(unnamed, "<view><DetailEnvelope><Label>L</Label></DetailEnvelope></view>");
    ASSERT_NE(unnamed.GetSegments(), nullptr);
    EXPECT_TRUE(unnamed.GetSegments()->IsEmpty());
    EXPECT_EQ(unnamed.Values().label, L"");

    const std::string xml = R"(<view><DetailEnvelope Name="B"><Display>2</Display>
        <Arrows><Arrow><Style>3</Style></Arrow><Arrow/></Arrows></DetailEnvelope></view>)";
    KVSWX_DetailEnvelope envelope;
    ReadInto(envelope, xml);
    ReadInto(envelope, xml);
    EXPECT_EQ(envelope.GetName(), L"B");
    EXPECT_EQ(envelope.Values().display, 2);
    ASSERT_EQ(envelope.GetArrows().size(), 2u);
    EXPECT_EQ(envelope.GetArrows()[0]->Values().style, 3);
    ASSERT_NE(envelope.GetSegments(), nullptr);
}

}  // namespace
}  // namespace kvswx
