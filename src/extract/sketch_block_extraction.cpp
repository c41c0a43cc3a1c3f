#include "extract/sketch_block_extraction.h"

#include <memory>
#include <string>
#include <vector>

#include "docprops/sketch_block.h"
#include "extract/sketch_geometry.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {

namespace {

// Where the blocks of one level go: the manual geometry's list on the first
// level, the parent block's nested blocks below it.
struct BlockOwner {
    KVSWX_ManualGeometry* manual = nullptr;
    KVSWX_SketchBlockImpl* parent = nullptr;

    KVSWX_SketchBlockImpl& NewBlock() const {
        if (parent != nullptr) return *parent->AddNestedBlock();
        auto* handle = static_cast<KVSWX_SketchBlock*>(
            manual->AddSketchBlock(std::make_unique<KVSWX_SketchBlock>()));
        return *handle->GetBlockImpl();
    }
};

void ExtractLevel(const Ref<SourceSketch>& sketch, const BlockOwner& owner,
                  const Ref<SourcePlacement>& given, std::size_t depth, std::size_t& budget) {
    if (!sketch || depth > kMaxSketchBlockDepth) return;
    const Ref<SourcePlacement> own = sketch->Placement();
    const Ref<SourcePlacement> base = given ? (own ? given->Combine(own) : nullptr) : own;

    for (const Ref<SourceBlockInstance>& instance : sketch->BlockInstances()) {
        if (!instance) continue;
        if (budget == 0) return;
        --budget;
        KVSWX_SketchBlockImpl& block = owner.NewBlock();
        block.SetName(instance->Name().value_or(std::wstring()));

        const Ref<SourcePlacement> instancePlacement = instance->Placement();
        const Ref<SourceTransform> transform =
            instancePlacement ? instancePlacement->SegmentTransform() : nullptr;
        const Ref<SourcePlacement> combined =
            base && transform ? base->Combine(transform) : nullptr;

        const Ref<SourceBlockDefinition> definition = instance->Definition();
        const Ref<SourceSketch> definitionSketch = definition ? definition->Sketch() : nullptr;
        KVSWX_SketchSegmentsCollection& segments = *block.NewSegments();
        if (definitionSketch) {
            const auto list = definitionSketch->Segments();
            ExtractSketchSegments(list.value_or(std::vector<Ref<SourceSketchSegment>>{}), segments,
                                  false, false, combined);
        }
        ExtractLevel(definitionSketch, BlockOwner{nullptr, &block}, combined, depth + 1, budget);
    }
}

}  // namespace

void ExtractSketchBlocks(const Ref<SourceSketch>& sketch, KVSWX_ManualGeometry& manual,
                         const Ref<SourcePlacement>& placement) {
    std::size_t budget = kMaxSketchBlocks;
    ExtractLevel(sketch, BlockOwner{&manual, nullptr}, placement, 1, budget);
}

}  // namespace kvswx
