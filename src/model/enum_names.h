// Names of the source application's enumeration members, written beside an
// enumerated value so that a person (and the target application) can read
// the file without a table of numbers. Lookups never allocate: they return a
// reference to a string built once at load, or to the empty string when the
// value has no row. Nothing turns a name back into a value.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvswx {

class EnumTable {
public:
    EnumTable(const wchar_t* key, std::initializer_list<std::pair<std::int32_t, const wchar_t*>> rows);
    // The attribute name the table's names are usually written under.
    const std::wstring& Key() const { return key_; }
    const std::wstring& NameOf(std::int32_t value) const;
    // The same as ASCII bytes, kept for writers; empty when the text is not
    // plain printable ASCII (or empty).
    std::string_view AsciiKey() const { return asciiKey_; }
    struct Names {
        std::wstring_view name;
        std::string_view ascii;
    };
    Names NamesOf(std::int32_t value) const;
    // Every row, in table order.
    const std::vector<std::pair<std::int32_t, std::wstring>>& Rows() const { return rows_; }

private:
    std::wstring key_;
    std::vector<std::pair<std::int32_t, std::wstring>> rows_;
    std::string asciiKey_;
    std::vector<std::string> asciiNames_;  // row by row
};

const std::wstring& EmptyName();

// Attribute names used by fields that write a table under another key.
inline constexpr const wchar_t* kBorderStyleKey = L"swBorderStyle";
inline constexpr const wchar_t* kBorderThicknessKey = L"swBorderThickness";

const EnumTable& ViewTypeNames();             // swEnumValue
const EnumTable& ViewAlignmentNames();        // swEnumValue
const EnumTable& TangentEdgeDisplayNames();   // swEnumValue
const EnumTable& DisplayModeNames();          // swEnumValue
const EnumTable& CenterMarkStyleNames();      // swEnumValue
const EnumTable& ArrowHeadStyleNames();       // swArrowStyle
const EnumTable& LineFontNames();             // swLineType
const EnumTable& LineStyleNames();            // swLineStyle (or swBorderStyle)
const EnumTable& LineWeightNames();           // swLineWeight (or swBorderThickness)
const EnumTable& SketchSegmentTypeNames();    // swSketchSegments
const EnumTable& DraftingStandardNames();     // swDetailingStandard
const EnumTable& ViewLabelNameNames();        // swLabelOptionsName
const EnumTable& ViewLabelScaleNames();       // swLabelOptionsScale
const EnumTable& ViewLabelDelimiterNames();   // swLabelOptionsDelimiter
const EnumTable& ViewLabelLetterNames();      // swLabelOptionsLabel
const EnumTable& ViewLabelRotationNames();    // swLabelOptionsRotation
const EnumTable& HalfSectionArrowNames();     // swHalfSectionStyle
const EnumTable& ViewIndicationNames();       // swViewIndication
const EnumTable& DetailViewStyleNames();      // swDetailCircleStyle
const EnumTable& DetailCircleDisplayNames();  // swDetCircleShowType
const EnumTable& CenterLineMarkOrientNames(); // swCenterLineMarkOrient
const EnumTable& BreakLineStyleNames();       // swBreakLineStyle
const EnumTable& BreakLineOrientationNames(); // swBreakLineOrientation
const EnumTable& OleAspectNames();            // AspectStringValue

}  // namespace kvswx
