// The detail envelope of a detail view: the detail circle (or sketched
// profile) drawn in the parent view, its label and label placement, display
// options, the arrows attached to it, the label's text format and, for a
// sketched profile, its segments. It is a segmented sketch.
//
// The base view creates the "DetailEnvelope" element with the envelope's
// name as attribute "Name"; the envelope fills it and reads itself back from
// the element's location (view location + "/DetailEnvelope"), finding its
// children through the name. After reading it always holds a segments
// collection, possibly empty.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/encodings.h"
#include "model/serializable.h"
#include "views/segmented_sketch.h"

namespace kvswx {

class KVSWX_TextFormat;
class KVSWX_DetailEnvelopeImpl;
class KVSWX_DetailCircleArrowImpl;

struct DetailEnvelopeValues {
    std::wstring name;  // attribute "Name", written by the base view
    std::wstring label;
    std::int32_t display = 0;  // detail circle display (swDetCircleShowType)
    Point3 centerPoint{};
    Point3 startPoint{};
    Point3 endPoint{};
    std::int32_t lineType = 0;  // line font (swLineType)
    Point3 textPoint{};
    double textHeight = 0.0;
    std::int32_t detailCircleStyle = 0;  // detail view style (swDetailCircleStyle)
};

struct DetailCircleArrowValues {
    Point3 tip{};
    Point3 component{};
    double width = 0.0;
    double height = 0.0;
    std::int32_t style = 0;  // arrow head style (swArrowStyle)
};

// One arrow of a detail circle: its own "Arrow" element under "Arrows".
class KVSWX_DetailCircleArrow {
public:
    KVSWX_DetailCircleArrow();
    virtual ~KVSWX_DetailCircleArrow();
    KVSWX_DetailCircleArrow(const KVSWX_DetailCircleArrow&) = delete;
    KVSWX_DetailCircleArrow& operator=(const KVSWX_DetailCircleArrow&) = delete;

    // Write(doc, "Arrows") creates "Arrow"; ReadFromNode(doc, "Arrow").
    I_Serializable* GetImpl() const;
    const DetailCircleArrowValues& Values() const;

    void SetTip(const Point3& v);
    void SetComponent(const Point3& v);
    void SetWidth(double v);
    void SetHeight(double v);
    void SetStyle(std::int32_t v);

private:
    std::unique_ptr<KVSWX_DetailCircleArrowImpl> d_;
};

class KVSWX_DetailEnvelope final : public KVSWX_SegmentedSketch {
public:
    using ArrowList = std::vector<std::unique_ptr<KVSWX_DetailCircleArrow>>;

    KVSWX_DetailEnvelope();
    ~KVSWX_DetailEnvelope() override;

    // Write(doc, "DetailEnvelope") fills the element; ReadFromDocument(doc,
    // location of "DetailEnvelope").
    I_Serializable* GetImpl() const override;
    KVSWX_SegmentedSketchImpl* GetSketchImpl() const override;
    const DetailEnvelopeValues& Values() const;
    const std::wstring& GetName() const;

    void SetName(const std::wstring& v);
    void SetLabel(const std::wstring& v);
    void SetDisplay(std::int32_t v);
    void SetCenterPoint(const Point3& v);
    void SetStartPoint(const Point3& v);
    void SetEndPoint(const Point3& v);
    void SetLineType(std::int32_t v);
    void SetTextPoint(const Point3& v);
    void SetTextHeight(double v);
    void SetDetailCircleStyle(std::int32_t v);

    // Appends a new default arrow.
    KVSWX_DetailCircleArrow* AddArrow();
    const ArrowList& GetArrows() const;
    // Replaces the text format with a new default one.
    KVSWX_TextFormat* NewTextFormat();
    KVSWX_TextFormat* GetTextFormat() const;  // may be null

private:
    std::unique_ptr<KVSWX_DetailEnvelopeImpl> d_;
};

}  // namespace kvswx
