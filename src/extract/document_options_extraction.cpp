#include "extract/document_options_extraction.h"

#include <string>

#include "extract/text_format_extraction.h"

namespace kvswx {

namespace {

// A preference: identifier and option number.
struct Pref {
    std::int32_t id;
    std::int32_t option;
};

std::int32_t Integer(SourceDocument& d, Pref p) { return d.ReadDocumentInteger(p.id, p.option); }
bool Toggle(SourceDocument& d, Pref p) { return d.ReadDocumentToggle(p.id, p.option) != 0; }
double Double(SourceDocument& d, Pref p) { return d.ReadDocumentDouble(p.id, p.option); }

// A string is stored only when the document returns one.
template <class Setter>
void StringIfAny(SourceDocument& d, Pref p, Setter set) {
    if (SourceString s = d.ReadDocumentString(p.id, p.option)) set(*s);
}

// Creates the font with `create` and fills it from the text format; with no
// text format the font keeps its initial values.
template <class Create>
void FontFrom(SourceDocument& d, Pref p, Create create) {
    Ref<SourceTextFormat> format = d.ReadDocumentTextFormat(p.id, p.option);
    ExtractTextFormat(*create(), format);
}

// Where each view type reads its common label block.
struct CommonPrefs {
    Pref detailingStandard;
    Pref detailingPerStandard;
    Pref labelName;
    Pref labelCustom;
    Pref nameFont;
    Pref labelScale;
    Pref scaleCustom;
    Pref scaleFont;
    Pref delimiter;
    Pref delimiterFont;
    Pref removeSpace;
    Pref labelAbove;
    bool nameBeforePerStandard;  // the projected type reads the name first
};

constexpr CommonPrefs kDetailCommon{{13, 301},  {240, 301}, {241, 301}, {81, 301},  {42, 301},
                                    {243, 301}, {82, 301},  {44, 301},  {244, 301}, {45, 301},
                                    {562, 301}, {337, 301}, false};
constexpr CommonPrefs kSectionCommon{{13, 302}, {242, 0},  {245, 0}, {83, 302}, {23, 0},
                                     {247, 0},  {84, 302}, {25, 0},  {248, 0},  {26, 0},
                                     {549, 0},  {338, 0},  false};
constexpr CommonPrefs kAuxiliaryCommon{{13, 303}, {244, 0},  {249, 0}, {85, 303}, {33, 0},
                                       {251, 0},  {86, 303}, {36, 0},  {252, 0},  {37, 0},
                                       {543, 0},  {339, 0},  false};
constexpr CommonPrefs kProjectedCommon{{13, 304}, {441, 0},  {518, 0}, {97, 302}, {39, 0},
                                       {443, 0},  {98, 302}, {40, 0},  {444, 0},  {41, 0},
                                       {560, 0},  {567, 0},  true};

void ExtractCommonViewOptions(KVSWX_CommonViewOptions& c, SourceDocument& d, const CommonPrefs& p) {
    c.SetDetailingStandard(Integer(d, p.detailingStandard));
    if (p.nameBeforePerStandard) {
        c.SetLabelOptionsName(Integer(d, p.labelName));
        c.SetDetailingPerStandard(Toggle(d, p.detailingPerStandard));
    } else {
        c.SetDetailingPerStandard(Toggle(d, p.detailingPerStandard));
        c.SetLabelOptionsName(Integer(d, p.labelName));
    }
    StringIfAny(d, p.labelCustom, [&](const std::wstring& s) { c.SetLabelOptionsCustom(s); });
    FontFrom(d, p.nameFont, [&] { return c.CreateLabelOptionsNameFont(); });
    c.SetLabelOptionsScale(Integer(d, p.labelScale));
    StringIfAny(d, p.scaleCustom, [&](const std::wstring& s) { c.SetLabelOptionsScaleCustom(s); });
    FontFrom(d, p.scaleFont, [&] { return c.CreateLabelOptionsScaleFont(); });
    c.SetLabelOptionsDelimiter(Integer(d, p.delimiter));
    FontFrom(d, p.delimiterFont, [&] { return c.CreateLabelOptionsDelimiterFont(); });
    c.SetLabelOptionsRemoveSpaceInScaleAroundColon(Toggle(d, p.removeSpace));
    c.SetDisplayLabelAboveView(Toggle(d, p.labelAbove));
}

constexpr std::int32_t kCustomLineWeight = 10;        // swLW_CUSTOM
constexpr std::int32_t kIndicationSameAsSection = 1;  // swViewIndication_SameAsSection

}  // namespace

void ExtractDetailViewOptions(KVSWX_DocViewOptions& options, SourceDocument& d,
                              std::vector<std::int32_t>& warnings) {
    KVSWX_DocViewDetailOptions& o = *options.CreateDetailOptions();
    KVSWX_TextFormat& circleFont = *o.CreateDetaiCircleTextFont();
    o.SetLineStyle(Integer(d, {60, 301}));
    o.SetLineThickness(Integer(d, {59, 301}));
    o.SetLineCustomThickness(Double(d, {92, 301}));
    if (o.GetLineThickness() == kCustomLineWeight)
        warnings.push_back(kDetailCircleThicknessWarning);
    o.SetBorderStyle(Integer(d, {72, 301}));
    o.SetBorderThickness(Integer(d, {71, 301}));
    o.SetBorderCustomThickness(Double(d, {98, 301}));
    // The circle's text format is read here and used after the label font.
    Ref<SourceTextFormat> circleFormat = d.ReadDocumentTextFormat(3, 301);
    FontFrom(d, {43, 301}, [&] { return o.CreateLabelOptionsLabelFont(); });
    o.SetOverallDraftingStandard(Integer(d, {13, 0}));
    o.SetUppercaseAll(Toggle(d, {552, 0}));
    StringIfAny(d, {96, 0}, [&](const std::wstring& s) { o.SetExclusionList(s); });
    ExtractTextFormat(circleFont, circleFormat);
    circleFormat.reset();
    o.SetIsStacked(Toggle(d, {241, 301}));
    ExtractCommonViewOptions(*o.CreateCommonViewOptions(), d, kDetailCommon);
}

void ExtractSectionViewOptions(KVSWX_DocViewOptions& options, SourceDocument& d,
                               std::vector<std::int32_t>&) {
    KVSWX_DocViewSectionOptions& o = *options.CreateSectionOptions();
    o.SetBaseSectonStandard(Integer(d, {13, 302}));
    o.SetLineStyle(Integer(d, {62, 0}));
    o.SetLineThickness(Integer(d, {61, 0}));
    o.SetLineCustomThickness(Double(d, {93, 0}));
    o.SetAlternativeDisplay(Toggle(d, {45, 0}));
    FontFrom(d, {2, 0}, [&] { return o.CreateSectionArrowTextFont(); });
    o.SetLabelOptionsLabel(Integer(d, {245, 0}));
    FontFrom(d, {24, 0}, [&] { return o.CreateLabelOptionsLabelFont(); });
    o.SetLabelOptionsRotation(Integer(d, {515, 0}));
    FontFrom(d, {38, 0}, [&] { return o.CreateLabelOptionsRotationFont(); });
    o.SetIsStacked(Toggle(d, {243, 0}));
    o.SetSectionViewArrowWidht(Double(d, {28, 0}));
    o.SetSectionViewArrowHeadWidth(Double(d, {27, 0}));
    o.SetSectionViewArrowHeadLength(Double(d, {29, 0}));
    o.SetIsScaleWithSectionViewArrowLetterHeight(Toggle(d, {311, 0}));
    o.SetArrowStyle(Integer(d, {459, 0}));
    o.SetHalfSectionStyle(Integer(d, {479, 0}));
    o.SetDisplayCuttingLineShoulders(Toggle(d, {494, 0}));
    ExtractCommonViewOptions(*o.CreateCommonViewOptions(), d, kSectionCommon);
}

void ExtractAuxiliaryViewOptions(KVSWX_DocViewOptions& options, SourceDocument& d,
                                 std::vector<std::int32_t>& warnings) {
    KVSWX_DocViewAuxiliaryOptions& o = *options.CreateAuxiliaryOptions();
    o.SetBaseAuxiliaryStandard(Integer(d, {13, 303}));
    o.SetAuxiliaryIndicator(Integer(d, {512, 0}));
    o.SetLineStyle(Integer(d, {93, 0}));
    o.SetLineThickness(Integer(d, {92, 0}));
    // The view plane's custom thickness cannot be read.
    o.SetLineCustomThickness(0.0);
    if (o.GetAuxiliaryIndicator() == kIndicationSameAsSection)
        warnings.push_back(kViewPlaneWarning);
    FontFrom(d, {4, 0}, [&] { return o.CreateAuxiliaryArrowFont(); });
    o.SetLabelOptionsLabel(Integer(d, {250, 0}));
    FontFrom(d, {34, 0}, [&] { return o.CreateLabelOptionsLabelFont(); });
    o.SetLabelOptionsRotation(Integer(d, {513, 0}));
    FontFrom(d, {35, 0}, [&] { return o.CreateLabelOptionsRotationFont(); });
    o.SetIsStacked(Toggle(d, {245, 0}));
    o.SetRotateViewToBeHorizontalToSheet(Toggle(d, {544, 0}));
    o.SetIsClockWise(Toggle(d, {545, 0}));
    o.SetLabelOptionsSimplifiedOrDetail(Toggle(d, {541, 0}));
    ExtractCommonViewOptions(*o.CreateCommonViewOptions(), d, kAuxiliaryCommon);
}

void ExtractProjectedViewOptions(KVSWX_DocViewOptions& options, SourceDocument& d,
                                 std::vector<std::int32_t>&) {
    ExtractCommonViewOptions(*options.CreateProjectedOptions()->CreateCommonViewOptions(), d,
                             kProjectedCommon);
}

void ExtractLineThicknessOptions(KVSWX_DocLineThicknessOptions& o, SourceDocument& d) {
    o.SetThin(Double(d, {48, 0}));
    o.SetNormal(Double(d, {49, 0}));
    o.SetThick(Double(d, {50, 0}));
    o.SetThick2(Double(d, {51, 0}));
    o.SetThick3(Double(d, {52, 0}));
    o.SetThick4(Double(d, {53, 0}));
    o.SetThick5(Double(d, {54, 0}));
    o.SetThick6(Double(d, {55, 0}));
}

void ExtractCenterlineOptions(KVSWX_DocCenterlinesCenterMarksOptions& o, SourceDocument& d) {
    o.SetCenterlineExtension(Double(d, {10, 0}));
    o.SetCenterMarkSize(Double(d, {12, 0}));
    o.SetCenterMarkShowLines(Toggle(d, {46, 0}));
    o.SetCenterMarkUseCenterLine(Toggle(d, {192, 0}));
    o.SetLineMarkOrient(Integer(d, {390, 0}));
    o.SetCenterLineMarkLinear(Toggle(d, {412, 0}));
    o.SetCenterLineMarkEndsOnlyLinear(Toggle(d, {414, 0}));
    o.SetCenterLineMarkCircular(Toggle(d, {413, 0}));
    o.SetCenterLineMarkEndsOnlyCircular(Toggle(d, {415, 0}));
}

std::vector<std::int32_t> ExtractDocumentProperties(KVSWX_DocumentProperties& properties,
                                                    const Ref<SourceDocument>& document) {
    std::vector<std::int32_t> warnings;
    if (!document) return warnings;
    SourceDocument& d = *document;
    KVSWX_DocViewOptions& views = *properties.CreateViewOptions();
    ExtractCenterlineOptions(*properties.CreateCenterlinesCenterMarksOptions(), d);
    ExtractDetailViewOptions(views, d, warnings);
    ExtractSectionViewOptions(views, d, warnings);
    ExtractAuxiliaryViewOptions(views, d, warnings);
    ExtractProjectedViewOptions(views, d, warnings);
    ExtractLineThicknessOptions(*properties.CreateLineThicknessOptions(), d);
    return warnings;
}

}  // namespace kvswx
