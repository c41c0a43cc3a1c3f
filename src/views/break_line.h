// The break lines of a broken view: the gap between the two lines of a break
// and one record per break line (style, colour, line settings, layer,
// counts of lines and arcs, orientation, two positions and the shape
// points). Unlike the base view's other single sub-records, the collection
// creates its own "BreakLines" element under the view element, also when it
// holds no break line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/encodings.h"
#include "model/serializable.h"

namespace kvswx {

class KVSWX_BreakLineImpl;
class KVSWX_BreakLinesCollectionImpl;

// Field values with their defaults. Color and Orientation start at -1.
struct BreakLineValues {
    std::int32_t breakLineStyle = 0;
    std::int32_t color = -1;
    std::int32_t lineType = 0;
    std::int32_t lineStyle = 0;
    std::int32_t lineWeight = 0;
    std::int32_t layerID = 0;
    std::int32_t layerOverride = 0;
    std::int32_t numOfLines = 0;
    std::int32_t numOfArcs = 0;
    std::int32_t orientation = -1;
    double position1 = 0.0;
    double position2 = 0.0;
    DoubleList points;
};

class KVSWX_BreakLine {
public:
    KVSWX_BreakLine();
    virtual ~KVSWX_BreakLine();
    KVSWX_BreakLine(const KVSWX_BreakLine&) = delete;
    KVSWX_BreakLine& operator=(const KVSWX_BreakLine&) = delete;

    // Write(doc, "BreakLines" element) appends a "BreakLine" element;
    // ReadFromNode(doc, "BreakLine" node) reads it back.
    I_Serializable* GetImpl() const;
    const BreakLineValues& Values() const;

    void SetBreakLineStyle(std::int32_t v);
    void SetColor(std::int32_t v);
    void SetLineType(std::int32_t v);
    void SetLineStyle(std::int32_t v);
    void SetLineWeight(std::int32_t v);
    void SetLayerID(std::int32_t v);
    void SetLayerOverride(std::int32_t v);
    void SetNumOfLines(std::int32_t v);
    void SetNumOfArcs(std::int32_t v);
    void SetOrientation(std::int32_t v);
    void SetPosition1(double v);
    void SetPosition2(double v);
    void SetPoints(const DoubleList& v);

private:
    std::unique_ptr<KVSWX_BreakLineImpl> d_;
};

class KVSWX_BreakLinesCollection {
public:
    KVSWX_BreakLinesCollection();
    virtual ~KVSWX_BreakLinesCollection();
    KVSWX_BreakLinesCollection(const KVSWX_BreakLinesCollection&) = delete;
    KVSWX_BreakLinesCollection& operator=(const KVSWX_BreakLinesCollection&) = delete;

    // Write(doc, view element) creates "BreakLines"; ReadFromDocument(doc,
    // location of "BreakLines") replaces the break lines held.
    I_Serializable* GetImpl() const;

    double GetBreakLineGap() const;
    void SetBreakLineGap(double v);
    // Appends a new default break line and returns it for the caller to fill.
    KVSWX_BreakLine* AddBreakLine();
    const std::vector<std::unique_ptr<KVSWX_BreakLine>>& GetBreakLines() const;

private:
    std::unique_ptr<KVSWX_BreakLinesCollectionImpl> d_;
};

}  // namespace kvswx
