// Internals of the recorded provider: the store that owns every recorded
// object, and the objects themselves.
//
// Ownership: the store owns each object loaded from the recording: objects
// are placed in the store's arena, many to a block, and those with members
// to destroy are listed for the store's destructor. Objects point at each
// other and at the store with plain pointers, so there are no reference
// cycles; the target names of objects are held once by the store, and
// objects refer to them. An object is handed out
// as a Ref that shares ownership of the whole store and points at the object
// (the aliasing constructor): the same recorded object is always the same
// pointer, and any Ref keeps the recording alive. Objects made during a run
// (math points, vectors, inverses, combined placements) are ordinary
// shared objects that hold the store alive themselves.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "recorded/journal.h"
#include "recorded/ops.h"
#include "recorded/transform_math.h"
#include "source/source.h"

namespace kvswx::recorded {

class Store;

// An array whose values lie in the store's arena; answered as a copy.
template <class T>
struct StoredArray {
    const T* data = nullptr;
    std::uint32_t size = 0;
    std::int32_t lowerBound = 0;

    SourceArray<T> Copy() const { return {std::vector<T>(data, data + size), lowerBound}; }
};

// A target name held by the store: every object of that target refers to
// the one copy.
class TargetName {
public:
    const std::string& Str() const { return *name_; }

private:
    friend class Store;
    explicit TargetName(const std::string* name) : name_(name) {}
    const std::string* name_;
};

// Shared behaviour of every recorded object: fault checks and journaling
// under the object's target name. (Not polymorphic: the store destroys each
// object as what it was made.)
class Element {
public:
    Element(Store* store, TargetName target) : store_(store), target_(target) {}
    Element(Store* store, std::string target);
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    const std::string& Target() const { return target_.Str(); }
    TargetName SharedTarget() const { return target_; }
    // For the loader: an object read before its target was known.
    void Retarget(TargetName target) { target_ = target; }

protected:
    // Throws the injected fault for (op, target), if any.
    void Call(Op op) const;
    // Call, then the recorded value.
    template <class T>
    const T& Get(Op op, const T& value) const {
        Call(op);
        return value;
    }
    // Call, then the recorded object (none when null).
    template <class I, class T>
    Ref<I> GetRef(Op op, T* object) const {
        Call(op);
        return Share<I>(object);
    }
    // Journals a state-changing call (after Call succeeded).
    void Record(Op op, std::initializer_list<JournalArg> args) const;
    template <class I, class T>
    Ref<I> Share(T* object) const;

    Store* store_;
    TargetName target_;
};

struct Fault {
    Op op;
    std::optional<std::string> target;  // nullopt: every object
    HRESULT hr = 0;
    std::int64_t skip = 0;              // matching calls that pass first
    std::optional<std::int64_t> times;  // how often it fires; nullopt: always
    std::int64_t seen = 0;
    std::int64_t fired = 0;
};

class RecordedApplication;
class RecordedFileSystem;
class RecordedDocument;
class RecordedView;
class RecordedLayer;

class Store : public std::enable_shared_from_this<Store> {
public:
    explicit Store(std::string sourceName) : sourceName_(std::move(sourceName)) {}
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // A new object owned by the store. Types whose members need no
    // destruction say so (kNothingToDestroy) and are not listed.
    template <class T, class... Args>
    T* Make(Args&&... args) {
        void* place = arena_.Allocate(sizeof(T), alignof(T));
        if constexpr (requires { T::kNothingToDestroy; }) {
            return new (place) T(this, std::forward<Args>(args)...);
        } else {
            owned_.push_back({place, [](void* object) { static_cast<T*>(object)->~T(); }});
            try {
                return new (place) T(this, std::forward<Args>(args)...);
            } catch (...) {
                owned_.pop_back();
                throw;
            }
        }
    }

    // `n` objects with nothing to destroy, one after another in the arena;
    // `make(place, i)` constructs the i-th at `place`.
    template <class T, class MakeOne>
    T* MakeRun(std::size_t n, MakeOne make) {
        static_assert(requires { T::kNothingToDestroy; });
        if (n == 0) return nullptr;
        auto* first = static_cast<T*>(arena_.Allocate(sizeof(T) * n, alignof(T)));
        for (std::size_t i = 0; i < n; ++i) make(static_cast<void*>(first + i), i);
        return first;
    }

    // Room in the store's arena for the `n` values of `array`, to be filled.
    template <class T>
    T* Room(StoredArray<T>& array, std::size_t n) {
        static_assert(std::is_trivially_destructible_v<T>);
        if (n > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("array too long to keep");
        T* data = n == 0 ? nullptr : static_cast<T*>(arena_.Allocate(sizeof(T) * n, alignof(T)));
        array.data = data;
        array.size = static_cast<std::uint32_t>(n);
        return data;
    }

    // The store's copy of a target name.
    TargetName Intern(std::string name) {
        return TargetName(&*targetNames_.insert(std::move(name)).first);
    }

    template <class I, class T>
    Ref<I> Share(T* object) {
        if (object == nullptr) return {};
        return Ref<I>(shared_from_this(), static_cast<I*>(object));
    }

    void Call(Op op, const std::string& target);
    void Record(Op op, const std::string& target, std::initializer_list<JournalArg> args);

    const std::string& SourceName() const { return sourceName_; }
    Journal& GetJournal() { return journal_; }
    std::vector<Fault>& Faults() { return faults_; }

    RecordedApplication* application = nullptr;
    RecordedDocument* document = nullptr;

    // Run state shared by several objects.
    std::vector<RecordedView*> selection;

private:
    std::string sourceName_;
    Journal journal_;
    std::vector<Fault> faults_;
    // Positions of the faults of each operation, in recording order; built
    // at the first call, as the faults are all known by then. A call looks
    // only at its own operation's faults.
    std::unordered_map<Op, std::vector<std::size_t>> faultsByOp_;
    std::size_t faultsIndexed_ = 0;

    // Blocks of memory handed out in order; freed all at once.
    class Arena {
    public:
        void* Allocate(std::size_t size, std::size_t align) {
            std::size_t at = (used_ + align - 1) & ~(align - 1);
            if (blocks_.empty() || at + size > blockSize_) {
                blockSize_ = std::max(kBlockSize, size);
                blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(blockSize_));
                at = 0;
            }
            used_ = at + size;
            return blocks_.back().get() + at;
        }

    private:
        static constexpr std::size_t kBlockSize = 64 * 1024;
        std::vector<std::unique_ptr<std::byte[]>> blocks_;
        std::size_t blockSize_ = 0;
        std::size_t used_ = 0;
    };
    struct Owned {
        void* object;
        void (*destroy)(void*);
    };
    std::unordered_set<std::string> targetNames_;
    Arena arena_;
    std::deque<Owned> owned_;
};

inline Element::Element(Store* store, std::string target)
    : store_(store), target_(store->Intern(std::move(target))) {}
inline void Element::Call(Op op) const { store_->Call(op, target_.Str()); }
inline void Element::Record(Op op, std::initializer_list<JournalArg> args) const {
    store_->Record(op, target_.Str(), args);
}
template <class I, class T>
Ref<I> Element::Share(T* object) const {
    return store_->Share<I>(object);
}

// UTF-8 of a wide string, for target names.
std::string Utf8(const std::wstring& text);

// ---------------------------------------------------------------------------
// Text formats, points, curves

class RecordedTextFormat final : public Element, public SourceTextFormat {
public:
    using Element::Element;
    VBool IsBackWards() override { return Get(Op::TextFormat_IsBackWards, isBackWards); }
    VBool IsBold() override { return Get(Op::TextFormat_IsBold, isBold); }
    double CharHeight() override { return Get(Op::TextFormat_CharHeight, charHeight); }
    std::int32_t CharHeightInPoints() override {
        return Get(Op::TextFormat_CharHeightInPoints, charHeightInPoints);
    }
    double CharSpacingFactor() override {
        return Get(Op::TextFormat_CharSpacingFactor, charSpacingFactor);
    }
    double Escapement() override { return Get(Op::TextFormat_Escapement, escapement); }
    VBool IsItalic() override { return Get(Op::TextFormat_IsItalic, isItalic); }
    double LineLength() override { return Get(Op::TextFormat_LineLength, lineLength); }
    double LineSpacing() override { return Get(Op::TextFormat_LineSpacing, lineSpacing); }
    double ObliqueAngle() override { return Get(Op::TextFormat_ObliqueAngle, obliqueAngle); }
    VBool IsStrikeOut() override { return Get(Op::TextFormat_IsStrikeOut, isStrikeOut); }
    SourceString TypeFaceName() override { return Get(Op::TextFormat_TypeFaceName, typeFaceName); }
    VBool IsUnderline() override { return Get(Op::TextFormat_IsUnderline, isUnderline); }
    VBool IsUpsideDown() override { return Get(Op::TextFormat_IsUpsideDown, isUpsideDown); }
    VBool IsVertical() override { return Get(Op::TextFormat_IsVertical, isVertical); }
    double WidthFactor() override { return Get(Op::TextFormat_WidthFactor, widthFactor); }

    VBool isBackWards = 0, isBold = 0, isItalic = 0, isStrikeOut = 0, isUnderline = 0,
          isUpsideDown = 0, isVertical = 0;
    double charHeight = 0, charSpacingFactor = 0, escapement = 0, lineLength = 0, lineSpacing = 0,
           obliqueAngle = 0, widthFactor = 0;
    std::int32_t charHeightInPoints = 0;
    SourceString typeFaceName;
};

class RecordedSegment;

// A point of a segment. It lies in the store's arena beside the segment's
// other points and answers under the segment's target (a point always has
// its segment's target).
class RecordedPoint final : public SourcePoint {
public:
    static constexpr bool kNothingToDestroy = true;  // numbers and pointers only
    RecordedPoint(const RecordedSegment* segment, Vec3 p) : xyz(p), segment_(segment) {}
    RecordedPoint(const RecordedPoint&) = delete;
    RecordedPoint& operator=(const RecordedPoint&) = delete;
    double X() override;
    double Y() override;
    double Z() override;
    Vec3 xyz{};

private:
    const RecordedSegment* segment_;
};

class RecordedBSplineData final : public Element, public SourceBSplineData {
public:
    using Element::Element;
    static constexpr bool kNothingToDestroy = true;  // the arrays lie in the arena
    std::int32_t Order() override { return Get(Op::BSplineData_Order, order); }
    std::int32_t Dimension() override { return Get(Op::BSplineData_Dimension, dimension); }
    SourceDoubleArray ControlPoints() override {
        return Get(Op::BSplineData_ControlPoints, controlPoints).Copy();
    }
    SourceDoubleArray Knots() override { return Get(Op::BSplineData_Knots, knots).Copy(); }
    std::int32_t order = 0, dimension = 0;
    StoredArray<double> controlPoints, knots;
};

class RecordedCurve final : public Element, public SourceCurve {
public:
    using Element::Element;
    static constexpr bool kNothingToDestroy = true;  // the arrays lie in the arena
    SourceDoubleArray LineData() override { return Get(Op::Curve_LineData, lineData).Copy(); }
    SourceDoubleArray CircleData() override { return Get(Op::Curve_CircleData, circleData).Copy(); }
    SourceDoubleArray EllipseData() override {
        return Get(Op::Curve_EllipseData, ellipseData).Copy();
    }
    SourceCurveParameters Parameters() override { return Get(Op::Curve_Parameters, parameters); }
    Ref<SourceBSplineData> BSplineData(std::int32_t, std::int32_t, VBool, VBool) override {
        return GetRef<SourceBSplineData>(Op::Curve_BSplineData, bspline);
    }
    StoredArray<double> lineData, circleData, ellipseData;
    SourceCurveParameters parameters;
    RecordedBSplineData* bspline = nullptr;
};

// ---------------------------------------------------------------------------
// Math objects

class RecordedTransform final : public Element, public SourceTransform {
public:
    // keepAlive: the store, for transforms made during a run; null for
    // transforms the store owns.
    RecordedTransform(Store* store, TargetName target, SourceDoubleArray values = {},
                      std::shared_ptr<Store> keepAlive = nullptr)
        : Element(store, target), data(std::move(values)), keepAlive_(std::move(keepAlive)) {}
    SourceDoubleArray ArrayData() override;
    SourceTransformComponents Components() override;
    Ref<SourceTransform> Inverse() override;
    Ref<SourceTransform> Multiply(const Ref<SourceTransform>& other) override;

    Affine AsAffine() const { return Affine::FromValues(data.values); }
    SourceDoubleArray data;

private:
    std::shared_ptr<Store> keepAlive_;
};

// A transform made during the run from an affine mapping.
Ref<SourceTransform> NewTransform(Store* store, TargetName target, const Affine& affine);
// The mapping of any transform: ours directly, others through their numbers.
Affine AffineOf(SourceTransform& transform);

class RecordedMathVector final : public Element, public SourceMathVector {
public:
    RecordedMathVector(Store* store, TargetName target, Vec3 v, std::shared_ptr<Store> keepAlive)
        : Element(store, target), xyz(v), keepAlive_(std::move(keepAlive)) {}
    Ref<SourceMathVector> MultiplyTransform(const Ref<SourceTransform>& transform) override;
    Ref<SourceMathVector> Normalise() override;
    SourceDoubleArray ArrayData() override;
    Vec3 xyz;

private:
    std::shared_ptr<Store> keepAlive_;
};

class RecordedMathPoint final : public Element, public SourceMathPoint {
public:
    RecordedMathPoint(Store* store, TargetName target, Vec3 p, std::shared_ptr<Store> keepAlive)
        : Element(store, target), xyz(p), keepAlive_(std::move(keepAlive)) {}
    Ref<SourceMathPoint> MultiplyTransform(const Ref<SourceTransform>& transform) override;
    SourceDoubleArray ArrayData() override;
    Vec3 xyz;

private:
    std::shared_ptr<Store> keepAlive_;
};

class RecordedMathUtility final : public Element, public SourceMathUtility {
public:
    using Element::Element;
    Ref<SourceMathPoint> CreatePoint(double x, double y, double z) override;
    Ref<SourceMathVector> CreateVector(double x, double y, double z) override;
    Ref<SourceTransform> CreateTransform(const SourceDoubleArray& data) override;
};

class RecordedPlacement final : public Element, public SourcePlacement {
public:
    // Either `owned` (a recorded placement) or `made` (one made by Combine).
    RecordedPlacement(Store* store, TargetName target, RecordedTransform* owned,
                      Ref<SourceTransform> made = {}, std::shared_ptr<Store> keepAlive = nullptr)
        : Element(store, target),
          owned_(owned),
          made_(std::move(made)),
          keepAlive_(std::move(keepAlive)) {}
    Ref<SourceTransform> SegmentTransform() override;
    Ref<SourcePlacement> Combine(const Ref<SourcePlacement>& other) override;
    Ref<SourcePlacement> Combine(const Ref<SourceTransform>& other) override;

private:
    Ref<SourcePlacement> CombineAffine(const Affine& first);
    RecordedTransform* owned_;
    Ref<SourceTransform> made_;
    std::shared_ptr<Store> keepAlive_;
};

// ---------------------------------------------------------------------------
// Sketches

class RecordedSketch;
class RecordedSketchHatch;
class RecordedBlockInstance;

class RecordedSegment final : public Element,
                              public SourceSketchSegment,
                              public SourceLineSegment,
                              public SourceArcSegment,
                              public SourceEllipseSegment,
                              public SourceParabolaSegment,
                              public SourceSplineSegment {
public:
    using Element::Element;
    static constexpr bool kNothingToDestroy = true;  // numbers and pointers only
    std::int32_t Kind() override { return Get(Op::Segment_Kind, kind); }
    VBool Construction() override { return Get(Op::Segment_Construction, construction); }
    Ref<SourceSketch> Sketch() override;
    Ref<SourceCurve> Curve() override { return GetRef<SourceCurve>(Op::Segment_Curve, curve); }
    Ref<SourceCurve> SplineCurve() override {
        return GetRef<SourceCurve>(Op::Segment_SplineCurve, curve);
    }
    double Length() override { return Get(Op::Segment_Length, length); }
    Ref<SourceLineSegment> QueryLine() override {
        return Typed<SourceLineSegment>(Op::Segment_QueryLine, kSegmentLine);
    }
    Ref<SourceArcSegment> QueryArc() override {
        return Typed<SourceArcSegment>(Op::Segment_QueryArc, kSegmentArc);
    }
    Ref<SourceEllipseSegment> QueryEllipse() override {
        return Typed<SourceEllipseSegment>(Op::Segment_QueryEllipse, kSegmentEllipse);
    }
    Ref<SourceSplineSegment> QuerySpline() override {
        return Typed<SourceSplineSegment>(Op::Segment_QuerySpline, kSegmentSpline);
    }
    Ref<SourceParabolaSegment> QueryParabola() override {
        return Typed<SourceParabolaSegment>(Op::Segment_QueryParabola, kSegmentParabola);
    }

    // Typed interfaces (one implementation serves every kind).
    Ref<SourceSketchSegment> AsSegment() override {
        return GetRef<SourceSketchSegment>(Op::Segment_AsSegment, this);
    }
    Ref<SourcePoint> StartPoint() override { return PointOf(Op::Segment_StartPoint, kStart); }
    Ref<SourcePoint> EndPoint() override { return PointOf(Op::Segment_EndPoint, kEnd); }
    Ref<SourcePoint> CenterPoint() override { return PointOf(Op::Segment_CenterPoint, kCenter); }
    Ref<SourcePoint> MajorPoint() override { return PointOf(Op::Segment_MajorPoint, kMajor); }
    Ref<SourcePoint> MinorPoint() override { return PointOf(Op::Segment_MinorPoint, kMinor); }
    Ref<SourcePoint> FocalPoint() override { return PointOf(Op::Segment_FocalPoint, kFocus); }
    Ref<SourcePoint> ApexPoint() override { return PointOf(Op::Segment_ApexPoint, kApex); }
    std::int32_t Direction() override { return Get(Op::Segment_Direction, direction); }
    std::int32_t FullCircle() override { return Get(Op::Segment_FullCircle, fullCircle); }

    // A point's calls are the segment's calls, under its target.
    void PointCall(Op op) const { Call(op); }

    // The kinds of point, in the order they are recorded and kept.
    enum PointKind { kStart, kEnd, kCenter, kMajor, kMinor, kFocus, kApex, kPointKinds };
    // The point of a kind; null when it was not recorded.
    RecordedPoint* PointAt(PointKind which) const {
        if ((pointMask >> which & 1u) == 0) return nullptr;
        const unsigned before = pointMask & ((1u << which) - 1u);
        return points + std::popcount(before);
    }

    std::int32_t kind = 0;
    VBool construction = 0;
    bool typedQueryFails = false;
    std::uint8_t pointMask = 0;  // bit k: a point of kind k was recorded
    double length = 0.0;
    RecordedSketch* sketch = nullptr;
    RecordedCurve* curve = nullptr;
    RecordedPoint* points = nullptr;  // those recorded, one after another
    std::int32_t direction = 0, fullCircle = 0;

private:
    template <class I>
    Ref<I> Typed(Op op, std::int32_t wanted) {
        Call(op);
        if (typedQueryFails || kind != wanted) return {};
        return Share<I>(this);
    }
    Ref<SourcePoint> PointOf(Op op, PointKind which) {
        Call(op);
        return Share<SourcePoint>(PointAt(which));
    }
};

inline double RecordedPoint::X() {
    segment_->PointCall(Op::Point_X);
    return xyz[0];
}
inline double RecordedPoint::Y() {
    segment_->PointCall(Op::Point_Y);
    return xyz[1];
}
inline double RecordedPoint::Z() {
    segment_->PointCall(Op::Point_Z);
    return xyz[2];
}

class RecordedSketchHatch final : public Element, public SourceSketchHatch {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::SketchHatch_Name, name); }
    double Angle() override { return Get(Op::SketchHatch_Angle, angle); }
    std::int32_t Color() override { return Get(Op::SketchHatch_Color, color); }
    SourceString Pattern() override { return Get(Op::SketchHatch_Pattern, pattern); }
    std::int32_t PatternId() override { return Get(Op::SketchHatch_PatternId, patternId); }
    double Scale() override { return Get(Op::SketchHatch_Scale, scale); }
    VBool SolidFill() override { return Get(Op::SketchHatch_SolidFill, solidFill); }
    SourceString name, pattern;
    double angle = 0, scale = 0;
    std::int32_t color = 0, patternId = 0;
    VBool solidFill = 0;
};

class RecordedSketch final : public Element, public SourceSketch {
public:
    using Element::Element;
    std::optional<std::vector<Ref<SourceSketchSegment>>> Segments() override;
    Ref<SourcePlacement> Placement() override {
        return GetRef<SourcePlacement>(Op::Sketch_Placement, placement);
    }
    SharedSourceDoubleArray ArcData() override { return Get(Op::Sketch_ArcData, arcData); }
    std::vector<Ref<SourceBlockInstance>> BlockInstances() override;
    std::vector<Ref<SourceSketchHatch>> SketchHatches() override;

    std::optional<std::vector<RecordedSegment*>> segments;
    RecordedPlacement* placement = nullptr;
    SharedSourceDoubleArray arcData;
    std::vector<RecordedBlockInstance*> blockInstances;
    std::vector<RecordedSketchHatch*> hatches;
};

class RecordedBlockDefinition final : public Element, public SourceBlockDefinition {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::BlockDefinition_Name, name); }
    Ref<SourceSketch> Sketch() override {
        return GetRef<SourceSketch>(Op::BlockDefinition_Sketch, sketch);
    }
    SourceString name;
    RecordedSketch* sketch = nullptr;
};

class RecordedBlockInstance final : public Element, public SourceBlockInstance {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::BlockInstance_Name, name); }
    Ref<SourcePlacement> Placement() override {
        return GetRef<SourcePlacement>(Op::BlockInstance_Placement, placement);
    }
    Ref<SourceBlockDefinition> Definition() override {
        return GetRef<SourceBlockDefinition>(Op::BlockInstance_Definition, definition);
    }
    SourceString name;
    RecordedPlacement* placement = nullptr;
    RecordedBlockDefinition* definition = nullptr;
};

// ---------------------------------------------------------------------------
// Components

class RecordedNamedEntity final : public Element, public SourceNamedEntity {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::NamedEntity_Name, name); }
    SourceString name;
};

class RecordedBody final : public Element, public SourceBody {
public:
    using Element::Element;
    Ref<SourceNamedEntity> NamingObject() override {
        return GetRef<SourceNamedEntity>(Op::Body_NamingObject, naming);
    }
    RecordedNamedEntity* naming = nullptr;
};

class RecordedComponent final : public Element, public SourceComponent {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::Component_Name, name); }
    SourceString ReferencedConfiguration() override {
        return Get(Op::Component_ReferencedConfiguration, referencedConfiguration);
    }
    std::int32_t Visibility() override { return Get(Op::Component_Visibility, visibility); }
    SourceString name, referencedConfiguration;
    std::int32_t visibility = 0;
    std::vector<RecordedBody*> bodies;
    // What the query of releases before 2014 answers; none: `bodies`.
    std::optional<std::vector<RecordedBody*>> legacyBodies;
};

class RecordedDrawingComponent final : public Element, public SourceDrawingComponent {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::DrawingComponent_Name, name); }
    std::vector<Ref<SourceDrawingComponent>> Children() override;
    Ref<SourceComponent> Component() override {
        return GetRef<SourceComponent>(Op::DrawingComponent_Component, component);
    }
    SourceString name;
    std::vector<RecordedDrawingComponent*> children;
    RecordedComponent* component = nullptr;
};

// ---------------------------------------------------------------------------
// Annotations

class RecordedAnnotation final : public Element, public SourceAnnotation {
public:
    using Element::Element;
    SourceString Layer() override { return Get(Op::Annotation_Layer, layer); }
    void SetLayer(const std::wstring& value) override;
    SourceDoubleArray Position() override { return Get(Op::Annotation_Position, position); }
    SourceString layer;
    SourceDoubleArray position;
};

class RecordedNote final : public Element, public SourceNote {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::Note_Name, name); }
    VBool BalloonState() override { return Get(Op::Note_BalloonState, balloon); }
    VBool SecondBalloonState() override { return Get(Op::Note_SecondBalloonState, secondBalloon); }
    SourceDoubleArray BalloonData() override { return Get(Op::Note_BalloonData, balloonData); }
    std::int32_t TextLineCount() override { return Get(Op::Note_TextLineCount, textLineCount); }
    SourceString TextLine(std::int32_t index) override;
    Ref<SourceAnnotation> Annotation() override {
        return GetRef<SourceAnnotation>(Op::Note_Annotation, annotation);
    }
    SourceString Prompt() override { return Get(Op::Note_Prompt, prompt); }
    SourceString LinkedText() override { return Get(Op::Note_LinkedText, linkedText); }
    SourceDoubleArray TextPosition() override { return Get(Op::Note_TextPosition, textPosition); }
    SourceDoubleArray LeaderPoints() override { return Get(Op::Note_LeaderPoints, leaderPoints); }
    SourceDoubleArray LeaderData() override { return Get(Op::Note_LeaderData, leaderData); }
    Ref<SourceTextFormat> TextFormat() override {
        return GetRef<SourceTextFormat>(Op::Note_TextFormat, textFormat);
    }

    SourceString name, prompt, linkedText;
    VBool balloon = 0, secondBalloon = 0;
    SourceDoubleArray balloonData, textPosition, leaderPoints, leaderData;
    std::vector<SourceString> textLines;
    std::int32_t textLineCount = 0;
    RecordedAnnotation* annotation = nullptr;
    RecordedTextFormat* textFormat = nullptr;
};

class RecordedCenterMark final : public Element, public SourceCenterMark {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::CenterMark_Name, name); }
    VBool UseDocumentDefaults() override {
        return Get(Op::CenterMark_UseDocumentDefaults, useDocumentDefaults);
    }
    VBool ExtendedLines() override { return Get(Op::CenterMark_ExtendedLines, extendedLines); }
    VBool CenterlineFont() override { return Get(Op::CenterMark_CenterlineFont, centerlineFont); }
    double MarkSize() override { return Get(Op::CenterMark_MarkSize, markSize); }
    double Angle() override { return Get(Op::CenterMark_Angle, angle); }
    std::int32_t Style() override { return Get(Op::CenterMark_Style, style); }
    std::int32_t GroupCount() override { return Get(Op::CenterMark_GroupCount, groupCount); }
    Ref<SourceAnnotation> Annotation() override {
        return GetRef<SourceAnnotation>(Op::CenterMark_Annotation, annotation);
    }
    Ref<SourceCenterMark> Next() override {
        return GetRef<SourceCenterMark>(Op::CenterMark_Next, next);
    }

    SourceString name;
    VBool useDocumentDefaults = 0, extendedLines = 0, centerlineFont = 0;
    double markSize = 0, angle = 0;
    std::int32_t style = 0, groupCount = 0;
    RecordedAnnotation* annotation = nullptr;
    RecordedCenterMark* next = nullptr;
};

class RecordedFaceHatch final : public Element, public SourceFaceHatch {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::FaceHatch_Name, name); }
    double Angle() override { return Get(Op::FaceHatch_Angle, angle); }
    std::int32_t Color() override { return Get(Op::FaceHatch_Color, color); }
    SourceString Definition() override { return Get(Op::FaceHatch_Definition, definition); }
    SourceString Pattern() override { return Get(Op::FaceHatch_Pattern, pattern); }
    std::int32_t PatternId() override { return Get(Op::FaceHatch_PatternId, patternId); }
    double Scale() override { return Get(Op::FaceHatch_Scale, scale); }
    VBool SolidFill() override { return Get(Op::FaceHatch_SolidFill, solidFill); }
    VBool UseMaterialHatch() override {
        return Get(Op::FaceHatch_UseMaterialHatch, useMaterialHatch);
    }
    SourceString name, definition, pattern;
    double angle = 0, scale = 0;
    std::int32_t color = 0, patternId = 0;
    VBool solidFill = 0, useMaterialHatch = 0;
};

class RecordedSectionLine final : public Element, public SourceSectionLine {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::SectionLine_Name, name); }
    SourceString Label() override { return Get(Op::SectionLine_Label, label); }
    Ref<SourceView> OwnerView() override;
    void SetLayer(const std::wstring& value) override;
    std::vector<Ref<SourceComponent>> ExcludedComponents() override;
    VBool ReversedCutDirection() override {
        return Get(Op::SectionLine_ReversedCutDirection, reversedCutDirection);
    }
    VBool Aligned() override { return Get(Op::SectionLine_Aligned, aligned); }
    VBool DisplayOnlySurfaceCut() override {
        return Get(Op::SectionLine_DisplayOnlySurfaceCut, displayOnlySurfaceCut);
    }
    VBool Partial() override { return Get(Op::SectionLine_Partial, partial); }
    VBool AutoHatch() override { return Get(Op::SectionLine_AutoHatch, autoHatch); }
    double Depth() override { return Get(Op::SectionLine_Depth, depth); }
    Ref<SourceTextFormat> TextFormat() override {
        return GetRef<SourceTextFormat>(Op::SectionLine_TextFormat, textFormat);
    }

    SourceString name, label, layer;
    RecordedView* owner = nullptr;
    bool ownerGiven = false;  // "owner" was recorded; otherwise derived
    std::vector<RecordedComponent*> excludedComponents;
    VBool reversedCutDirection = 0, aligned = 0, displayOnlySurfaceCut = 0, partial = 0,
          autoHatch = 0;
    double depth = 0;
    RecordedTextFormat* textFormat = nullptr;
};

class RecordedDetailCircle final : public Element, public SourceDetailCircle {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::DetailCircle_Name, name); }
    SourceString Label() override { return Get(Op::DetailCircle_Label, label); }
    Ref<SourceView> OwnerView() override;
    void SetLayer(const std::wstring& value) override;
    std::int32_t DisplayKind() override { return Get(Op::DetailCircle_DisplayKind, displayKind); }
    std::int32_t CircleStyle() override { return Get(Op::DetailCircle_CircleStyle, circleStyle); }
    VBool FullOutline() override { return Get(Op::DetailCircle_FullOutline, fullOutline); }
    Ref<SourceTextFormat> TextFormat() override {
        return GetRef<SourceTextFormat>(Op::DetailCircle_TextFormat, textFormat);
    }
    std::vector<Ref<SourceSketchSegment>> ProfileSegments() override;

    SourceString name, label, layer;
    RecordedView* owner = nullptr;
    bool ownerGiven = false;  // "owner" was recorded; otherwise derived
    std::int32_t displayKind = 0, circleStyle = 0;
    VBool fullOutline = 0;
    RecordedTextFormat* textFormat = nullptr;
    RecordedSketch* profile = nullptr;
};

class RecordedProjectionArrow final : public Element, public SourceProjectionArrow {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::ProjectionArrow_Name, name); }
    SourceString Label() override { return Get(Op::ProjectionArrow_Label, label); }
    SourceDoubleArray Coordinates() override {
        return Get(Op::ProjectionArrow_Coordinates, coordinates);
    }
    Ref<SourceTextFormat> TextFormat() override {
        return GetRef<SourceTextFormat>(Op::ProjectionArrow_TextFormat, textFormat);
    }
    SourceString name, label;
    SourceDoubleArray coordinates;
    RecordedTextFormat* textFormat = nullptr;
};

class RecordedBreakLine final : public Element, public SourceBreakLine {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::BreakLine_Name, name); }
    void SetLayer(const std::wstring& value) override;
    std::int32_t Orientation() override { return Get(Op::BreakLine_Orientation, orientation); }
    double Position(std::int32_t index) override;
    std::int32_t Style() override { return Get(Op::BreakLine_Style, style); }
    SourceString name, layer;
    std::int32_t orientation = 0, style = 0;
    std::vector<double> positions;
};

class RecordedBrokenOutSection final : public Element, public SourceBrokenOutSection {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::BrokenOutSection_Name, name); }
    double Depth() override { return Get(Op::BrokenOutSection_Depth, depth); }
    void SetSketchEditing(VBool value) override;
    std::vector<Ref<SourceSketchSegment>> SketchSegments() override;
    SourceString name;
    double depth = 0;
    RecordedSketch* sketch = nullptr;
    VBool editing = 0;
};

// ---------------------------------------------------------------------------
// Features, pictures, OLE objects

class RecordedFeature;
class RecordedSketchPicture;

class RecordedPictureBox final : public Element, public SourcePictureBox {
public:
    using Element::Element;
    SourceDoubleArray Box() override { return Get(Op::PictureBox_Box, box); }
    SourceDoubleArray box;
};

class RecordedSketchPicture final : public Element, public SourceSketchPicture {
public:
    using Element::Element;
    SourceShortArray PixelData() override { return Get(Op::SketchPicture_PixelData, pixels); }
    Ref<SourceFeature> PictureFeature() override;
    SourcePicturePosition Position() override { return Get(Op::SketchPicture_Position, position); }
    SourcePictureSize Size() override { return Get(Op::SketchPicture_Size, size); }
    Ref<SourcePictureBox> BoxSource() override {
        return GetRef<SourcePictureBox>(Op::SketchPicture_BoxSource, box);
    }
    double Angle() override { return Get(Op::SketchPicture_Angle, angle); }
    VBool Flipped() override { return Get(Op::SketchPicture_Flipped, flipped); }
    SourceShortArray pixels;
    RecordedFeature* feature = nullptr;
    SourcePicturePosition position;
    SourcePictureSize size;
    RecordedPictureBox* box = nullptr;
    double angle = 0;
    VBool flipped = 0;
};

class RecordedSpecificFeature final : public Element, public SourceSpecificFeature {
public:
    using Element::Element;
    Ref<SourceSketchPicture> QuerySketchPicture() override {
        return GetRef<SourceSketchPicture>(Op::SpecificFeature_QuerySketchPicture, picture);
    }
    Ref<SourceBrokenOutSection> QueryBrokenOutSection() override {
        return GetRef<SourceBrokenOutSection>(Op::SpecificFeature_QueryBrokenOutSection,
                                              brokenOutSection);
    }
    RecordedSketchPicture* picture = nullptr;
    RecordedBrokenOutSection* brokenOutSection = nullptr;
};

class RecordedFeature final : public Element, public SourceFeature {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::Feature_Name, name); }
    SourceString TypeName() override { return Get(Op::Feature_TypeName, typeName); }
    Ref<SourceFeature> Owner() override { return GetRef<SourceFeature>(Op::Feature_Owner, owner); }
    Ref<SourceSpecificFeature> SpecificFeature() override {
        return GetRef<SourceSpecificFeature>(Op::Feature_SpecificFeature, specific);
    }
    SourceString name, typeName;
    RecordedFeature* owner = nullptr;
    RecordedSpecificFeature* specific = nullptr;
};

class RecordedFeatureList final : public Element, public SourceFeatureList {
public:
    using Element::Element;
    std::vector<Ref<SourceFeature>> Features(std::int32_t topLevelOnly) override;
    std::vector<RecordedFeature*> features;
};

class RecordedOleObject final : public Element, public SourceOleObject {
public:
    using Element::Element;
    std::int32_t Aspect() override { return Get(Op::OleObject_Aspect, aspect); }
    SourceDoubleArray Boundaries() override { return Get(Op::OleObject_Boundaries, boundaries); }
    SourceString ClassId() override { return Get(Op::OleObject_ClassId, classId); }
    SourceString FileName() override { return Get(Op::OleObject_FileName, fileName); }
    VBool Linked() override { return Get(Op::OleObject_Linked, linked); }
    SourceByteArray Data() override { return Get(Op::OleObject_Data, data); }
    std::int32_t aspect = 0;
    SourceDoubleArray boundaries;
    SourceString classId, fileName;
    VBool linked = 0;
    SourceByteArray data;
};

// ---------------------------------------------------------------------------
// Views, sheets, drawing, documents, application

class RecordedSheet;
class RecordedModelDocument;

class RecordedView final : public Element, public SourceView {
public:
    using Element::Element;
    Ref<SourceView> NextView() override;
    SourceString Name() override { return Get(Op::View_Name, name); }
    std::int32_t Type() override { return Get(Op::View_Type, type); }
    Ref<SourceView> ParentView() override {
        return GetRef<SourceView>(Op::View_ParentView, parent);
    }
    Ref<SourceModelDocument> ReferencedModelDocument() override;
    std::int32_t HiddenEdgeCount() override {
        return Get(Op::View_HiddenEdgeCount, hiddenEdgeCount);
    }
    VBool ExplodedState() override { return Get(Op::View_ExplodedState, explodedState); }
    VBool Visible() override { return Get(Op::View_Visible, visible); }
    void SetVisible(VBool value, std::int32_t showDimensions) override;
    SourceDoubleArray Position() override { return Get(Op::View_Position, position); }
    SourceString ReferencedConfiguration() override {
        return Get(Op::View_ReferencedConfiguration, referencedConfiguration);
    }
    SourceString ReferencedDocumentPath() override {
        return Get(Op::View_ReferencedDocumentPath, referencedDocumentPath);
    }
    SourceDoubleArray Scale() override { return Get(Op::View_Scale, scale); }
    std::int32_t Alignment() override { return Get(Op::View_Alignment, alignment); }
    std::int32_t TangentEdgeDisplay() override {
        return Get(Op::View_TangentEdgeDisplay, tangentEdgeDisplay);
    }
    std::int32_t DisplayMode() override { return Get(Op::View_DisplayMode, displayMode); }
    VBool HiddenEdgesInShadedMode() override {
        return Get(Op::View_HiddenEdgesInShadedMode, hiddenEdgesInShadedMode);
    }
    VBool Cropped() override { return Get(Op::View_Cropped, cropped); }
    VBool Broken() override { return Get(Op::View_Broken, broken); }
    double Angle() override { return Get(Op::View_Angle, angle); }
    Ref<SourceTransform> Transform() override {
        return GetRef<SourceTransform>(Op::View_Transform, transform);
    }
    Ref<SourceSketch> Sketch() override { return GetRef<SourceSketch>(Op::View_Sketch, sketch); }
    Ref<SourceSketch> CenterLineSketch() override {
        return GetRef<SourceSketch>(Op::View_CenterLineSketch, centerLineSketch);
    }
    Ref<SourceSectionLine> SectionLine() override {
        return GetRef<SourceSectionLine>(Op::View_SectionLine, sectionLine);
    }
    std::vector<Ref<SourceSectionLine>> SectionLines() override;
    SourceDoubleArray SectionLineData() override {
        return Get(Op::View_SectionLineData, sectionLineData);
    }
    Ref<SourceDetailCircle> DetailCircle() override {
        return GetRef<SourceDetailCircle>(Op::View_DetailCircle, detailCircle);
    }
    std::vector<Ref<SourceDetailCircle>> DetailCircles() override;
    SourceDoubleArray DetailCircleData() override {
        return Get(Op::View_DetailCircleData, detailCircleData);
    }
    Ref<SourceProjectionArrow> ProjectionArrow() override {
        return GetRef<SourceProjectionArrow>(Op::View_ProjectionArrow, projectionArrow);
    }
    std::int32_t BreakLineCount() override { return Get(Op::View_BreakLineCount, breakLineCount); }
    std::vector<Ref<SourceBreakLine>> BreakLines() override;
    SourceDoubleArray BreakLineData() override {
        return Get(Op::View_BreakLineData, breakLineData);
    }
    double BreakLineGap() override { return Get(Op::View_BreakLineGap, breakLineGap); }
    std::vector<SourceBrokenOutSectionEntry> BrokenOutSections() override;
    std::vector<Ref<SourceNote>> Notes() override;
    Ref<SourceDrawingComponent> RootDrawingComponent() override {
        return GetRef<SourceDrawingComponent>(Op::View_RootDrawingComponent, rootComponent);
    }
    std::vector<Ref<SourceComponent>> HiddenComponents() override;
    std::int32_t BodyNamingValue() override {
        return Get(Op::View_BodyNamingValue, bodyNamingValue);
    }
    std::vector<Ref<SourceBody>> ComponentBodiesLegacy(const Ref<SourceComponent>& component,
                                                       std::int32_t kind) override;
    std::vector<Ref<SourceBody>> ComponentBodies(const Ref<SourceComponent>& component,
                                                 std::int32_t kind) override;
    Ref<SourceCenterMark> FirstCenterMark() override;
    std::vector<Ref<SourceFaceHatch>> FaceHatches() override;

    // Adds the crop sketch's segments to the view's sketch (once).
    void ApplyCrop();

    struct BrokenOutEntry {
        SourceString name;
        RecordedSpecificFeature* feature = nullptr;
    };

    RecordedSheet* sheet = nullptr;
    std::size_t index = 0;  // position on the sheet; 0 is the sheet view

    SourceString name, referencedConfiguration, referencedDocumentPath;
    std::int32_t type = 0, hiddenEdgeCount = 0, alignment = 0, tangentEdgeDisplay = 0,
                 displayMode = 0;
    std::int32_t breakLineCount = 0, bodyNamingValue = 0;
    VBool explodedState = 0, visible = 0, hiddenEdgesInShadedMode = 0, cropped = 0, broken = 0;
    double angle = 0, breakLineGap = 0;
    SourceDoubleArray position, scale, sectionLineData, detailCircleData, breakLineData;
    RecordedView* parent = nullptr;
    RecordedModelDocument* referencedModel = nullptr;
    RecordedTransform* transform = nullptr;
    RecordedSketch* sketch = nullptr;
    RecordedSketch* centerLineSketch = nullptr;
    RecordedSectionLine* sectionLine = nullptr;
    std::vector<RecordedSectionLine*> sectionLines;
    RecordedDetailCircle* detailCircle = nullptr;
    std::vector<RecordedDetailCircle*> detailCircles;
    RecordedProjectionArrow* projectionArrow = nullptr;
    std::vector<RecordedBreakLine*> breakLines;
    std::vector<BrokenOutEntry> brokenOutSections;
    std::vector<RecordedNote*> notes;
    RecordedDrawingComponent* rootComponent = nullptr;
    std::vector<RecordedComponent*> hiddenComponents;
    std::vector<RecordedCenterMark*> centerMarks;
    std::vector<RecordedFaceHatch*> faceHatches;  // entries may be null
    std::vector<RecordedSegment*> cropSegments;
    bool cropApplied = false;
    SourceString layer;  // state: the layer the view sits on
};

class RecordedSheet final : public Element {
public:
    using Element::Element;
    std::wstring name;
    std::vector<RecordedView*> views;
    std::vector<RecordedOleObject*> oleObjects;  // entries may be null

    // The first view of that name; views without a name are never found.
    RecordedView* FindView(const std::wstring& viewName) const;

private:
    // Keyed by the views' own names, which do not change once loaded.
    mutable std::unordered_map<std::wstring_view, RecordedView*> viewsByName_;
    mutable std::size_t viewsIndexed_ = 0;
};

class RecordedLayer final : public Element, public SourceLayer {
public:
    using Element::Element;
    SourceString Name() override { return Get(Op::Layer_Name, name); }
    void SetName(const std::wstring& value) override;
    std::wstring name;
    std::wstring description;
};

class RecordedLayerManager final : public Element, public SourceLayerManager {
public:
    using Element::Element;
    Ref<SourceLayer> GetLayer(const std::wstring& name) override;
    // The first layer of that name, through an index of the names: layers
    // appended since the last lookup are added to it, a rename rebuilds it.
    RecordedLayer* Find(const std::wstring& name) const;
    void LayerRenamed() const { indexed_ = 0, byName_.clear(); }
    std::vector<RecordedLayer*> layers;

private:
    mutable std::unordered_map<std::wstring, RecordedLayer*> byName_;
    mutable std::size_t indexed_ = 0;
};

class RecordedDrawing final : public Element, public SourceDrawing {
public:
    using Element::Element;
    std::optional<std::vector<std::wstring>> SheetNames() override;
    VBool ActivateSheet(const std::wstring& sheetName) override;
    Ref<SourceView> FirstView() override;
    VBool CreateLayer(const std::wstring& layerName, const std::wstring& description,
                      std::int32_t color, std::int32_t style, std::int32_t width,
                      std::int32_t on) override;
    VBool ActivateView(const std::wstring& viewName) override;
    VBool MoveSelectionToLayer(const std::wstring& layerName, std::int32_t allViews) override;

    RecordedView* FindView(const std::wstring& viewName) const;
    // The first sheet of that name.
    RecordedSheet* FindSheet(const std::wstring& sheetName) const;

    bool sheetsRecorded = false;
    std::vector<RecordedSheet*> sheets;
    RecordedSheet* activeSheet = nullptr;
    RecordedView* activeView = nullptr;

private:
    // Sheets and views do not change once loaded: the indexes of their names
    // (keyed by the names they hold) are built on first use, so every lookup
    // by name takes constant time.
    mutable std::unordered_map<std::wstring_view, RecordedSheet*> sheetsByName_;
    mutable std::unordered_map<std::wstring_view, RecordedView*> viewsByName_;
    mutable std::size_t sheetsIndexed_ = 0;
    mutable std::size_t viewSheetsIndexed_ = 0;  // sheets whose views are in viewsByName_
};

class RecordedModelDocument final : public Element, public SourceModelDocument {
public:
    using Element::Element;
    SourceString PathName() override { return Get(Op::ModelDocument_PathName, path); }
    SourceString ReadStringPreference(std::int32_t id) override;
    std::int32_t ReadIntegerPreference(std::int32_t id) override;
    double ReadDoublePreference(std::int32_t id) override;
    SourceString path;
    bool opens = true;  // false: OpenModelDocument gives none for it
    std::map<std::int32_t, std::wstring> stringPreferences;
    std::map<std::int32_t, std::int32_t> integerPreferences;
    std::map<std::int32_t, double> doublePreferences;
};

class RecordedDocument;

class RecordedCommands final : public Element, public SourceDocumentCommands {
public:
    using Element::Element;
    VBool SelectById(const std::wstring& name, const std::wstring& type, double x, double y,
                     double z, VBool append, std::int32_t mark, const Ref<SourceCallout>& callout,
                     std::int32_t options) override;
    VBool RunCommand(std::int32_t command, const SourceString& title) override;
    std::vector<Ref<SourceOleObject>> OleObjects(std::int32_t which) override;
};

using PreferenceKey = std::pair<std::int32_t, std::int32_t>;  // identifier, option

class RecordedDocument final : public Element, public SourceDocument {
public:
    using Element::Element;
    Ref<SourceDocumentCommands> Commands() override {
        return GetRef<SourceDocumentCommands>(Op::Document_Commands, commands);
    }
    Ref<SourceDrawing> QueryDrawing() override {
        return GetRef<SourceDrawing>(Op::Document_QueryDrawing, drawing);
    }
    SourceString PathName() override { return Get(Op::Document_PathName, path); }
    Ref<SourceLayerManager> LayerManager() override {
        return GetRef<SourceLayerManager>(Op::Document_LayerManager, layerManager);
    }
    Ref<SourceFeatureList> FeatureList() override {
        return GetRef<SourceFeatureList>(Op::Document_FeatureList, featureList);
    }
    VBool ClearSelection(std::int32_t all) override;
    void Finish() override;
    std::int32_t ReadDocumentInteger(std::int32_t id, std::int32_t option) override;
    VBool ReadDocumentToggle(std::int32_t id, std::int32_t option) override;
    double ReadDocumentDouble(std::int32_t id, std::int32_t option) override;
    SourceString ReadDocumentString(std::int32_t id, std::int32_t option) override;
    Ref<SourceTextFormat> ReadDocumentTextFormat(std::int32_t id, std::int32_t option) override;

    SourceString path;
    RecordedDrawing* drawing = nullptr;
    RecordedCommands* commands = nullptr;
    RecordedLayerManager* layerManager = nullptr;
    RecordedFeatureList* featureList = nullptr;
    std::map<PreferenceKey, std::int32_t> integerPreferences;
    std::map<PreferenceKey, VBool> togglePreferences;
    std::map<PreferenceKey, double> doublePreferences;
    std::map<PreferenceKey, std::wstring> stringPreferences;
    std::map<PreferenceKey, RecordedTextFormat*> textFormatPreferences;
    bool finished = false;
};

class RecordedApplication final : public Element, public SourceApplication {
public:
    using Element::Element;
    SourceString RevisionNumber() override { return Get(Op::Application_RevisionNumber, revision); }
    // The process keeps the utility from one connection to the next, so
    // the reference handed out does not keep the recording alive (see
    // objects.cpp).
    Ref<SourceMathUtility> MathUtility() override;
    VBool SetIntegerPreference(std::int32_t code, std::int32_t value) override;
    void SetTogglePreference(std::int32_t code, std::int32_t on) override;
    Ref<SourceModelDocument> OpenModelDocument(const std::wstring& path, std::int32_t documentKind,
                                               std::int32_t options,
                                               const std::wstring& configuration) override;
    Ref<SourceFileSystem> FileSystem() override;  // recorded/linked_files.cpp

    RecordedFileSystem* fileSystem = nullptr;
    SourceString revision;
    RecordedMathUtility* mathUtility = nullptr;
    std::vector<RecordedModelDocument*> modelDocuments;
    std::map<std::int32_t, std::int32_t> integerPreferences;  // state
    std::map<std::int32_t, std::int32_t> togglePreferences;   // state
    std::vector<RecordedModelDocument*> opened;               // state
};

}  // namespace kvswx::recorded
