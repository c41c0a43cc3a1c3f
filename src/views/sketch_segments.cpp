#include "views/sketch_segments.h"

#include <atomic>
#include <cstring>
#include <new>
#include <string_view>
#include <tuple>
#include <utility>

#include "model/enum_names.h"
#include "model/fields.h"
#include "model/xml_helpers.h"

namespace kvswx {

namespace {

// The child elements of each kind, in written order.
const auto kLineFields = std::make_tuple(Field(L"StartPoint", &LineValues::startPoint, kPoint3D),
                                         Field(L"EndPoint", &LineValues::endPoint, kPoint3D));

const auto kCircleFields =
    std::make_tuple(Field(L"CenterPoint", &CircleValues::centerPoint, kPoint3D),
                    Field(L"Radius", &CircleValues::radius, kDouble));

const auto kArcFields = std::make_tuple(Field(L"StartPoint", &ArcValues::startPoint, kPoint2D),
                                        Field(L"AlongPoint", &ArcValues::alongPoint, kPoint2D),
                                        Field(L"EndPoint", &ArcValues::endPoint, kPoint2D));

const auto kEllipseFields = std::make_tuple(Field(L"Params", &EllipseValues::params, kDoubleList));

using EA = EllipticalArcValues;
const auto kEllipticalArcFields = std::make_tuple(
    Field(L"CenterPoint", &EA::centerPoint, kPoint3D),
    Field(L"MajorPoint", &EA::majorPoint, kPoint3D), Field(L"Ratio", &EA::ratio, kDouble),
    Field(L"IsClockwise", &EA::isClockwise, kBool), Field(L"StartAngle", &EA::startAngle, kDouble),
    Field(L"EndAngle", &EA::endAngle, kDouble));

bool IsRationalSpline(const SplineValues& v) { return v.isRational; }

// "Weights" only for a rational spline; read whatever IsRational says.
const auto kSplineFields =
    std::make_tuple(Field(L"Order", &SplineValues::order, kInt),
                    Field(L"IsRational", &SplineValues::isRational, kBool),
                    Field(L"ControlPoints", &SplineValues::controlPoints, kDoubleList),
                    Field(L"KnotPoints", &SplineValues::knotPoints, kDoubleList),
                    Field(L"Weights", &SplineValues::weights, kDoubleList).When(&IsRationalSpline));

const auto kParabolaFields =
    std::make_tuple(Field(L"StartPoint", &ParabolaValues::startPoint, kPoint3D),
                    Field(L"EndPoint", &ParabolaValues::endPoint, kPoint3D),
                    Field(L"Focus", &ParabolaValues::focus, kPoint3D),
                    Field(L"Apex", &ParabolaValues::apex, kPoint3D));

}  // namespace

namespace {

// Storage of segments: handles, implementations and their number lists.
// A drawing holds many segments, made together when it is read and usually
// destroyed together: they are cut from blocks of 16 KiB rather than asked
// of the heap one by one. A block counts the bytes it has not yet got back
// and returns to the heap when the count reaches zero; each piece starts
// with its block's address. A piece given back is not cut again (lists are
// filled once, not grown). A thread cuts from a block of its own (no lock);
// any thread may give a piece back (one atomic subtraction). gcc's builds
// with the address sanitizer use the ordinary heap, so that it sees each
// object; the fuzzing build (clang) keeps the blocks, so that they are
// exercised.
class SegmentStorage {
public:
    static void* Allocate(std::size_t size) {
        if (!Pooled(size)) return ::operator new(size);
        const std::size_t bytes = PieceBytes(size);
        Cutter& cutter = ThreadCutter();
        if (static_cast<std::size_t>(cutter.end - cutter.cursor) < bytes) cutter.Renew();
        unsigned char* const piece = cutter.cursor;
        cutter.cursor += bytes;
        ::new (piece) Block*(cutter.block);
        return piece + kHeader;
    }

    static void Release(void* object, std::size_t size) noexcept {
        if (object == nullptr) return;
        if (!Pooled(size)) {
            ::operator delete(object);
            return;
        }
        unsigned char* const piece = static_cast<unsigned char*>(object) - kHeader;
        Block* block;
        std::memcpy(&block, piece, sizeof block);
        ReleaseRun& run = ThreadRun();
        if (run.depth == 0) {
            GiveBack(block, PieceBytes(size));
            return;
        }
        if (block != run.block) {
            run.Flush();
            run.block = block;
        }
        run.bytes += PieceBytes(size);
    }

    // While one is alive on a thread, the pieces the thread gives back are
    // summed per block and given back at once (when a piece of another
    // block comes, and when the outermost one ends): a collection destroys
    // its segments in the order they were cut, so most of them cost no
    // atomic operation. A block is never given back sooner than without.
    class ReleaseScope {
    public:
        ReleaseScope() { ++ThreadRun().depth; }
        ~ReleaseScope() {
            ReleaseRun& run = ThreadRun();
            if (--run.depth == 0) run.Flush();
        }
        ReleaseScope(const ReleaseScope&) = delete;
        ReleaseScope& operator=(const ReleaseScope&) = delete;
    };

    // Blocks alive in the process.
    static std::size_t Blocks() { return blocks_.load(std::memory_order_relaxed); }

private:
#if defined(__SANITIZE_ADDRESS__)
    static constexpr bool kPooled = false;
#else
    static constexpr bool kPooled = true;
#endif
    static constexpr std::size_t kBlockBytes = 16 * 1024;
    static constexpr std::size_t kHeader = sizeof(void*);

    struct Block {
        std::atomic<std::size_t> outstanding;  // bytes not yet given back, and the cutter's one
    };
    static constexpr std::size_t kFirstPiece = (sizeof(Block) + kHeader - 1) / kHeader * kHeader;

    static constexpr bool Pooled(std::size_t size) { return kPooled && size <= kBlockBytes / 8; }

    // A piece: the block's address, then the object, to a multiple of the
    // header's size (implementations need no more alignment than that).
    static constexpr std::size_t PieceBytes(std::size_t size) {
        return kHeader + (size + kHeader - 1) / kHeader * kHeader;
    }

    static void GiveBack(Block* block, std::size_t bytes) noexcept {
        if (block->outstanding.fetch_sub(bytes, std::memory_order_acq_rel) == bytes) {
            block->~Block();
            ::operator delete(block);
            blocks_.fetch_sub(1, std::memory_order_relaxed);
        }
    }

    struct ReleaseRun {
        Block* block = nullptr;
        std::size_t bytes = 0;
        int depth = 0;

        void Flush() noexcept {
            if (block != nullptr) GiveBack(block, bytes);
            block = nullptr;
            bytes = 0;
        }
    };

    static ReleaseRun& ThreadRun() {
        thread_local ReleaseRun run;
        return run;
    }

    // The block a thread cuts pieces from; what is left of it is given back
    // when the thread ends or the block is full.
    struct Cutter {
        Block* block = nullptr;
        unsigned char* cursor = nullptr;
        unsigned char* end = nullptr;

        void Renew() {
            Retire();
            void* memory = ::operator new(kBlockBytes);
            blocks_.fetch_add(1, std::memory_order_relaxed);
            // One byte more than the pieces can take: the cutter's own
            // share, given back when it retires the block, so a block whose
            // pieces fill it exactly and all come back stays alive while the
            // cutter still points at it.
            block = ::new (memory) Block{kBlockBytes - kFirstPiece + 1};
            cursor = static_cast<unsigned char*>(memory) + kFirstPiece;
            end = static_cast<unsigned char*>(memory) + kBlockBytes;
        }
        void Retire() noexcept {
            if (block != nullptr) GiveBack(block, static_cast<std::size_t>(end - cursor) + 1);
            block = nullptr;
            cursor = end = nullptr;
        }
        Cutter() = default;
        Cutter(const Cutter&) = delete;
        Cutter& operator=(const Cutter&) = delete;
        ~Cutter() { Retire(); }
    };

    static inline std::atomic<std::size_t> blocks_{0};

    static Cutter& ThreadCutter() {
        thread_local Cutter cutter;
        return cutter;
    }
};

}  // namespace

// Base of the segment implementations: read one node at a time by the
// collection; the segment element itself is made by the collection. Stored
// in SegmentStorage.
class KVSWX_SketchSegmentImpl : public NodeSerializable {
public:
    static void* operator new(std::size_t size) { return SegmentStorage::Allocate(size); }
    static void operator delete(void* object, std::size_t size) noexcept { SegmentStorage::Release(object, size); }
};

// One implementation per kind: its values and its field list.
template <class Values, const auto& Fields>
class SegmentImplOf : public KVSWX_SketchSegmentImpl {
public:
    Values v;
    static_assert(alignof(Values) <= alignof(void*), "pieces of SegmentStorage are aligned as pointers");

    void Write(XmlDocument& doc, XmlNode element) override { WriteFields(doc, element, v, Fields); }
    void ReadFromNode(XmlDocument&, XmlNode element) override {
        ReadFieldChildren(v, Fields, element);
    }
};

class KVSWX_LineImpl final : public SegmentImplOf<LineValues, kLineFields> {};
class KVSWX_CircleImpl final : public SegmentImplOf<CircleValues, kCircleFields> {};
class KVSWX_ArcImpl final : public SegmentImplOf<ArcValues, kArcFields> {};
class KVSWX_EllipseImpl final : public SegmentImplOf<EllipseValues, kEllipseFields> {};
class KVSWX_EllipticalArcImpl final
    : public SegmentImplOf<EllipticalArcValues, kEllipticalArcFields> {};
class KVSWX_SplineImpl final : public SegmentImplOf<SplineValues, kSplineFields> {};
class KVSWX_ParabolaImpl final : public SegmentImplOf<ParabolaValues, kParabolaFields> {};

KVSWX_SketchSegment::~KVSWX_SketchSegment() = default;
void* KVSWX_SketchSegment::operator new(std::size_t size) { return SegmentStorage::Allocate(size); }
void KVSWX_SketchSegment::operator delete(void* object, std::size_t size) noexcept {
    SegmentStorage::Release(object, size);
}
void* detail::AllocateSegmentStorage(std::size_t bytes) { return SegmentStorage::Allocate(bytes); }
void detail::ReleaseSegmentStorage(void* storage, std::size_t bytes) noexcept {
    SegmentStorage::Release(storage, bytes);
}
std::size_t detail::SegmentStorageBlocks() { return SegmentStorage::Blocks(); }

// ---- handles ---------------------------------------------------------------

#define KVSWX_SEGMENT_HANDLE(Name, TypeCode)                                           \
    KVSWX_##Name::KVSWX_##Name()                                                       \
        : KVSWX_SketchSegment(TypeCode), d_(std::make_unique<KVSWX_##Name##Impl>()) {} \
    KVSWX_##Name::~KVSWX_##Name() = default;                                           \
    I_Serializable* KVSWX_##Name::GetImpl() const { return d_.get(); }                 \
    const Name##Values& KVSWX_##Name::Values() const { return d_->v; }

KVSWX_SEGMENT_HANDLE(Line, kSketchSegmentLine)
KVSWX_SEGMENT_HANDLE(Circle, kSketchSegmentArc)
KVSWX_SEGMENT_HANDLE(Arc, kSketchSegmentArc)
KVSWX_SEGMENT_HANDLE(Ellipse, kSketchSegmentEllipse)
KVSWX_SEGMENT_HANDLE(EllipticalArc, kSketchSegmentEllipse)
KVSWX_SEGMENT_HANDLE(Spline, kSketchSegmentSpline)
KVSWX_SEGMENT_HANDLE(Parabola, kSketchSegmentParabola)

#undef KVSWX_SEGMENT_HANDLE

void KVSWX_Line::SetStartPoint(const Point3& v) { d_->v.startPoint = v; }
void KVSWX_Line::SetEndPoint(const Point3& v) { d_->v.endPoint = v; }

void KVSWX_Circle::SetCenterPoint(const Point3& v) { d_->v.centerPoint = v; }
void KVSWX_Circle::SetRadius(double v) { d_->v.radius = v; }

void KVSWX_Arc::SetStartPoint(const Point2& v) { d_->v.startPoint = v; }
void KVSWX_Arc::SetAlongPoint(const Point2& v) { d_->v.alongPoint = v; }
void KVSWX_Arc::SetEndPoint(const Point2& v) { d_->v.endPoint = v; }

void KVSWX_Ellipse::SetParams(std::span<const double> v) { d_->v.params.assign(v.begin(), v.end()); }

void KVSWX_EllipticalArc::SetCenterPoint(const Point3& v) { d_->v.centerPoint = v; }
void KVSWX_EllipticalArc::SetMajorPoint(const Point3& v) { d_->v.majorPoint = v; }
void KVSWX_EllipticalArc::SetRatio(double v) { d_->v.ratio = v; }
void KVSWX_EllipticalArc::SetIsClockwise(bool v) { d_->v.isClockwise = v; }
void KVSWX_EllipticalArc::SetStartAngle(double v) { d_->v.startAngle = v; }
void KVSWX_EllipticalArc::SetEndAngle(double v) { d_->v.endAngle = v; }

void KVSWX_Spline::SetOrder(std::int32_t v) { d_->v.order = v; }
void KVSWX_Spline::SetIsRational(bool v) { d_->v.isRational = v; }
void KVSWX_Spline::SetControlPoints(std::span<const double> v) {
    d_->v.controlPoints.assign(v.begin(), v.end());
}
void KVSWX_Spline::SetKnotPoints(std::span<const double> v) { d_->v.knotPoints.assign(v.begin(), v.end()); }
void KVSWX_Spline::SetWeights(std::span<const double> v) { d_->v.weights.assign(v.begin(), v.end()); }

void KVSWX_Parabola::SetStartPoint(const Point3& v) { d_->v.startPoint = v; }
void KVSWX_Parabola::SetEndPoint(const Point3& v) { d_->v.endPoint = v; }
void KVSWX_Parabola::SetFocus(const Point3& v) { d_->v.focus = v; }
void KVSWX_Parabola::SetApex(const Point3& v) { d_->v.apex = v; }

// ---- collection ------------------------------------------------------------

namespace {

// Element name by type and, where two kinds share a type, by class. Empty
// for a type without a record.
std::wstring_view ElementNameOf(const KVSWX_SketchSegment& segment) {
    switch (segment.GetType()) {
        case kSketchSegmentLine:
            return L"Line";
        case kSketchSegmentArc:
            return dynamic_cast<const KVSWX_Circle*>(&segment) != nullptr ? L"Circle" : L"Arc";
        case kSketchSegmentEllipse:
            return dynamic_cast<const KVSWX_Ellipse*>(&segment) != nullptr ? L"Ellipse"
                                                                           : L"EllipticalArc";
        case kSketchSegmentSpline:
            return L"Spline";
        case kSketchSegmentParabola:
            return L"Parabola";
        default:
            return {};
    }
}

template <class T>
std::unique_ptr<KVSWX_SketchSegment> MakeSegment() {
    return std::make_unique<T>();
}

// A new handle for a segment element name (UTF-8 and zero-terminated, as
// the tree holds it); null for any other name.
std::unique_ptr<KVSWX_SketchSegment> NewSegmentNamed(const char* name) {
    struct Kind {
        std::string_view name;
        std::unique_ptr<KVSWX_SketchSegment> (*make)();
    };
    static constexpr Kind kKinds[] = {
        {"Line", &MakeSegment<KVSWX_Line>},
        {"Circle", &MakeSegment<KVSWX_Circle>},
        {"Arc", &MakeSegment<KVSWX_Arc>},
        {"Ellipse", &MakeSegment<KVSWX_Ellipse>},
        {"EllipticalArc", &MakeSegment<KVSWX_EllipticalArc>},
        {"Spline", &MakeSegment<KVSWX_Spline>},
        {"Parabola", &MakeSegment<KVSWX_Parabola>},
    };
    // The first letter and the length tell the kinds apart, then one
    // comparison confirms the name.
    const std::string_view given(name);
    for (const Kind& kind : kKinds) {
        if (given.size() == kind.name.size() && given[0] == kind.name[0] && given == kind.name) return kind.make();
    }
    return nullptr;
}

}  // namespace

class KVSWX_SketchSegmentsCollectionImpl final : public NodeSerializable {
public:
    SketchSegmentList segments;

    ~KVSWX_SketchSegmentsCollectionImpl() override {
        SegmentStorage::ReleaseScope scope;
        segments.clear();
    }

    void Write(XmlDocument& doc, XmlNode parent) override {
        XmlNode list = CreateChildElement(doc, parent, L"Segments");
        for (const auto& segment : segments) {
            if (!segment) continue;
            AttributeMap attributes;
            attributes.emplace(SketchSegmentTypeNames().Key(),
                               SketchSegmentTypeNames().NameOf(segment->GetType()));
            attributes.emplace(L"isConstructionGeometry",
                               segment->IsConstructionGeometry() ? L"true" : L"false");
            XmlNode element =
                CreateChildElement(doc, list, ElementNameOf(*segment), {}, attributes);
            segment->GetImpl()->Write(doc, element);
            CloseElement(doc, element);
        }
        CloseElement(doc, list);
    }

    void ReadFromNode(XmlDocument& doc, XmlNode list) override {
        // One walk over the children: each segment's node is next to the
        // last one read (the tree lies in document order), where a walk of
        // its own to count them first would reach each from afar.
        for (XmlNode child = list.FirstChild(); child; child = child.NextSibling()) {
            if (!child.IsElement()) continue;
            std::unique_ptr<KVSWX_SketchSegment> segment = NewSegmentNamed(child.Raw().name());
            if (!segment) continue;
            segment->GetImpl()->ReadFromNode(doc, child);
            segment->SetConstructionGeometry(child.AttributeUtf8("isConstructionGeometry") == "true");
            segments.push_back(std::move(segment));
        }
    }
};

KVSWX_SketchSegmentsCollection::KVSWX_SketchSegmentsCollection()
    : d_(std::make_unique<KVSWX_SketchSegmentsCollectionImpl>()) {}
KVSWX_SketchSegmentsCollection::~KVSWX_SketchSegmentsCollection() = default;
I_Serializable* KVSWX_SketchSegmentsCollection::GetImpl() const { return d_.get(); }
const SketchSegmentList& KVSWX_SketchSegmentsCollection::GetSegments() const {
    return d_->segments;
}
std::size_t KVSWX_SketchSegmentsCollection::GetCount() const { return d_->segments.size(); }
bool KVSWX_SketchSegmentsCollection::IsEmpty() const { return d_->segments.empty(); }

KVSWX_SketchSegment* KVSWX_SketchSegmentsCollection::Append(
    std::unique_ptr<KVSWX_SketchSegment> segment) {
    if (!segment) return nullptr;
    d_->segments.push_back(std::move(segment));
    return d_->segments.back().get();
}

namespace {
template <class Handle>
Handle* AddTo(SketchSegmentList& segments) {
    auto segment = std::make_unique<Handle>();
    Handle* raw = segment.get();
    segments.push_back(std::move(segment));
    return raw;
}
}  // namespace

KVSWX_Line* KVSWX_SketchSegmentsCollection::AddLine() { return AddTo<KVSWX_Line>(d_->segments); }
KVSWX_Circle* KVSWX_SketchSegmentsCollection::AddCircle() {
    return AddTo<KVSWX_Circle>(d_->segments);
}
KVSWX_Arc* KVSWX_SketchSegmentsCollection::AddArc() { return AddTo<KVSWX_Arc>(d_->segments); }
KVSWX_Ellipse* KVSWX_SketchSegmentsCollection::AddEllipse() {
    return AddTo<KVSWX_Ellipse>(d_->segments);
}
KVSWX_EllipticalArc* KVSWX_SketchSegmentsCollection::AddEllipticalArc() {
    return AddTo<KVSWX_EllipticalArc>(d_->segments);
}
KVSWX_Spline* KVSWX_SketchSegmentsCollection::AddSpline() {
    return AddTo<KVSWX_Spline>(d_->segments);
}
KVSWX_Parabola* KVSWX_SketchSegmentsCollection::AddParabola() {
    return AddTo<KVSWX_Parabola>(d_->segments);
}

}  // namespace kvswx
