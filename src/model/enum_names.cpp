#include "model/enum_names.h"

#include "model/xml_helpers.h"

namespace kvswx {

namespace {

std::string AsciiOf(const wchar_t* text) { return std::string(AsciiName(text).View()); }

}  // namespace

EnumTable::EnumTable(const wchar_t* key,
                     std::initializer_list<std::pair<std::int32_t, const wchar_t*>> rows)
    : key_(key), asciiKey_(AsciiOf(key)) {
    rows_.reserve(rows.size());
    asciiNames_.reserve(rows.size());
    for (const auto& [value, name] : rows) {
        rows_.emplace_back(value, name);
        asciiNames_.push_back(AsciiOf(name));
    }
}

EnumTable::Names EnumTable::NamesOf(std::int32_t value) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].first == value) return {rows_[i].second, asciiNames_[i]};
    }
    return {};
}

const std::wstring& EnumTable::NameOf(std::int32_t value) const {
    for (const auto& row : rows_) {
        if (row.first == value) return row.second;
    }
    return EmptyName();
}

const std::wstring& EmptyName() {
    static const std::wstring empty;
    return empty;
}

// Each table is a function-local constant: built on first use, immutable
// afterwards, released at unload.
#define KVSWX_TABLE(fn, key, ...)                     \
    const EnumTable& fn() {                           \
        static const EnumTable table(key, {__VA_ARGS__}); \
        return table;                                 \
    }

KVSWX_TABLE(ViewTypeNames, L"swEnumValue",
            {2, L"swDrawingSectionView"}, {3, L"swDrawingDetailView"},
            {4, L"swDrawingProjectedView"}, {5, L"swDrawingAuxiliaryView"},
            {6, L"swDrawingStandardView"}, {7, L"swDrawingNamedView"},
            {8, L"swDrawingRelativeView"}, {9, L"swDrawingDetachedView"},
            {10, L"swDrawingAlternatePositionView"})

KVSWX_TABLE(ViewAlignmentNames, L"swEnumValue",
            {0, L"swViewAlignNone"}, {1, L"swViewAlignedChildren"}, {2, L"swViewAligned"},
            {3, L"swViewAlignBoth"})

KVSWX_TABLE(TangentEdgeDisplayNames, L"swEnumValue",
            {0, L"swTangentEdgesHidden"}, {1, L"swTangentEdgesVisibleAndFonted"},
            {2, L"swTangentEdgesVisible"})

KVSWX_TABLE(DisplayModeNames, L"swEnumValue",
            {0, L"swWIREFRAME"}, {1, L"swHIDDEN_GREYED"}, {2, L"swHIDDEN"}, {3, L"swSHADED"},
            {4, L"swFACETED_WIREFRAME"}, {5, L"swFACETED_HIDDEN_GREYED"}, {6, L"swFACETED_HIDDEN"})

KVSWX_TABLE(CenterMarkStyleNames, L"swEnumValue",
            {1, L"swCenterMark_NonAnnotation"}, {2, L"swCenterMark_Single"},
            {3, L"swCenterMark_LinearGroup"}, {4, L"swCenterMark_CircularGroup"})

KVSWX_TABLE(ArrowHeadStyleNames, L"swArrowStyle",
            {0, L"swOPEN_ARROWHEAD"}, {1, L"swCLOSED_ARROWHEAD"}, {2, L"swSLASH_ARROWHEAD"},
            {3, L"swDOT_ARROWHEAD"}, {4, L"swORIGIN_ARROWHEAD"}, {5, L"swWIDE_ARROWHEAD"},
            {6, L"swISOWIDE_ARROWHEAD"}, {7, L"swRUS_ARROWHEAD"}, {8, L"swCLOSETOP_ARROWHEAD"},
            {9, L"swCLOSEBOT_ARROWHEAD"}, {10, L"swNO_ARROWHEAD"})

KVSWX_TABLE(LineFontNames, L"swLineType",
            {0, L"swLF_VISIBLE"}, {1, L"swLF_HIDDEN"}, {2, L"swLF_SKETCH"}, {3, L"swLF_DETAIL"},
            {4, L"swLF_SECTION"}, {5, L"swLF_DIMENSION"}, {6, L"swLF_CENTER"}, {7, L"swLF_HATCH"},
            {8, L"swLF_TANGENT"})

KVSWX_TABLE(LineStyleNames, L"swLineStyle",
            {0, L"swLineCONTINUOUS"}, {1, L"swLineHIDDEN"}, {2, L"swLinePHANTOM"},
            {3, L"swLineCHAIN"}, {4, L"swLineCENTER"}, {5, L"swLineSTITCH"},
            {6, L"swLineCHAINTHICK"}, {7, L"swLineDEFAULT"})

// 6 is the member between THICK4 and THICK6 in the application's
// enumeration, "swLW_THICK5".
KVSWX_TABLE(LineWeightNames, L"swLineWeight",
            {-1, L"swLW_NONE"}, {0, L"swLW_THIN"}, {1, L"swLW_NORMAL"}, {2, L"swLW_THICK"},
            {3, L"swLW_THICK2"}, {4, L"swLW_THICK3"}, {5, L"swLW_THICK4"}, {6, L"swLW_THICK5"},
            {7, L"swLW_THICK6"}, {8, L"swLW_NUMBER"}, {9, L"swLW_LAYER"}, {10, L"swLW_CUSTOM"})

KVSWX_TABLE(SketchSegmentTypeNames, L"swSketchSegments",
            {0, L"swSketchLINE"}, {1, L"swSketchARC"}, {2, L"swSketchELLIPSE"},
            {3, L"swSketchSPLINE"}, {4, L"swSketchTEXT"}, {5, L"swSketchPARABOLA"})

KVSWX_TABLE(DraftingStandardNames, L"swDetailingStandard",
            {1, L"swDetailingStandardANSI"}, {2, L"swDetailingStandardISO"},
            {3, L"swDetailingStandardDIN"}, {4, L"swDetailingStandardJIS"},
            {5, L"swDetailingStandardBS"}, {6, L"swDetailingStandardGOST"},
            {7, L"swDetailingStandardGB"}, {8, L"swDetailingStandardUserDefined"})

KVSWX_TABLE(ViewLabelNameNames, L"swLabelOptionsName",
            {0, L"swDetailingViewLabelsName_none"}, {1, L"swDetailingViewLabelsName_VIEW"},
            {2, L"swDetailingViewLabelsName_viewtype"}, {3, L"swDetailingViewLabelsName_custom"},
            {4, L"swDetailingViewLabelsName_DrawingTree"})

// The four scale label names take the values 0 to 3 in their listed order.
KVSWX_TABLE(ViewLabelScaleNames, L"swLabelOptionsScale",
            {0, L"swDetailingViewLabelsScale_none"}, {1, L"swDetailingViewLabelsScale_SCALE"},
            {2, L"swDetailingViewLabelsScale_SCALEcolon"},
            {3, L"swDetailingViewLabelsScale_SCALEcustom"})

KVSWX_TABLE(ViewLabelDelimiterNames, L"swLabelOptionsDelimiter",
            {0, L"swDetailingViewLabelsDelimiter_none"},
            {1, L"swDetailingViewLabelsDelimiter_XcolonX"},
            {2, L"swDetailingViewLabelsDelimiter_XslashX"},
            {3, L"swDetailingViewLabelsDelimiter_XcolonXparen"},
            {4, L"swDetailingViewLabelsDelimiter_XslashXparen"},
            {5, L"swDetailingViewLabelsDelimiter_numberX"})

KVSWX_TABLE(ViewLabelLetterNames, L"swLabelOptionsLabel",
            {0, L"m_DetailingViewLabelsLabel_none"}, {1, L"m_DetailingViewLabelsLabel_X"},
            {2, L"m_DetailingViewLabelsLabel_XdashX"}, {3, L"m_DetailingViewLabelsLabel_XspaceX"})

KVSWX_TABLE(ViewLabelRotationNames, L"swLabelOptionsRotation",
            {0, L"swDetailingViewRotation_None"},
            {1, L"swDetailingViewRotation_DisplaySymbolAngle"},
            {2, L"swDetailingViewRotation_DisplaySymbol"},
            {3, L"swDetailingViewRotation_DisplayROTATEDAngleCWCCW"},
            {4, L"swDetailingViewRotation_DisplayAngle"})

KVSWX_TABLE(HalfSectionArrowNames, L"swHalfSectionStyle",
            {0, L"swDetailingHalfSectionArrow_AlternativeDisplay"},
            {1, L"swDetailingHalfSectionArrow_StandardDisplay"})

KVSWX_TABLE(ViewIndicationNames, L"swViewIndication",
            {0, L"swViewIndication_ArrowMethod"}, {1, L"swViewIndication_SameAsSection"})

KVSWX_TABLE(DetailViewStyleNames, L"swDetailCircleStyle",
            {0, L"swDetViewSTANDARD"}, {1, L"swDetViewBROKEN"}, {2, L"swDetViewLEADER"},
            {3, L"swDetViewNOLEADER"}, {4, L"swDetViewCONNECTED"})

KVSWX_TABLE(DetailCircleDisplayNames, L"swDetCircleShowType",
            {0, L"swDetCirclePROFILE"}, {1, L"swDetCircleCIRCLE"}, {2, L"swDetCircleDONTSHOW"})

KVSWX_TABLE(CenterLineMarkOrientNames, L"swCenterLineMarkOrient",
            {0, L"swCenterLineMarkOrientToSlot"}, {1, L"swCenterLineMarkOrientToSheet"})

KVSWX_TABLE(BreakLineStyleNames, L"swBreakLineStyle",
            {1, L"swBreakLine_Straight"}, {2, L"swBreakLine_ZigZag"}, {3, L"swBreakLine_Curve"},
            {4, L"swBreakLine_SmallZigZag"})

KVSWX_TABLE(BreakLineOrientationNames, L"swBreakLineOrientation",
            {1, L"swBreakLineHorizontal"}, {2, L"swBreakLineVertical"})

KVSWX_TABLE(OleAspectNames, L"AspectStringValue",
            {1, L"swDVASPECT_CONTENT"}, {2, L"swDVASPECT_THUMBNAIL"}, {4, L"swDVASPECT_ICON"},
            {8, L"swDVASPECT_DOCPRINT"})

#undef KVSWX_TABLE

}  // namespace kvswx
