// The indentation state outlives every document; a document that goes away
// in the middle of a write must leave nothing behind that a later document
// can run into.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/process_state.h"
#include "model/xml_helpers.h"

namespace kvswx {
namespace {

// A write stopped after its first element (no CloseElement), its document
// freed; the next document is made in the same place, so its first element
// most likely sits where the stopped one did. Only an element created in
// the document in hand may deepen the indentation.
TEST(Indentation, AStoppedWriteLeavesNothingForTheNextDocument) {
    ResetProcessStateForTests();
    auto stopped = std::make_unique<XmlDocument>();
    CreateChildElement(*stopped, stopped->AsNode(), L"Stopped", L"", {});
    stopped.reset();

    auto next = std::make_unique<XmlDocument>();
    XmlNode root = next->AsNode().AppendElement(L"Root");
    CreateChildElement(*next, root, L"Child", L"", {});
    EXPECT_EQ(next->ToBytes(), "<Root>\n<Child/></Root>");

    // Within one document, a child of the element created last goes one
    // level deeper, and closing the parent comes back out.
    XmlNode parent = CreateChildElement(*next, root, L"Parent", L"", {});
    CreateChildElement(*next, parent, L"Leaf", L"", {});
    CloseElement(*next, parent);
    EXPECT_EQ(next->ToBytes(), "<Root>\n<Child/>\n<Parent>\n\t<Leaf/>\n</Parent></Root>");
    ResetProcessStateForTests();
}

}  // namespace
}  // namespace kvswx
