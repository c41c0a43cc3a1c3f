// Sketch blocks: named groups of sketch geometry in a view's sketch, with
// the blocks nested in them. A block holds its name, its geometry already
// mapped into the view's sketch coordinates, and its nested blocks. Top-level
// blocks sit in the manual geometry's list as KVSWX_SketchBlock handles;
// nested blocks are held directly as implementations.
//
// XML: "SketchBlock" (attribute "Name", none when the name is empty), its
// "Segments" only when it holds a segment, then "SketchBlocks" with one
// "SketchBlock" per nested block (none when there are none).
//
// Nesting is bounded: blocks deeper than kMaxSketchBlockDepth levels below
// the manual geometry are neither extracted nor read, so no input, however
// deep, can exhaust the stack of the recursive writer, reader or destructor.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "views/segmented_sketch.h"

namespace kvswx {

// Level 1 is a block of the manual geometry itself.
inline constexpr std::size_t kMaxSketchBlockDepth = 64;

class KVSWX_SketchBlockImpl final : public KVSWX_SegmentedSketchImpl {
public:
    KVSWX_SketchBlockImpl();
    ~KVSWX_SketchBlockImpl() override;

    void SetName(const std::wstring& name);
    const std::wstring& GetName() const;
    const std::vector<std::unique_ptr<KVSWX_SketchBlockImpl>>& GetNestedBlocks() const;
    // Appends a new empty nested block and returns it.
    KVSWX_SketchBlockImpl* AddNestedBlock();

    // Writes the block's own "SketchBlock" element under `parent`.
    void Write(XmlDocument& doc, XmlNode parent) override;
    // Reads from a "SketchBlock" element: "Name", the first "Segments" child
    // (always leaving a collection, empty without one) and the elements under
    // its "SketchBlocks" children, in document order.
    void ReadFromNode(XmlDocument& doc, XmlNode node) override;

private:
    void ReadAtDepth(XmlDocument& doc, XmlNode node, std::size_t depth);

    std::wstring name_;
    std::vector<std::unique_ptr<KVSWX_SketchBlockImpl>> nested_;
};

class KVSWX_SketchBlock final : public KVSWX_SegmentedSketch {
public:
    KVSWX_SketchBlock();
    ~KVSWX_SketchBlock() override;
    I_Serializable* GetImpl() const override;
    KVSWX_SegmentedSketchImpl* GetSketchImpl() const override;
    KVSWX_SketchBlockImpl* GetBlockImpl() const;

    void SetName(const std::wstring& name);
    const std::wstring& GetName() const;

private:
    std::unique_ptr<KVSWX_SketchBlockImpl> d_;
};

}  // namespace kvswx
