// Segmented sketches: view annotations that are, at their core, a list of
// sketch segments plus a few values of their own. The base owns an optional
// segments collection (none until NewSegments); the kinds here are the
// center lines, the crop profile, the manual geometry and the broken-out
// section. Other kinds (detail envelope, sketch block) derive from the same
// base: their implementation derives from KVSWX_SegmentedSketchImpl and their
// handle from KVSWX_SegmentedSketch.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/serializable.h"

namespace kvswx {

class KVSWX_SketchSegmentsCollection;

// Base implementation. Write appends the collection's "Segments" element
// under the given parent (nothing without a collection); ReadFromNode reads
// every "Segments" child of the given node, each replacing the collection.
class KVSWX_SegmentedSketchImpl : public NodeSerializable {
public:
    KVSWX_SegmentedSketchImpl();
    ~KVSWX_SegmentedSketchImpl() override;
    KVSWX_SegmentedSketchImpl(const KVSWX_SegmentedSketchImpl&) = delete;
    KVSWX_SegmentedSketchImpl& operator=(const KVSWX_SegmentedSketchImpl&) = delete;

    // The collection; null until one is created.
    KVSWX_SketchSegmentsCollection* GetSegments() const;
    // A new empty collection replacing (and destroying) the previous one.
    KVSWX_SketchSegmentsCollection* NewSegments();

    void ReadFromNode(XmlDocument& doc, XmlNode node) override;
    void Write(XmlDocument& doc, XmlNode parent) override;

protected:
    // When `child` is a "Segments" element: a new collection read from it,
    // and true. Otherwise false and nothing changes.
    bool ReadSegmentsChild(XmlDocument& doc, XmlNode child);

private:
    std::unique_ptr<KVSWX_SketchSegmentsCollection> segments_;
};

// Base handle. Never copied.
class KVSWX_SegmentedSketch {
public:
    KVSWX_SegmentedSketch() = default;
    KVSWX_SegmentedSketch(const KVSWX_SegmentedSketch&) = delete;
    KVSWX_SegmentedSketch& operator=(const KVSWX_SegmentedSketch&) = delete;

    virtual I_Serializable* GetImpl() const = 0;
    virtual KVSWX_SegmentedSketchImpl* GetSketchImpl() const = 0;
    virtual ~KVSWX_SegmentedSketch();

    KVSWX_SketchSegmentsCollection* NewSegments();
    KVSWX_SketchSegmentsCollection* GetSegments() const;  // may be null
};

class KVSWX_CenterLineImpl;
class KVSWX_CropProfileImpl;
class KVSWX_ManualGeometryImpl;
class KVSWX_BrokenOutSectionImpl;

// The center lines of a view. The base view creates "CenterLines" and passes
// it to Write; reading through ReadFromDocument(location of "CenterLines")
// always leaves a collection, empty when there is no "Segments".
class KVSWX_CenterLine final : public KVSWX_SegmentedSketch {
public:
    KVSWX_CenterLine();
    ~KVSWX_CenterLine() override;
    I_Serializable* GetImpl() const override;
    KVSWX_SegmentedSketchImpl* GetSketchImpl() const override;

private:
    std::unique_ptr<KVSWX_CenterLineImpl> d_;
};

// The crop profile of a cropped view. The base view creates "CropProfile";
// reading without a "Segments" child leaves no collection.
class KVSWX_CropProfile final : public KVSWX_SegmentedSketch {
public:
    KVSWX_CropProfile();
    ~KVSWX_CropProfile() override;
    I_Serializable* GetImpl() const override;
    KVSWX_SegmentedSketchImpl* GetSketchImpl() const override;

private:
    std::unique_ptr<KVSWX_CropProfileImpl> d_;
};

// Manual geometry of a view: its segments plus its sketch blocks. The base
// view creates "ManualGeometry" (only when !IsEmpty()); Write puts
// "Segments" there only when it holds a segment, then "SketchBlocks".
class KVSWX_ManualGeometry final : public KVSWX_SegmentedSketch {
public:
    using SketchBlockList = std::vector<std::unique_ptr<KVSWX_SegmentedSketch>>;

    KVSWX_ManualGeometry();
    ~KVSWX_ManualGeometry() override;
    I_Serializable* GetImpl() const override;
    KVSWX_SegmentedSketchImpl* GetSketchImpl() const override;

    // No segment and no sketch block.
    bool IsEmpty() const;
    // Sketch blocks in insertion order; each writes its own element under
    // "SketchBlocks".
    const SketchBlockList& GetSketchBlocks() const;
    KVSWX_SegmentedSketch* AddSketchBlock(std::unique_ptr<KVSWX_SegmentedSketch> block);

private:
    std::unique_ptr<KVSWX_ManualGeometryImpl> d_;
};

// A broken-out section: its own "BrokenOutSection" element (attribute
// "Name"), "Depth", then its segments. The name is not read back.
class KVSWX_BrokenOutSection final : public KVSWX_SegmentedSketch {
public:
    KVSWX_BrokenOutSection();
    ~KVSWX_BrokenOutSection() override;
    I_Serializable* GetImpl() const override;
    KVSWX_SegmentedSketchImpl* GetSketchImpl() const override;

    const std::wstring& GetName() const;
    double GetDepth() const;
    void SetName(const std::wstring& v);
    void SetDepth(double v);

private:
    std::unique_ptr<KVSWX_BrokenOutSectionImpl> d_;
};

}  // namespace kvswx
