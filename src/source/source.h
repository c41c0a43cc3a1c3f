// The source interfaces: the library's only view of the drawing application.
//
// Extraction and the run driver talk to the application exclusively through
// the abstract classes below. A provider implements them: on our machines the
// recorded-drawing provider (src/recorded), elsewhere a binding to a live
// application. Nothing here depends on extraction, the model or a provider.
//
// Conventions shared by every interface:
// - Source objects are reference counted (`Ref<T>`). An empty Ref is "none":
//   the application returned no object, or a type query failed. The identity
//   of a source object is the identity of its pointee; a provider hands out
//   the same object whenever the application would return the same one (the
//   crop profile compares segments by identity across two reads).
// - Booleans keep the raw 16-bit value the application returns (`VBool`);
//   some rules treat only 1 as true, others any non-zero value.
// - A string the application does not return is `std::nullopt`, distinct
//   from the empty string.
// - Packed numbers arrive as arrays that carry their lower bound; consumers
//   go through `CheckedValues`, which rejects a lower bound other than 0.
//   Arrays may be shorter than their documented layout: never read past
//   their end.
// - Every operation may throw `ComError` (a failed call, a disconnected
//   application). Setters and preference calls return whatever the
//   application returns; callers are free to ignore it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/com.h"

namespace kvswx {

template <class T>
using Ref = std::shared_ptr<T>;

// A 16-bit automation boolean, kept raw.
using VBool = std::int16_t;
inline constexpr VBool kVariantTrue = -1;
inline constexpr VBool kVariantFalse = 0;

// A string result; nullopt when the application returned no string.
using SourceString = std::optional<std::wstring>;

// A one-dimensional array as the application returns it.
template <class T>
struct SourceArray {
    std::vector<T> values;
    std::int32_t lowerBound = 0;
};

using SourceDoubleArray = SourceArray<double>;
using SourceShortArray = SourceArray<std::int16_t>;
using SourceByteArray = SourceArray<std::uint8_t>;

// The values of an array whose lower bound is 0; any other lower bound is
// rejected with ComError(kE_INVALIDARG).
template <class T>
const std::vector<T>& CheckedValues(const SourceArray<T>& array) {
    if (array.lowerBound != 0) {
        throw ComError(kE_INVALIDARG,
                       "array lower bound is " + std::to_string(array.lowerBound) + ", not 0");
    }
    return array.values;
}

// An array the provider hands out without copying it: its values are
// shared and never change. For arrays asked for again and again (the arc
// data of a sketch, once per arc), where a copy per answer would make the
// work grow with the square of the array.
template <class T>
struct SharedSourceArray {
    std::shared_ptr<const std::vector<T>> values;  // null: no values
    std::int32_t lowerBound = 0;

    SharedSourceArray() = default;
    explicit SharedSourceArray(SourceArray<T> array)
        : values(std::make_shared<const std::vector<T>>(std::move(array.values))),
          lowerBound(array.lowerBound) {}
};

using SharedSourceDoubleArray = SharedSourceArray<double>;

// As above, for a shared array.
template <class T>
const std::vector<T>& CheckedValues(const SharedSourceArray<T>& array) {
    static const std::vector<T> kNone;
    if (array.lowerBound != 0) {
        throw ComError(kE_INVALIDARG,
                       "array lower bound is " + std::to_string(array.lowerBound) + ", not 0");
    }
    return array.values ? *array.values : kNone;
}

// The ProgID under which hosts register the drawing application.
inline constexpr const wchar_t* kSourceApplicationProgId = L"SldWorks.Application";

class SourceApplication;
class SourceDocument;
class SourceDocumentCommands;
class SourceDrawing;
class SourceLayerManager;
class SourceLayer;
class SourceView;
class SourceSectionLine;
class SourceDetailCircle;
class SourceProjectionArrow;
class SourceBreakLine;
class SourceBrokenOutSection;
class SourceNote;
class SourceAnnotation;
class SourceCenterMark;
class SourceFaceHatch;
class SourceSketchHatch;
class SourceDrawingComponent;
class SourceComponent;
class SourceBody;
class SourceNamedEntity;
class SourceSketch;
class SourcePlacement;
class SourceBlockInstance;
class SourceBlockDefinition;
class SourceSketchSegment;
class SourceLineSegment;
class SourceArcSegment;
class SourceEllipseSegment;
class SourceParabolaSegment;
class SourceSplineSegment;
class SourceCurve;
class SourceBSplineData;
class SourcePoint;
class SourceMathUtility;
class SourceMathPoint;
class SourceMathVector;
class SourceTransform;
class SourceModelDocument;
class SourceTextFormat;
class SourceCallout;
class SourceFeatureList;
class SourceFeature;
class SourceSpecificFeature;
class SourceSketchPicture;
class SourcePictureBox;
class SourceOleObject;
class SourceFileSystem;

// ---------------------------------------------------------------------------
// Application and documents

class SourceApplication {
public:
    virtual ~SourceApplication() = default;

    // Dotted revision number, e.g. "23.1.0".
    virtual SourceString RevisionNumber() = 0;
    // The shared math utility object.
    virtual Ref<SourceMathUtility> MathUtility() = 0;
    // Application preferences; the previous values are not restored.
    virtual VBool SetIntegerPreference(std::int32_t code, std::int32_t value) = 0;
    virtual void SetTogglePreference(std::int32_t code, std::int32_t on) = 0;
    // Opens (or returns the already open) model document; none on failure.
    virtual Ref<SourceModelDocument> OpenModelDocument(const std::wstring& path,
                                                       std::int32_t documentKind,
                                                       std::int32_t options,
                                                       const std::wstring& configuration) = 0;
    // The files of the machine the application runs on, as the library
    // reads them (the files of linked OLE objects). None: that machine is
    // this one, and the library reads its own file system.
    virtual Ref<SourceFileSystem> FileSystem() = 0;
};

class SourceDocument {
public:
    virtual ~SourceDocument() = default;

    virtual Ref<SourceDocumentCommands> Commands() = 0;
    // The drawing interface of the document; none when it is not a drawing.
    virtual Ref<SourceDrawing> QueryDrawing() = 0;
    virtual SourceString PathName() = 0;
    virtual Ref<SourceLayerManager> LayerManager() = 0;
    virtual Ref<SourceFeatureList> FeatureList() = 0;
    // all: -1 clears the whole selection.
    virtual VBool ClearSelection(std::int32_t all) = 0;
    // Called once at the end of a run.
    virtual void Finish() = 0;

    // Document preferences: identifier and option number.
    virtual std::int32_t ReadDocumentInteger(std::int32_t id, std::int32_t option) = 0;
    virtual VBool ReadDocumentToggle(std::int32_t id, std::int32_t option) = 0;
    virtual double ReadDocumentDouble(std::int32_t id, std::int32_t option) = 0;
    virtual SourceString ReadDocumentString(std::int32_t id, std::int32_t option) = 0;
    virtual Ref<SourceTextFormat> ReadDocumentTextFormat(std::int32_t id, std::int32_t option) = 0;
};

// Selection and numbered commands of an open document.
class SourceDocumentCommands {
public:
    virtual ~SourceDocumentCommands() = default;

    // Selects the entity `name` of the entity type `type` (e.g. "DRAWINGVIEW").
    virtual VBool SelectById(const std::wstring& name, const std::wstring& type, double x, double y,
                             double z, VBool append, std::int32_t mark,
                             const Ref<SourceCallout>& callout, std::int32_t options) = 0;
    // Runs a numbered command on the current selection; title may be none.
    virtual VBool RunCommand(std::int32_t command, const SourceString& title) = 0;
    // OLE objects of the current sheet (which = 1); entries may be none.
    virtual std::vector<Ref<SourceOleObject>> OleObjects(std::int32_t which) = 0;
};

class SourceDrawing {
public:
    virtual ~SourceDrawing() = default;

    // Sheet names in sheet order; nullopt when the application returns none.
    virtual std::optional<std::vector<std::wstring>> SheetNames() = 0;
    virtual VBool ActivateSheet(const std::wstring& name) = 0;
    // The active sheet's first view, which is the sheet itself; its
    // NextView() is the first drawing view.
    virtual Ref<SourceView> FirstView() = 0;
    virtual VBool CreateLayer(const std::wstring& name, const std::wstring& description,
                              std::int32_t color, std::int32_t style, std::int32_t width,
                              std::int32_t on) = 0;
    virtual VBool ActivateView(const std::wstring& name) = 0;
    // Moves the selected entities to the layer.
    virtual VBool MoveSelectionToLayer(const std::wstring& layer, std::int32_t allViews) = 0;
};

class SourceLayerManager {
public:
    virtual ~SourceLayerManager() = default;
    // None when there is no layer of that name.
    virtual Ref<SourceLayer> GetLayer(const std::wstring& name) = 0;
};

class SourceLayer {
public:
    virtual ~SourceLayer() = default;
    virtual SourceString Name() = 0;
    virtual void SetName(const std::wstring& name) = 0;
};

// A document opened by path, or the model a view references.
class SourceModelDocument {
public:
    virtual ~SourceModelDocument() = default;
    virtual SourceString PathName() = 0;
    virtual SourceString ReadStringPreference(std::int32_t id) = 0;
    virtual std::int32_t ReadIntegerPreference(std::int32_t id) = 0;
    virtual double ReadDoublePreference(std::int32_t id) = 0;
};

// ---------------------------------------------------------------------------
// Views

struct SourceBrokenOutSectionEntry {
    SourceString name;
    Ref<SourceSpecificFeature> feature;  // may be none
};

class SourceView {
public:
    virtual ~SourceView() = default;

    // Walk and identity.
    virtual Ref<SourceView> NextView() = 0;
    virtual SourceString Name() = 0;
    virtual std::int32_t Type() = 0;
    virtual Ref<SourceView> ParentView() = 0;

    // Classification.
    virtual Ref<SourceModelDocument> ReferencedModelDocument() = 0;
    virtual std::int32_t HiddenEdgeCount() = 0;  // edges hidden interactively by the user
    virtual VBool ExplodedState() = 0;
    virtual VBool Visible() = 0;
    virtual void SetVisible(VBool visible, std::int32_t showDimensions) = 0;

    // Scalar properties.
    virtual SourceDoubleArray Position() = 0;
    virtual SourceString ReferencedConfiguration() = 0;
    virtual SourceString ReferencedDocumentPath() = 0;
    virtual SourceDoubleArray Scale() = 0;
    virtual std::int32_t Alignment() = 0;
    virtual std::int32_t TangentEdgeDisplay() = 0;
    virtual std::int32_t DisplayMode() = 0;
    virtual VBool HiddenEdgesInShadedMode() = 0;
    virtual VBool Cropped() = 0;
    virtual VBool Broken() = 0;
    virtual double Angle() = 0;
    // Model-to-view transform; none when the view has none.
    virtual Ref<SourceTransform> Transform() = 0;

    // Sketches.
    virtual Ref<SourceSketch> Sketch() = 0;
    virtual Ref<SourceSketch> CenterLineSketch() = 0;

    // Section lines: for a section view, the line it was cut by; for any
    // view, the lines drawn in it, and their packed data.
    virtual Ref<SourceSectionLine> SectionLine() = 0;
    virtual std::vector<Ref<SourceSectionLine>> SectionLines() = 0;
    virtual SourceDoubleArray SectionLineData() = 0;
    // Detail circles, likewise.
    virtual Ref<SourceDetailCircle> DetailCircle() = 0;
    virtual std::vector<Ref<SourceDetailCircle>> DetailCircles() = 0;
    virtual SourceDoubleArray DetailCircleData() = 0;
    virtual Ref<SourceProjectionArrow> ProjectionArrow() = 0;

    // Break lines. BreakLineCount is the first output of the count query.
    virtual std::int32_t BreakLineCount() = 0;
    virtual std::vector<Ref<SourceBreakLine>> BreakLines() = 0;
    virtual SourceDoubleArray BreakLineData() = 0;
    virtual double BreakLineGap() = 0;

    virtual std::vector<SourceBrokenOutSectionEntry> BrokenOutSections() = 0;
    virtual std::vector<Ref<SourceNote>> Notes() = 0;

    // Components and bodies.
    virtual Ref<SourceDrawingComponent> RootDrawingComponent() = 0;
    virtual std::vector<Ref<SourceComponent>> HiddenComponents() = 0;
    virtual std::int32_t BodyNamingValue() = 0;
    // Bodies of a component: the query of releases before 2014 and the one
    // from 2014 on.
    virtual std::vector<Ref<SourceBody>> ComponentBodiesLegacy(
        const Ref<SourceComponent>& component, std::int32_t kind) = 0;
    virtual std::vector<Ref<SourceBody>> ComponentBodies(const Ref<SourceComponent>& component,
                                                         std::int32_t kind) = 0;

    virtual Ref<SourceCenterMark> FirstCenterMark() = 0;
    // Entries may be none.
    virtual std::vector<Ref<SourceFaceHatch>> FaceHatches() = 0;
};

// ---------------------------------------------------------------------------
// Annotations of a view

class SourceSectionLine {
public:
    virtual ~SourceSectionLine() = default;
    virtual SourceString Name() = 0;
    virtual SourceString Label() = 0;
    virtual Ref<SourceView> OwnerView() = 0;
    virtual void SetLayer(const std::wstring& layer) = 0;
    virtual std::vector<Ref<SourceComponent>> ExcludedComponents() = 0;
    virtual VBool ReversedCutDirection() = 0;
    virtual VBool Aligned() = 0;
    virtual VBool DisplayOnlySurfaceCut() = 0;
    virtual VBool Partial() = 0;
    virtual VBool AutoHatch() = 0;
    virtual double Depth() = 0;
    virtual Ref<SourceTextFormat> TextFormat() = 0;
};

class SourceDetailCircle {
public:
    virtual ~SourceDetailCircle() = default;
    virtual SourceString Name() = 0;
    virtual SourceString Label() = 0;
    virtual Ref<SourceView> OwnerView() = 0;
    virtual void SetLayer(const std::wstring& layer) = 0;
    virtual std::int32_t DisplayKind() = 0;
    virtual std::int32_t CircleStyle() = 0;
    virtual VBool FullOutline() = 0;
    virtual Ref<SourceTextFormat> TextFormat() = 0;
    virtual std::vector<Ref<SourceSketchSegment>> ProfileSegments() = 0;
};

class SourceProjectionArrow {
public:
    virtual ~SourceProjectionArrow() = default;
    virtual SourceString Name() = 0;
    virtual SourceString Label() = 0;
    virtual SourceDoubleArray Coordinates() = 0;
    virtual Ref<SourceTextFormat> TextFormat() = 0;
};

class SourceBreakLine {
public:
    virtual ~SourceBreakLine() = default;
    virtual SourceString Name() = 0;
    virtual void SetLayer(const std::wstring& layer) = 0;
    virtual std::int32_t Orientation() = 0;
    virtual double Position(std::int32_t index) = 0;  // index 0 or 1
    virtual std::int32_t Style() = 0;
};

// The broken-out section feature behind a view's broken-out section entry.
class SourceBrokenOutSection {
public:
    virtual ~SourceBrokenOutSection() = default;
    virtual SourceString Name() = 0;
    virtual double Depth() = 0;
    // Its segments are readable while editing is on.
    virtual void SetSketchEditing(VBool editing) = 0;
    virtual std::vector<Ref<SourceSketchSegment>> SketchSegments() = 0;
};

class SourceAnnotation {
public:
    virtual ~SourceAnnotation() = default;
    virtual SourceString Layer() = 0;
    virtual void SetLayer(const std::wstring& layer) = 0;
    virtual SourceDoubleArray Position() = 0;
};

class SourceNote {
public:
    virtual ~SourceNote() = default;
    virtual SourceString Name() = 0;
    virtual VBool BalloonState() = 0;
    virtual VBool SecondBalloonState() = 0;
    virtual SourceDoubleArray BalloonData() = 0;
    virtual std::int32_t TextLineCount() = 0;
    virtual SourceString TextLine(std::int32_t index) = 0;  // 1-based
    virtual Ref<SourceAnnotation> Annotation() = 0;
    virtual SourceString Prompt() = 0;
    virtual SourceString LinkedText() = 0;
    virtual SourceDoubleArray TextPosition() = 0;
    virtual SourceDoubleArray LeaderPoints() = 0;
    virtual SourceDoubleArray LeaderData() = 0;
    virtual Ref<SourceTextFormat> TextFormat() = 0;
};

class SourceCenterMark {
public:
    virtual ~SourceCenterMark() = default;
    virtual SourceString Name() = 0;
    virtual VBool UseDocumentDefaults() = 0;
    virtual VBool ExtendedLines() = 0;
    virtual VBool CenterlineFont() = 0;
    virtual double MarkSize() = 0;
    virtual double Angle() = 0;
    virtual std::int32_t Style() = 0;
    virtual std::int32_t GroupCount() = 0;
    virtual Ref<SourceAnnotation> Annotation() = 0;
    virtual Ref<SourceCenterMark> Next() = 0;
};

class SourceFaceHatch {
public:
    virtual ~SourceFaceHatch() = default;
    virtual SourceString Name() = 0;
    virtual double Angle() = 0;
    virtual std::int32_t Color() = 0;
    virtual SourceString Definition() = 0;
    virtual SourceString Pattern() = 0;
    virtual std::int32_t PatternId() = 0;
    virtual double Scale() = 0;
    virtual VBool SolidFill() = 0;
    virtual VBool UseMaterialHatch() = 0;
};

class SourceSketchHatch {
public:
    virtual ~SourceSketchHatch() = default;
    virtual SourceString Name() = 0;
    virtual double Angle() = 0;
    virtual std::int32_t Color() = 0;
    virtual SourceString Pattern() = 0;
    virtual std::int32_t PatternId() = 0;
    virtual double Scale() = 0;
    virtual VBool SolidFill() = 0;
};

// A node of a view's component tree.
class SourceDrawingComponent {
public:
    virtual ~SourceDrawingComponent() = default;
    virtual SourceString Name() = 0;
    virtual std::vector<Ref<SourceDrawingComponent>> Children() = 0;
    // The model component behind the node; none for some nodes.
    virtual Ref<SourceComponent> Component() = 0;
};

class SourceComponent {
public:
    virtual ~SourceComponent() = default;
    virtual SourceString Name() = 0;
    virtual SourceString ReferencedConfiguration() = 0;
    virtual std::int32_t Visibility() = 0;  // non-zero = visible
};

class SourceNamedEntity {
public:
    virtual ~SourceNamedEntity() = default;
    virtual SourceString Name() = 0;
};

class SourceBody {
public:
    virtual ~SourceBody() = default;
    // The object that names the body; none for an unnamed body.
    virtual Ref<SourceNamedEntity> NamingObject() = 0;
};

// ---------------------------------------------------------------------------
// Sketches and geometry

class SourceSketch {
public:
    virtual ~SourceSketch() = default;
    // nullopt when the application returns no list at all.
    virtual std::optional<std::vector<Ref<SourceSketchSegment>>> Segments() = 0;
    virtual Ref<SourcePlacement> Placement() = 0;
    // 16 values per arc of the sketch: color, line type, line style, width,
    // layer id, layer override, start xyz, end xyz, center xyz, direction
    // (-1 clockwise). Shared: extraction asks for it once per arc.
    virtual SharedSourceDoubleArray ArcData() = 0;
    virtual std::vector<Ref<SourceBlockInstance>> BlockInstances() = 0;
    virtual std::vector<Ref<SourceSketchHatch>> SketchHatches() = 0;
};

// Where a sketch's (or a block instance's) geometry lies.
class SourcePlacement {
public:
    virtual ~SourcePlacement() = default;
    // Carries the sketch's coordinates into the coordinates of the records.
    virtual Ref<SourceTransform> SegmentTransform() = 0;
    // Combined placements map through `other` first, then through this one.
    virtual Ref<SourcePlacement> Combine(const Ref<SourcePlacement>& other) = 0;
    virtual Ref<SourcePlacement> Combine(const Ref<SourceTransform>& other) = 0;
};

class SourceBlockInstance {
public:
    virtual ~SourceBlockInstance() = default;
    virtual SourceString Name() = 0;
    virtual Ref<SourcePlacement> Placement() = 0;
    virtual Ref<SourceBlockDefinition> Definition() = 0;
};

class SourceBlockDefinition {
public:
    virtual ~SourceBlockDefinition() = default;
    virtual SourceString Name() = 0;
    virtual Ref<SourceSketch> Sketch() = 0;
};

// Segment kinds returned by SourceSketchSegment::Kind.
inline constexpr std::int32_t kSegmentLine = 0;
inline constexpr std::int32_t kSegmentArc = 1;
inline constexpr std::int32_t kSegmentEllipse = 2;
inline constexpr std::int32_t kSegmentSpline = 3;
inline constexpr std::int32_t kSegmentText = 4;
inline constexpr std::int32_t kSegmentParabola = 5;

class SourceSketchSegment {
public:
    virtual ~SourceSketchSegment() = default;
    virtual std::int32_t Kind() = 0;
    virtual VBool Construction() = 0;
    virtual Ref<SourceSketch> Sketch() = 0;
    // The underlying curve; none when the query fails.
    virtual Ref<SourceCurve> Curve() = 0;
    virtual Ref<SourceCurve> SplineCurve() = 0;
    virtual double Length() = 0;
    // Typed views of the same segment; none when the segment is of another
    // kind. Repeated queries return the same object.
    virtual Ref<SourceLineSegment> QueryLine() = 0;
    virtual Ref<SourceArcSegment> QueryArc() = 0;
    virtual Ref<SourceEllipseSegment> QueryEllipse() = 0;
    virtual Ref<SourceSplineSegment> QuerySpline() = 0;
    virtual Ref<SourceParabolaSegment> QueryParabola() = 0;
};

// The typed segment interfaces lead back to their segment with AsSegment().
class SourceLineSegment {
public:
    virtual ~SourceLineSegment() = default;
    virtual Ref<SourceSketchSegment> AsSegment() = 0;
    virtual Ref<SourcePoint> StartPoint() = 0;
    virtual Ref<SourcePoint> EndPoint() = 0;
};

class SourceArcSegment {
public:
    virtual ~SourceArcSegment() = default;
    virtual Ref<SourceSketchSegment> AsSegment() = 0;
    virtual Ref<SourcePoint> StartPoint() = 0;
    virtual Ref<SourcePoint> EndPoint() = 0;
    virtual Ref<SourcePoint> CenterPoint() = 0;
    virtual std::int32_t Direction() = 0;   // -1 clockwise
    virtual std::int32_t FullCircle() = 0;  // 1 full circle
};

class SourceEllipseSegment {
public:
    virtual ~SourceEllipseSegment() = default;
    virtual Ref<SourceSketchSegment> AsSegment() = 0;
    virtual Ref<SourcePoint> CenterPoint() = 0;
    virtual Ref<SourcePoint> MajorPoint() = 0;
    virtual Ref<SourcePoint> MinorPoint() = 0;
    virtual Ref<SourcePoint> StartPoint() = 0;
    virtual Ref<SourcePoint> EndPoint() = 0;
    virtual std::int32_t Direction() = 0;  // -1 clockwise
};

class SourceParabolaSegment {
public:
    virtual ~SourceParabolaSegment() = default;
    virtual Ref<SourceSketchSegment> AsSegment() = 0;
    virtual Ref<SourcePoint> StartPoint() = 0;
    virtual Ref<SourcePoint> EndPoint() = 0;
    virtual Ref<SourcePoint> FocalPoint() = 0;
    virtual Ref<SourcePoint> ApexPoint() = 0;
};

class SourceSplineSegment {
public:
    virtual ~SourceSplineSegment() = default;
    virtual Ref<SourceSketchSegment> AsSegment() = 0;
};

class SourcePoint {
public:
    virtual ~SourcePoint() = default;
    virtual double X() = 0;
    virtual double Y() = 0;
    virtual double Z() = 0;
};

// The five outputs of a curve's parameter query.
struct SourceCurveParameters {
    double start = 0.0;
    double end = 0.0;
    VBool closed = 0;
    VBool periodic = 0;
    VBool status = 0;
};

class SourceCurve {
public:
    virtual ~SourceCurve() = default;
    virtual SourceDoubleArray LineData() = 0;     // root xyz, direction xyz
    virtual SourceDoubleArray CircleData() = 0;   // center xyz, axis xyz, radius
    virtual SourceDoubleArray EllipseData() = 0;  // center, major r, major dir, minor r, minor dir
    virtual SourceCurveParameters Parameters() = 0;
    virtual Ref<SourceBSplineData> BSplineData(std::int32_t wantCubic, std::int32_t wantNonRational,
                                               VBool forceNonPeriodic, VBool closed) = 0;
};

class SourceBSplineData {
public:
    virtual ~SourceBSplineData() = default;
    virtual std::int32_t Order() = 0;
    virtual std::int32_t Dimension() = 0;  // 4 = rational (x, y, z, w)
    virtual SourceDoubleArray ControlPoints() = 0;
    virtual SourceDoubleArray Knots() = 0;
};

// ---------------------------------------------------------------------------
// Math objects
//
// A transform holds 16 numbers: [0-8] a 3x3 rotation whose rows are the x,
// y and z axes, [9-11] the translation, [12] the scale, [13-15] unused. A
// point maps as p' = s*(p*R) + t (row vector), a vector as v' = s*(v*R).

class SourceMathUtility {
public:
    virtual ~SourceMathUtility() = default;
    virtual Ref<SourceMathPoint> CreatePoint(double x, double y, double z) = 0;
    virtual Ref<SourceMathVector> CreateVector(double x, double y, double z) = 0;
    virtual Ref<SourceTransform> CreateTransform(const SourceDoubleArray& data) = 0;
};

class SourceMathPoint {
public:
    virtual ~SourceMathPoint() = default;
    virtual Ref<SourceMathPoint> MultiplyTransform(const Ref<SourceTransform>& transform) = 0;
    virtual SourceDoubleArray ArrayData() = 0;  // x, y, z
};

class SourceMathVector {
public:
    virtual ~SourceMathVector() = default;
    virtual Ref<SourceMathVector> MultiplyTransform(const Ref<SourceTransform>& transform) = 0;
    virtual Ref<SourceMathVector> Normalise() = 0;
    virtual SourceDoubleArray ArrayData() = 0;  // x, y, z
};

struct SourceTransformComponents {
    Ref<SourceMathVector> xAxis;
    Ref<SourceMathVector> yAxis;
    Ref<SourceMathVector> zAxis;
    Ref<SourceMathVector> translation;
    double scale = 0.0;
};

class SourceTransform {
public:
    virtual ~SourceTransform() = default;
    virtual SourceDoubleArray ArrayData() = 0;  // the 16 numbers
    virtual SourceTransformComponents Components() = 0;
    virtual Ref<SourceTransform> Inverse() = 0;
    // Maps through this transform first, then through `other`.
    virtual Ref<SourceTransform> Multiply(const Ref<SourceTransform>& other) = 0;
};

// ---------------------------------------------------------------------------
// Text formats

class SourceTextFormat {
public:
    virtual ~SourceTextFormat() = default;
    virtual VBool IsBackWards() = 0;
    virtual VBool IsBold() = 0;
    virtual double CharHeight() = 0;
    virtual std::int32_t CharHeightInPoints() = 0;
    virtual double CharSpacingFactor() = 0;
    virtual double Escapement() = 0;
    virtual VBool IsItalic() = 0;
    virtual double LineLength() = 0;
    virtual double LineSpacing() = 0;
    virtual double ObliqueAngle() = 0;
    virtual VBool IsStrikeOut() = 0;
    virtual SourceString TypeFaceName() = 0;
    virtual VBool IsUnderline() = 0;
    virtual VBool IsUpsideDown() = 0;
    virtual VBool IsVertical() = 0;
    virtual double WidthFactor() = 0;
};

// A selection callout; selections made by the library pass none.
class SourceCallout {
public:
    virtual ~SourceCallout() = default;
};

// ---------------------------------------------------------------------------
// Features, sketch pictures and OLE objects of a document

class SourceFeatureList {
public:
    virtual ~SourceFeatureList() = default;
    virtual std::vector<Ref<SourceFeature>> Features(std::int32_t topLevelOnly) = 0;
};

class SourceFeature {
public:
    virtual ~SourceFeature() = default;
    virtual SourceString Name() = 0;
    virtual SourceString TypeName() = 0;
    virtual Ref<SourceFeature> Owner() = 0;  // none at the top
    virtual Ref<SourceSpecificFeature> SpecificFeature() = 0;
};

// The type-specific object of a feature, queried for what it is.
class SourceSpecificFeature {
public:
    virtual ~SourceSpecificFeature() = default;
    virtual Ref<SourceSketchPicture> QuerySketchPicture() = 0;
    virtual Ref<SourceBrokenOutSection> QueryBrokenOutSection() = 0;
};

struct SourcePicturePosition {
    double x = 0.0;
    double y = 0.0;
};

struct SourcePictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class SourceSketchPicture {
public:
    virtual ~SourceSketchPicture() = default;
    virtual SourceShortArray PixelData() = 0;  // empty when the picture has none
    virtual Ref<SourceFeature> PictureFeature() = 0;
    virtual SourcePicturePosition Position() = 0;
    virtual SourcePictureSize Size() = 0;
    virtual Ref<SourcePictureBox> BoxSource() = 0;
    virtual double Angle() = 0;
    virtual VBool Flipped() = 0;
};

class SourcePictureBox {
public:
    virtual ~SourcePictureBox() = default;
    virtual SourceDoubleArray Box() = 0;
};

class SourceOleObject {
public:
    virtual ~SourceOleObject() = default;
    virtual std::int32_t Aspect() = 0;
    virtual SourceDoubleArray Boundaries() = 0;
    virtual SourceString ClassId() = 0;
    virtual SourceString FileName() = 0;
    virtual VBool Linked() = 0;
    virtual SourceByteArray Data() = 0;
};

// Files read whole, for linked OLE objects.
class SourceFileSystem {
public:
    virtual ~SourceFileSystem() = default;
    // The bytes of the file `file` in `directory` (the directory part of a
    // full name, ending with its separator, or empty); nullopt when the file
    // cannot be opened or its size cannot be learned.
    virtual std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& directory,
                                                                   const std::wstring& file) = 0;
};

}  // namespace kvswx
