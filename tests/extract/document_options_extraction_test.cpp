#include "extract/document_options_extraction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/process_state.h"
#include "recorded/recording.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

std::shared_ptr<recorded::Recording> WithPreferences(const std::string& preferences) {
    return recorded::LoadRecordingFromString(
        R"({"format": "kvswx-recording/1", "document": {"preferences": )" + preferences + "}}",
        "prefs.json");
}

// The two conditions are independent: neither, either or both, detail first.
TEST(DocumentOptionsExtraction, WarningCodes) {
    struct Case {
        int detailThickness;
        int auxiliaryIndicator;
        std::vector<std::int32_t> codes;
    };
    const Case cases[] = {
        {0, 0, {}}, {10, 0, {0}}, {0, 1, {1}}, {10, 1, {0, 1}}, {9, 2, {}}, {11, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.detailThickness) + "/" +
                     std::to_string(c.auxiliaryIndicator));
        const auto recording =
            WithPreferences(R"({"integer": {"59,301": )" + std::to_string(c.detailThickness) +
                            R"(, "512,0": )" + std::to_string(c.auxiliaryIndicator) + "}}");
        KVSWX_DocumentProperties properties;
        EXPECT_EQ(ExtractDocumentProperties(properties, recording->Document()), c.codes);
    }
}

// The places where a wrong identifier, option or kind would go unnoticed in
// a plain copy: shared identifiers of different kinds, the swapped 413/414
// pair, the section's label name read from its label letter, the auxiliary
// custom thickness never read, the detail circle font read before the label
// font but filled after it, and what absent preferences give.
TEST(DocumentOptionsExtraction, PreferencesLandInTheirFields) {
    ResetProcessStateForTests();
    const auto recording = WithPreferences(R"({
        "integer": {"60,301": 2, "59,301": 3, "72,301": 4, "71,301": 5, "13,0": 2, "13,301": 3, "13,302": 4,
                    "13,303": 5, "13,304": 6, "245,0": 1, "93,0": 1, "92,0": 2, "390,0": 1, "518,0": 2,
                    "241,301": 3, "244,301": 1},
        "toggle": {"414,0": 1, "241,301": 0, "244,0": 1, "552,0": -1},
        "double": {"93,0": 0.5, "92,301": 0.25, "48,0": 0.1, "55,0": 0.8, "12,0": 0.003},
        "string": {"81,301": "N", "96,0": "IOQ"},
        "textFormat": {"3,301": {"typeFaceName": "Circle"}, "43,301": {"typeFaceName": "Label"}}})");
    KVSWX_DocumentProperties properties;
    ExtractDocumentProperties(properties, recording->Document());

    const CenterlineOptionsValues& c = properties.GetCenterlinesCenterMarksOptions()->Values();
    EXPECT_TRUE(c.centerLineMarkEndsOnlyLinear);
    EXPECT_FALSE(c.centerLineMarkCircular);
    EXPECT_EQ(c.lineMarkOrient, 1);
    EXPECT_EQ(c.centerMarkSize, 0.003);

    const LineThicknessValues& t = properties.GetLineThicknessOptions()->Values();
    EXPECT_EQ(t.thin, 0.1);
    EXPECT_EQ(t.thick6, 0.8);
    EXPECT_EQ(t.normal, 0.0);  // absent: the source answers 0

    const KVSWX_DocViewOptions& views = *properties.GetViewOptions();
    const DetailViewOptionsValues& d = views.GetDetailOptions()->Values();
    EXPECT_EQ(d.lineStyle, 2);
    EXPECT_EQ(d.lineThickness, 3);
    EXPECT_EQ(d.lineCustomThickness, 0.25);
    EXPECT_EQ(d.borderStyle, 4);
    EXPECT_EQ(d.borderThickness, 5);
    EXPECT_EQ(d.overallDraftingStandard, 2);
    EXPECT_TRUE(d.uppercaseAll);
    EXPECT_FALSE(d.isStacked);
    EXPECT_EQ(d.exclusionList, L"IOQ");
    const CommonViewOptionsValues& dc = views.GetDetailOptions()->GetCommonViewOptions()->Values();
    EXPECT_EQ(dc.detailingStandard, 3);
    EXPECT_EQ(dc.labelOptionsName, 3);
    EXPECT_EQ(dc.labelOptionsDelimiter, 1);
    EXPECT_EQ(dc.labelOptionsCustom, L"N");
    EXPECT_EQ(dc.labelOptionsScaleCustom, L"");  // no string delivered
    EXPECT_FALSE(dc.displayLabelAboveView);      // absent toggle: false
    EXPECT_EQ(views.GetDetailOptions()
                  ->GetCommonViewOptions()
                  ->GetLabelOptionsNameFont()
                  ->Values()
                  .typeFaceName,
              L"Century Gothic");  // no text format: initial values

    const SectionViewOptionsValues& s = views.GetSectionOptions()->Values();
    EXPECT_EQ(s.baseSectonStandard, 4);
    EXPECT_EQ(s.labelOptionsLabel, 1);
    EXPECT_EQ(s.lineCustomThickness, 0.5);
    EXPECT_EQ(views.GetSectionOptions()->GetCommonViewOptions()->Values().labelOptionsName, 1);
    EXPECT_EQ(views.GetSectionOptions()->GetCommonViewOptions()->Values().detailingStandard, 4);

    const AuxiliaryViewOptionsValues& a = views.GetAuxiliaryOptions()->Values();
    EXPECT_EQ(a.baseAuxiliaryStandard, 5);
    EXPECT_EQ(a.lineStyle, 1);
    EXPECT_EQ(a.lineThickness, 2);
    EXPECT_EQ(a.lineCustomThickness, 0.0);
    EXPECT_TRUE(views.GetAuxiliaryOptions()->GetCommonViewOptions()->Values().detailingPerStandard);

    const CommonViewOptionsValues& pc =
        views.GetProjectedOptions()->GetCommonViewOptions()->Values();
    EXPECT_EQ(pc.detailingStandard, 6);
    EXPECT_EQ(pc.labelOptionsName, 2);

    EXPECT_EQ(properties.GetDimensionStyles(), nullptr);
    const std::string xml = test::WriteRecord(*properties.GetImpl());
    EXPECT_EQ(xml.find("DimensionStyles"), std::string::npos);
    EXPECT_EQ(xml.find("KVLayer"), std::string::npos);
    // The circle font, then the label font, as extracted.
    const std::size_t circle = xml.find("<DetaiCircleTextFont>");
    EXPECT_LT(circle, xml.find("<TypeFaceName>Circle</TypeFaceName>"));
    EXPECT_LT(xml.find("<TypeFaceName>Circle</TypeFaceName>"), xml.find("<LabelOptionsLabelFont>"));
    EXPECT_LT(xml.find("<LabelOptionsLabelFont>"), xml.find("<TypeFaceName>Label</TypeFaceName>"));
    EXPECT_NE(xml.find("<LineCustomThickness>0.0000000000000000</"
                       "LineCustomThickness>\n\t\t\t\t<AuxiliaryArrowFont>"),
              std::string::npos);
}

}  // namespace
}  // namespace kvswx
