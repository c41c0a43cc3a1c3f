// The operations of the recorded provider, one per source-interface method.
// Their names ("View.Name", "Drawing.ActivateSheet", ...) appear in the
// journal and in the "op" of injected faults; the list is the single place
// that defines them, so a misspelt operation cannot compile.
#pragma once

#include <optional>
#include <string_view>

namespace kvswx::recorded {

// clang-format off
#define KVSWX_RECORDED_OPS(OP) \
    OP(Application, RevisionNumber) \
    OP(Application, MathUtility) \
    OP(Application, SetIntegerPreference) \
    OP(Application, SetTogglePreference) \
    OP(Application, OpenModelDocument) \
    OP(Document, Commands) \
    OP(Document, QueryDrawing) \
    OP(Document, PathName) \
    OP(Document, LayerManager) \
    OP(Document, FeatureList) \
    OP(Document, ClearSelection) \
    OP(Document, Finish) \
    OP(Document, ReadDocumentInteger) \
    OP(Document, ReadDocumentToggle) \
    OP(Document, ReadDocumentDouble) \
    OP(Document, ReadDocumentString) \
    OP(Document, ReadDocumentTextFormat) \
    OP(Commands, SelectById) \
    OP(Commands, RunCommand) \
    OP(Commands, OleObjects) \
    OP(Drawing, SheetNames) \
    OP(Drawing, ActivateSheet) \
    OP(Drawing, FirstView) \
    OP(Drawing, CreateLayer) \
    OP(Drawing, ActivateView) \
    OP(Drawing, MoveSelectionToLayer) \
    OP(LayerManager, GetLayer) \
    OP(Layer, Name) \
    OP(Layer, SetName) \
    OP(ModelDocument, PathName) \
    OP(ModelDocument, ReadStringPreference) \
    OP(ModelDocument, ReadIntegerPreference) \
    OP(ModelDocument, ReadDoublePreference) \
    OP(View, NextView) \
    OP(View, Name) \
    OP(View, Type) \
    OP(View, ParentView) \
    OP(View, ReferencedModelDocument) \
    OP(View, HiddenEdgeCount) \
    OP(View, ExplodedState) \
    OP(View, Visible) \
    OP(View, SetVisible) \
    OP(View, Position) \
    OP(View, ReferencedConfiguration) \
    OP(View, ReferencedDocumentPath) \
    OP(View, Scale) \
    OP(View, Alignment) \
    OP(View, TangentEdgeDisplay) \
    OP(View, DisplayMode) \
    OP(View, HiddenEdgesInShadedMode) \
    OP(View, Cropped) \
    OP(View, Broken) \
    OP(View, Angle) \
    OP(View, Transform) \
    OP(View, Sketch) \
    OP(View, CenterLineSketch) \
    OP(View, SectionLine) \
    OP(View, SectionLines) \
    OP(View, SectionLineData) \
    OP(View, DetailCircle) \
    OP(View, DetailCircles) \
    OP(View, DetailCircleData) \
    OP(View, ProjectionArrow) \
    OP(View, BreakLineCount) \
    OP(View, BreakLines) \
    OP(View, BreakLineData) \
    OP(View, BreakLineGap) \
    OP(View, BrokenOutSections) \
    OP(View, Notes) \
    OP(View, RootDrawingComponent) \
    OP(View, HiddenComponents) \
    OP(View, BodyNamingValue) \
    OP(View, ComponentBodiesLegacy) \
    OP(View, ComponentBodies) \
    OP(View, FirstCenterMark) \
    OP(View, FaceHatches) \
    OP(SectionLine, Name) \
    OP(SectionLine, Label) \
    OP(SectionLine, OwnerView) \
    OP(SectionLine, SetLayer) \
    OP(SectionLine, ExcludedComponents) \
    OP(SectionLine, ReversedCutDirection) \
    OP(SectionLine, Aligned) \
    OP(SectionLine, DisplayOnlySurfaceCut) \
    OP(SectionLine, Partial) \
    OP(SectionLine, AutoHatch) \
    OP(SectionLine, Depth) \
    OP(SectionLine, TextFormat) \
    OP(DetailCircle, Name) \
    OP(DetailCircle, Label) \
    OP(DetailCircle, OwnerView) \
    OP(DetailCircle, SetLayer) \
    OP(DetailCircle, DisplayKind) \
    OP(DetailCircle, CircleStyle) \
    OP(DetailCircle, FullOutline) \
    OP(DetailCircle, TextFormat) \
    OP(DetailCircle, ProfileSegments) \
    OP(ProjectionArrow, Name) \
    OP(ProjectionArrow, Label) \
    OP(ProjectionArrow, Coordinates) \
    OP(ProjectionArrow, TextFormat) \
    OP(BreakLine, Name) \
    OP(BreakLine, SetLayer) \
    OP(BreakLine, Orientation) \
    OP(BreakLine, Position) \
    OP(BreakLine, Style) \
    OP(BrokenOutSection, Name) \
    OP(BrokenOutSection, Depth) \
    OP(BrokenOutSection, SetSketchEditing) \
    OP(BrokenOutSection, SketchSegments) \
    OP(Annotation, Layer) \
    OP(Annotation, SetLayer) \
    OP(Annotation, Position) \
    OP(Note, Name) \
    OP(Note, BalloonState) \
    OP(Note, SecondBalloonState) \
    OP(Note, BalloonData) \
    OP(Note, TextLineCount) \
    OP(Note, TextLine) \
    OP(Note, Annotation) \
    OP(Note, Prompt) \
    OP(Note, LinkedText) \
    OP(Note, TextPosition) \
    OP(Note, LeaderPoints) \
    OP(Note, LeaderData) \
    OP(Note, TextFormat) \
    OP(CenterMark, Name) \
    OP(CenterMark, UseDocumentDefaults) \
    OP(CenterMark, ExtendedLines) \
    OP(CenterMark, CenterlineFont) \
    OP(CenterMark, MarkSize) \
    OP(CenterMark, Angle) \
    OP(CenterMark, Style) \
    OP(CenterMark, GroupCount) \
    OP(CenterMark, Annotation) \
    OP(CenterMark, Next) \
    OP(FaceHatch, Name) \
    OP(FaceHatch, Angle) \
    OP(FaceHatch, Color) \
    OP(FaceHatch, Definition) \
    OP(FaceHatch, Pattern) \
    OP(FaceHatch, PatternId) \
    OP(FaceHatch, Scale) \
    OP(FaceHatch, SolidFill) \
    OP(FaceHatch, UseMaterialHatch) \
    OP(SketchHatch, Name) \
    OP(SketchHatch, Angle) \
    OP(SketchHatch, Color) \
    OP(SketchHatch, Pattern) \
    OP(SketchHatch, PatternId) \
    OP(SketchHatch, Scale) \
    OP(SketchHatch, SolidFill) \
    OP(DrawingComponent, Name) \
    OP(DrawingComponent, Children) \
    OP(DrawingComponent, Component) \
    OP(Component, Name) \
    OP(Component, ReferencedConfiguration) \
    OP(Component, Visibility) \
    OP(Body, NamingObject) \
    OP(NamedEntity, Name) \
    OP(Sketch, Segments) \
    OP(Sketch, Placement) \
    OP(Sketch, ArcData) \
    OP(Sketch, BlockInstances) \
    OP(Sketch, SketchHatches) \
    OP(Placement, SegmentTransform) \
    OP(Placement, Combine) \
    OP(BlockInstance, Name) \
    OP(BlockInstance, Placement) \
    OP(BlockInstance, Definition) \
    OP(BlockDefinition, Name) \
    OP(BlockDefinition, Sketch) \
    OP(Segment, Kind) \
    OP(Segment, Construction) \
    OP(Segment, Sketch) \
    OP(Segment, Curve) \
    OP(Segment, SplineCurve) \
    OP(Segment, Length) \
    OP(Segment, QueryLine) \
    OP(Segment, QueryArc) \
    OP(Segment, QueryEllipse) \
    OP(Segment, QuerySpline) \
    OP(Segment, QueryParabola) \
    OP(Segment, AsSegment) \
    OP(Segment, StartPoint) \
    OP(Segment, EndPoint) \
    OP(Segment, CenterPoint) \
    OP(Segment, MajorPoint) \
    OP(Segment, MinorPoint) \
    OP(Segment, FocalPoint) \
    OP(Segment, ApexPoint) \
    OP(Segment, Direction) \
    OP(Segment, FullCircle) \
    OP(Point, X) \
    OP(Point, Y) \
    OP(Point, Z) \
    OP(Curve, LineData) \
    OP(Curve, CircleData) \
    OP(Curve, EllipseData) \
    OP(Curve, Parameters) \
    OP(Curve, BSplineData) \
    OP(BSplineData, Order) \
    OP(BSplineData, Dimension) \
    OP(BSplineData, ControlPoints) \
    OP(BSplineData, Knots) \
    OP(MathUtility, CreatePoint) \
    OP(MathUtility, CreateVector) \
    OP(MathUtility, CreateTransform) \
    OP(MathPoint, MultiplyTransform) \
    OP(MathPoint, ArrayData) \
    OP(MathVector, MultiplyTransform) \
    OP(MathVector, Normalise) \
    OP(MathVector, ArrayData) \
    OP(Transform, ArrayData) \
    OP(Transform, Components) \
    OP(Transform, Inverse) \
    OP(Transform, Multiply) \
    OP(TextFormat, IsBackWards) \
    OP(TextFormat, IsBold) \
    OP(TextFormat, CharHeight) \
    OP(TextFormat, CharHeightInPoints) \
    OP(TextFormat, CharSpacingFactor) \
    OP(TextFormat, Escapement) \
    OP(TextFormat, IsItalic) \
    OP(TextFormat, LineLength) \
    OP(TextFormat, LineSpacing) \
    OP(TextFormat, ObliqueAngle) \
    OP(TextFormat, IsStrikeOut) \
    OP(TextFormat, TypeFaceName) \
    OP(TextFormat, IsUnderline) \
    OP(TextFormat, IsUpsideDown) \
    OP(TextFormat, IsVertical) \
    OP(TextFormat, WidthFactor) \
    OP(FeatureList, Features) \
    OP(Feature, Name) \
    OP(Feature, TypeName) \
    OP(Feature, Owner) \
    OP(Feature, SpecificFeature) \
    OP(SpecificFeature, QuerySketchPicture) \
    OP(SpecificFeature, QueryBrokenOutSection) \
    OP(SketchPicture, PixelData) \
    OP(SketchPicture, PictureFeature) \
    OP(SketchPicture, Position) \
    OP(SketchPicture, Size) \
    OP(SketchPicture, BoxSource) \
    OP(SketchPicture, Angle) \
    OP(SketchPicture, Flipped) \
    OP(PictureBox, Box) \
    OP(OleObject, Aspect) \
    OP(OleObject, Boundaries) \
    OP(OleObject, ClassId) \
    OP(OleObject, FileName) \
    OP(OleObject, Linked) \
    OP(OleObject, Data) \
    OP(Application, FileSystem) \
    OP(FileSystem, ReadWholeFile)
// clang-format on

enum class Op {
#define KVSWX_OP_ENUM(iface, method) iface##_##method,
    KVSWX_RECORDED_OPS(KVSWX_OP_ENUM)
#undef KVSWX_OP_ENUM
};

// Every operation, in the order of the list above.
inline constexpr Op kAllOps[] = {
#define KVSWX_OP_VALUE(iface, method) Op::iface##_##method,
    KVSWX_RECORDED_OPS(KVSWX_OP_VALUE)
#undef KVSWX_OP_VALUE
};

// "Interface.Method".
std::string_view OpName(Op op);
// The operation of a name; nullopt for an unknown name.
std::optional<Op> OpFromName(std::string_view name);
// The interface part of an operation's name ("View" for "View.Name").
std::string_view OpInterface(Op op);

}  // namespace kvswx::recorded
