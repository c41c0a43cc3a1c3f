// Sketch segment records: lines, circles, arcs, ellipses, elliptical arcs,
// splines and parabolas, and the collection that writes a list of them as a
// "Segments" element with one typed child element per segment.
//
// Each segment handle carries, besides its implementation, the segment type
// code (swSketchSegments: 0 line, 1 arc, 2 ellipse, 3 spline, 5 parabola)
// and the construction flag. A circle and an arc share type 1, an ellipse
// and an elliptical arc share type 2: the handle's class picks the element
// name. On reading, the element name alone decides the kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include "model/encodings.h"
#include "model/serializable.h"

namespace kvswx {

// Segment type codes of the handles (sketch segment type table).
inline constexpr std::int32_t kSketchSegmentLine = 0;
inline constexpr std::int32_t kSketchSegmentArc = 1;
inline constexpr std::int32_t kSketchSegmentEllipse = 2;
inline constexpr std::int32_t kSketchSegmentSpline = 3;
inline constexpr std::int32_t kSketchSegmentParabola = 5;

namespace detail {
// The storage segments are cut from (see KVSWX_SketchSegment::operator new).
void* AllocateSegmentStorage(std::size_t bytes);
void ReleaseSegmentStorage(void* storage, std::size_t bytes) noexcept;
// Blocks of the storage alive in the process (0 where the storage asks
// the heap for every piece): what tests watch to see blocks go back.
std::size_t SegmentStorageBlocks();
}  // namespace detail

// Allocator of the number lists a segment holds: from the same storage as
// the segment itself, so that reading a drawing asks the heap for none of
// them one by one.
template <class T>
struct SegmentAllocator {
    static_assert(alignof(T) <= alignof(void*), "segment storage is aligned as pointers");
    using value_type = T;

    SegmentAllocator() = default;
    template <class U>
    SegmentAllocator(const SegmentAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(detail::AllocateSegmentStorage(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { detail::ReleaseSegmentStorage(p, n * sizeof(T)); }

    friend bool operator==(const SegmentAllocator&, const SegmentAllocator&) { return true; }
};

// A list of numbers of a segment.
using SegmentDoubles = std::vector<double, SegmentAllocator<double>>;

// Field values of each kind, zero or empty after construction.
struct LineValues {
    Point3 startPoint{};
    Point3 endPoint{};
};
struct CircleValues {
    Point3 centerPoint{};
    double radius = 0.0;
};
struct ArcValues {  // 2D points: the z of an arc is dropped
    Point2 startPoint{};
    Point2 alongPoint{};
    Point2 endPoint{};
};
struct EllipseValues {
    // center xyz, major radius, major-axis end xyz, minor radius, minor-axis end xyz
    SegmentDoubles params;
};
struct EllipticalArcValues {
    Point3 centerPoint{};
    Point3 majorPoint{};
    double ratio = 0.0;
    bool isClockwise = false;
    double startAngle = 0.0;
    double endAngle = 0.0;
};
struct SplineValues {
    std::int32_t order = 0;
    bool isRational = false;
    SegmentDoubles controlPoints;  // x, y, z triples
    SegmentDoubles knotPoints;
    SegmentDoubles weights;  // written only when isRational
};
struct ParabolaValues {
    Point3 startPoint{};
    Point3 endPoint{};
    Point3 focus{};
    Point3 apex{};
};

class KVSWX_LineImpl;
class KVSWX_CircleImpl;
class KVSWX_ArcImpl;
class KVSWX_EllipseImpl;
class KVSWX_EllipticalArcImpl;
class KVSWX_SplineImpl;
class KVSWX_ParabolaImpl;
class KVSWX_SketchSegmentsCollectionImpl;

// Base of the seven segment handles. Never copied.
class KVSWX_SketchSegment {
public:
    virtual ~KVSWX_SketchSegment();
    KVSWX_SketchSegment(const KVSWX_SketchSegment&) = delete;
    KVSWX_SketchSegment& operator=(const KVSWX_SketchSegment&) = delete;

    // The segment's implementation: its Write fills the segment's element
    // (made by the collection); its ReadFromNode reads that element.
    virtual I_Serializable* GetImpl() const = 0;

    std::int32_t GetType() const { return type_; }
    bool IsConstructionGeometry() const { return construction_; }
    void SetConstructionGeometry(bool construction) { construction_ = construction; }

    // Segments come in the hundreds of thousands and mostly go together:
    // handles are cut from the blocks their implementations come from.
    static void* operator new(std::size_t size);
    static void operator delete(void* object, std::size_t size) noexcept;

protected:
    explicit KVSWX_SketchSegment(std::int32_t type) : type_(type) {}

private:
    std::int32_t type_;
    bool construction_ = false;
};

class KVSWX_Line final : public KVSWX_SketchSegment {
public:
    KVSWX_Line();
    ~KVSWX_Line() override;
    I_Serializable* GetImpl() const override;
    const LineValues& Values() const;
    void SetStartPoint(const Point3& v);
    void SetEndPoint(const Point3& v);

private:
    std::unique_ptr<KVSWX_LineImpl> d_;
};

class KVSWX_Circle final : public KVSWX_SketchSegment {
public:
    KVSWX_Circle();
    ~KVSWX_Circle() override;
    I_Serializable* GetImpl() const override;
    const CircleValues& Values() const;
    void SetCenterPoint(const Point3& v);
    void SetRadius(double v);

private:
    std::unique_ptr<KVSWX_CircleImpl> d_;
};

class KVSWX_Arc final : public KVSWX_SketchSegment {
public:
    KVSWX_Arc();
    ~KVSWX_Arc() override;
    I_Serializable* GetImpl() const override;
    const ArcValues& Values() const;
    void SetStartPoint(const Point2& v);
    void SetAlongPoint(const Point2& v);
    void SetEndPoint(const Point2& v);

private:
    std::unique_ptr<KVSWX_ArcImpl> d_;
};

class KVSWX_Ellipse final : public KVSWX_SketchSegment {
public:
    KVSWX_Ellipse();
    ~KVSWX_Ellipse() override;
    I_Serializable* GetImpl() const override;
    const EllipseValues& Values() const;
    void SetParams(std::span<const double> v);

private:
    std::unique_ptr<KVSWX_EllipseImpl> d_;
};

class KVSWX_EllipticalArc final : public KVSWX_SketchSegment {
public:
    KVSWX_EllipticalArc();
    ~KVSWX_EllipticalArc() override;
    I_Serializable* GetImpl() const override;
    const EllipticalArcValues& Values() const;
    void SetCenterPoint(const Point3& v);
    void SetMajorPoint(const Point3& v);
    void SetRatio(double v);
    void SetIsClockwise(bool v);
    void SetStartAngle(double v);
    void SetEndAngle(double v);

private:
    std::unique_ptr<KVSWX_EllipticalArcImpl> d_;
};

class KVSWX_Spline final : public KVSWX_SketchSegment {
public:
    KVSWX_Spline();
    ~KVSWX_Spline() override;
    I_Serializable* GetImpl() const override;
    const SplineValues& Values() const;
    void SetOrder(std::int32_t v);
    void SetIsRational(bool v);
    void SetControlPoints(std::span<const double> v);
    void SetKnotPoints(std::span<const double> v);
    void SetWeights(std::span<const double> v);

private:
    std::unique_ptr<KVSWX_SplineImpl> d_;
};

class KVSWX_Parabola final : public KVSWX_SketchSegment {
public:
    KVSWX_Parabola();
    ~KVSWX_Parabola() override;
    I_Serializable* GetImpl() const override;
    const ParabolaValues& Values() const;
    void SetStartPoint(const Point3& v);
    void SetEndPoint(const Point3& v);
    void SetFocus(const Point3& v);
    void SetApex(const Point3& v);

private:
    std::unique_ptr<KVSWX_ParabolaImpl> d_;
};

using SketchSegmentList = std::vector<std::unique_ptr<KVSWX_SketchSegment>>;

// An ordered list of segments of all kinds. Its Write creates the "Segments"
// element under the given parent (also when the list is empty); its
// ReadFromNode reads a "Segments" element, appending to the list.
class KVSWX_SketchSegmentsCollection {
public:
    KVSWX_SketchSegmentsCollection();
    virtual ~KVSWX_SketchSegmentsCollection();
    KVSWX_SketchSegmentsCollection(const KVSWX_SketchSegmentsCollection&) = delete;
    KVSWX_SketchSegmentsCollection& operator=(const KVSWX_SketchSegmentsCollection&) = delete;

    I_Serializable* GetImpl() const;

    const SketchSegmentList& GetSegments() const;
    std::size_t GetCount() const;
    bool IsEmpty() const;
    // Appends a segment and returns it (null is ignored and gives null).
    KVSWX_SketchSegment* Append(std::unique_ptr<KVSWX_SketchSegment> segment);
    // Append a new default segment of one kind and return it.
    KVSWX_Line* AddLine();
    KVSWX_Circle* AddCircle();
    KVSWX_Arc* AddArc();
    KVSWX_Ellipse* AddEllipse();
    KVSWX_EllipticalArc* AddEllipticalArc();
    KVSWX_Spline* AddSpline();
    KVSWX_Parabola* AddParabola();

private:
    std::unique_ptr<KVSWX_SketchSegmentsCollectionImpl> d_;
};

}  // namespace kvswx
