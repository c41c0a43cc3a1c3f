// The section line of a section view: the cutting line drawn in the parent
// view as straight section segments, the two view arrows with their texts,
// the label, the cut options and the label's text format.
//
// The base view creates the "SectionLine" element with the line's name as
// attribute "Name"; the record fills it and reads itself back from the
// element's location (view location + "/SectionLine"), finding its children
// through the name (location[@Name='name']): a line without a name reads
// nothing but its text format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/encodings.h"
#include "model/serializable.h"

namespace kvswx {

class KVSWX_TextFormat;
class KVSWX_SectionLineImpl;
class KVSWX_SectionSegmentImpl;
class KVSWX_SectionArrowImpl;

struct SectionLineValues {
    std::wstring name;  // attribute "Name", written by the base view
    std::wstring label;
    bool displayOnlySurfaceCut = false;
    bool isReversedCutDirection = false;
    bool isAligned = false;
    bool isPartial = false;
    bool autohatch = false;
    double depth = 0.0;
    std::int32_t foldSegmentIndex = 1;  // a fresh line folds at its second segment
};

struct SectionSegmentValues {
    std::int32_t lineType = 0;  // line font (swLineType)
    Point3 startPoint{};
    Point3 endPoint{};
};

// Fields ending in 1 describe the first arrow and its text, those ending in 2
// the second.
struct SectionArrowValues {
    Point3 arrowStart1{};
    Point3 arrowEnd1{};
    double arrowWidth1 = 0.0;
    double arrowHeight1 = 0.0;
    std::int32_t arrowStyle1 = 0;  // arrow head style (swArrowStyle)
    Point3 arrowStart2{};
    Point3 arrowEnd2{};
    double arrowWidth2 = 0.0;
    double arrowHeight2 = 0.0;
    std::int32_t arrowStyle2 = 0;
    Point3 textPoint1{};
    Point3 textPoint2{};
    double textHeight = 0.0;
};

// One straight piece of the cutting line: its own "Segment" element under
// "Segments".
class KVSWX_SectionSegment {
public:
    KVSWX_SectionSegment();
    virtual ~KVSWX_SectionSegment();
    KVSWX_SectionSegment(const KVSWX_SectionSegment&) = delete;
    KVSWX_SectionSegment& operator=(const KVSWX_SectionSegment&) = delete;

    // Write(doc, "Segments") creates "Segment"; ReadFromNode(doc, "Segment").
    I_Serializable* GetImpl() const;
    const SectionSegmentValues& Values() const;

    void SetLineType(std::int32_t v);
    void SetStartPoint(const Point3& v);
    void SetEndPoint(const Point3& v);

private:
    std::unique_ptr<KVSWX_SectionSegmentImpl> d_;
};

// The two arrows of a section line: fills the "Arrow" element its line
// creates; reads back from that element's location.
class KVSWX_SectionArrow {
public:
    KVSWX_SectionArrow();
    virtual ~KVSWX_SectionArrow();
    KVSWX_SectionArrow(const KVSWX_SectionArrow&) = delete;
    KVSWX_SectionArrow& operator=(const KVSWX_SectionArrow&) = delete;

    I_Serializable* GetImpl() const;
    const SectionArrowValues& Values() const;

    void SetArrowStart1(const Point3& v);
    void SetArrowEnd1(const Point3& v);
    void SetArrowWidth1(double v);
    void SetArrowHeight1(double v);
    void SetArrowStyle1(std::int32_t v);
    void SetArrowStart2(const Point3& v);
    void SetArrowEnd2(const Point3& v);
    void SetArrowWidth2(double v);
    void SetArrowHeight2(double v);
    void SetArrowStyle2(std::int32_t v);
    void SetTextPoint1(const Point3& v);
    void SetTextPoint2(const Point3& v);
    void SetTextHeight(double v);

private:
    std::unique_ptr<KVSWX_SectionArrowImpl> d_;
};

class KVSWX_SectionLine {
public:
    KVSWX_SectionLine();
    virtual ~KVSWX_SectionLine();
    KVSWX_SectionLine(const KVSWX_SectionLine&) = delete;
    KVSWX_SectionLine& operator=(const KVSWX_SectionLine&) = delete;

    // Write(doc, "SectionLine") fills the element; ReadFromDocument(doc,
    // location of "SectionLine").
    I_Serializable* GetImpl() const;
    const SectionLineValues& Values() const;
    const std::wstring& GetName() const;

    void SetName(const std::wstring& v);
    void SetLabel(const std::wstring& v);
    void SetDisplayOnlySurfaceCut(bool v);
    void SetIsReversedCutDirection(bool v);
    void SetIsAligned(bool v);
    void SetIsPartial(bool v);
    void SetAutohatch(bool v);
    void SetDepth(double v);
    void SetFoldSegmentIndex(std::int32_t v);

    // Replaces the arrow (or text format) with a new default one.
    KVSWX_SectionArrow* NewArrow();
    KVSWX_TextFormat* NewTextFormat();
    KVSWX_SectionArrow* GetArrow() const;     // may be null
    KVSWX_TextFormat* GetTextFormat() const;  // may be null
    // Appends a new default segment (cut order).
    KVSWX_SectionSegment* AddSegment();
    std::size_t GetSegmentCount() const;
    // Null when `index` is not below the count.
    KVSWX_SectionSegment* GetSegment(std::size_t index) const;

private:
    std::unique_ptr<KVSWX_SectionLineImpl> d_;
};

}  // namespace kvswx
