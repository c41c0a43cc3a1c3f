#include "docprops/document_properties.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

using DocumentPropertiesTest = test::FreshProcessTest;

std::string Write(const KVSWX_DocumentProperties& properties) {
    return test::WriteRecord(*properties.GetImpl());
}

// `xml` holds "DocumentProperties" under a root "r".
void Read(KVSWX_DocumentProperties& properties, const std::string& xml) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    properties.GetImpl()->ReadFromDocument(doc, L"/r/DocumentProperties");
}

std::string Wrap(const std::string& inner) {
    return "<r><DocumentProperties>" + inner + "</DocumentProperties></r>";
}

bool Has(const std::string& xml, const std::string& part) {
    return xml.find(part) != std::string::npos;
}

// Where `part` starts in `xml`; fails the test when it is missing.
std::size_t At(const std::string& xml, const std::string& part) {
    const std::size_t at = xml.find(part);
    EXPECT_NE(at, std::string::npos) << part << " missing in " << xml;
    return at;
}

TEST_F(DocumentPropertiesTest, LayerNameWrittenOnlyWhenPresentAndReadOnlyWhenFound) {
    KVSWX_DocumentProperties none;
    EXPECT_FALSE(Has(Write(none), "KVLayer"));
    KVSWX_DocumentProperties empty;
    empty.SetLayerName(std::wstring());
    EXPECT_TRUE(Has(Write(empty), "<KVLayer/>"));
    KVSWX_DocumentProperties named;
    named.SetLayerName(L"KV_3");
    EXPECT_TRUE(Has(Write(named), "<KVLayer>KV_3</KVLayer>"));

    // Reading without "KVLayer" leaves the name as it was: absent stays
    // absent, a stored one stays.
    KVSWX_DocumentProperties readNone;
    Read(readNone, Wrap("<LineThickness/>"));
    EXPECT_FALSE(readNone.GetLayerName().has_value());
    EXPECT_FALSE(Has(Write(readNone), "KVLayer"));
    Read(named, Wrap(""));
    EXPECT_EQ(named.GetLayerName(), L"KV_3");
    Read(named, Wrap("<KVLayer/>"));
    EXPECT_EQ(named.GetLayerName(), L"");
}

// The order of a filled record's children and the initial values of never
// filled options are pinned by the golden file model/two_sheets.xml, which
// also reads back to the same bytes. Here: only the view types that exist
// are written; a read record has every child, dimension styles (when the
// file held any) first.
TEST_F(DocumentPropertiesTest, ChildrenOfBuiltAndReadRecords) {
    KVSWX_DocumentProperties built;
    built.CreateViewOptions()->CreateProjectedOptions();
    const std::string xml = Write(built);
    EXPECT_TRUE(Has(xml, "<Projected>"));
    EXPECT_FALSE(Has(xml, "<Detail>"));
    EXPECT_FALSE(Has(xml, "DimensionStyles"));

    KVSWX_DocumentProperties read;
    Read(read,
         Wrap("<KVLayer>L</KVLayer><DimensionStyles><DimensionStyle Units='1'>A</DimensionStyle>"
              "</DimensionStyles>"));
    ASSERT_NE(read.GetViewOptions(), nullptr);
    ASSERT_NE(read.GetViewOptions()->GetProjectedOptions(), nullptr);
    EXPECT_NE(read.GetViewOptions()->GetProjectedOptions()->GetCommonViewOptions(), nullptr);
    const std::string again = Write(read);
    EXPECT_LT(At(again, "<DimensionStyles>"), At(again, "<CenterlinesCenterMarks>"));
    EXPECT_LT(At(again, "<Detail>"), At(again, "<Projected>"));
    EXPECT_LT(At(again, "<LineThickness>"), At(again, "<KVLayer>"));
    EXPECT_EQ(Process().indentDepth, 0);
}

// Reading rules shared by every option record: only "true" is true, missing
// elements keep their values, names match exactly, the first of two
// same-named fonts is read for both.
TEST_F(DocumentPropertiesTest, ReadingRules) {
    KVSWX_DocumentProperties p;
    Read(
        p,
        Wrap(
            "<CenterlinesCenterMarks><CenterMarkSize>0.5</"
            "CenterMarkSize><CenterMarkShowLines>TRUE</"
            "CenterMarkShowLines><CenterMarkUseCenterLine>true</CenterMarkUseCenterLine></"
            "CenterlinesCenterMarks>"
            "<LineThickness><Thick6>0.25</Thick6><Thin>x</Thin></LineThickness>"
            "<Views><Detail><DetailCircleTextFont><IsBold>true</IsBold></DetailCircleTextFont>"
            "<DetaiCircleTextFont><CharHeightInPoints>20</CharHeightInPoints></DetaiCircleTextFont>"
            "<LineThickness>10</LineThickness><UppercaseAll>True</UppercaseAll>"
            "<CommonViewOptions><DetailingPerStandard>True</DetailingPerStandard>"
            "<LabelOptionsName>2</LabelOptionsName></CommonViewOptions></Detail>"
            "<Section><SectionViewArrowWidht>0.01</SectionViewArrowWidht><SectionViewArrowWidth>5</"
            "SectionViewArrowWidth><BaseSectonStandard>2</BaseSectonStandard>"
            "<LabelOptionsLabelFont><CharHeightInPoints>7</CharHeightInPoints></"
            "LabelOptionsLabelFont>"
            "<LabelOptionsLabelFont><CharHeightInPoints>9</CharHeightInPoints></"
            "LabelOptionsLabelFont>"
            "</Section></Views>"));
    const CenterlineOptionsValues& c = p.GetCenterlinesCenterMarksOptions()->Values();
    EXPECT_EQ(c.centerMarkSize, 0.5);
    EXPECT_FALSE(c.centerMarkShowLines);
    EXPECT_TRUE(c.centerMarkUseCenterLine);
    EXPECT_EQ(c.centerlineExtension, 0.0);

    const LineThicknessValues& t = p.GetLineThicknessOptions()->Values();
    EXPECT_EQ(t.thick6, 0.25);
    EXPECT_EQ(t.thin, 0.0);  // not a number
    EXPECT_EQ(t.normal, 0.00025);

    const KVSWX_DocViewOptions& views = *p.GetViewOptions();
    const DetailViewOptionsValues& d = views.GetDetailOptions()->Values();
    EXPECT_EQ(d.lineThickness, 10);
    EXPECT_FALSE(d.uppercaseAll);
    EXPECT_TRUE(d.isStacked);
    const CommonViewOptionsValues& dc = views.GetDetailOptions()->GetCommonViewOptions()->Values();
    EXPECT_FALSE(dc.detailingPerStandard);
    EXPECT_EQ(dc.labelOptionsName, 2);
    EXPECT_EQ(dc.detailingStandard, 1);
    const SectionViewOptionsValues& s = views.GetSectionOptions()->Values();
    EXPECT_EQ(s.sectionViewArrowWidht, 0.01);
    EXPECT_EQ(s.baseSectonStandard, 2);

    // The fonts as written back: the misspelt name read, the full spelling
    // ignored; of two label fonts the first one.
    const std::string xml = Write(p);
    const std::size_t circle = At(xml, "<DetaiCircleTextFont>");
    EXPECT_EQ(xml.find("<IsBold>true</IsBold>"), std::string::npos);
    EXPECT_LT(circle, At(xml, "<CharHeightInPoints>20</CharHeightInPoints>"));
    EXPECT_TRUE(Has(xml, "<CharHeightInPoints>7</CharHeightInPoints>"));
    EXPECT_FALSE(Has(xml, "<CharHeightInPoints>9</CharHeightInPoints>"));
    // A view type missing from the file reads as a fresh record.
    EXPECT_TRUE(Has(xml,
                    "<Projected>\n\t\t\t\t<CommonViewOptions>\n\t\t\t\t\t<DetailingStandard "
                    "swDetailingStandard=\"swDetailingStandardANSI\">1</DetailingStandard>"));
}

TEST_F(DocumentPropertiesTest, DimensionStylesWrittenBackAsRead) {
    KVSWX_DocumentProperties p;
    Read(p, Wrap("<DimensionStyles><DimensionStyle Units='3' Scale='2.5' Other='x'>Metric &amp; "
                 "more</DimensionStyle>"
                 "<Anything Units='-2'/><DimensionStyle Scale='1' "
                 "Scale2='7'>S</DimensionStyle></DimensionStyles>"));
    const auto& styles = p.GetDimensionStyles()->GetStyles();
    ASSERT_EQ(styles.size(), 3u);
    EXPECT_EQ(styles[0]->GetName(), L"Metric & more");
    EXPECT_EQ(styles[1]->GetScale(), 0.0);
    EXPECT_EQ(styles[1]->GetUnits(), -2);
    const std::string xml = Write(p);
    EXPECT_TRUE(Has(
        xml,
        "\n\t\t\t<DimensionStyle Scale=\"2.500000\" Units=\"3\">Metric &amp; more</DimensionStyle>"
        "\n\t\t\t<DimensionStyle Scale=\"0.000000\" Units=\"-2\"/>"
        "\n\t\t\t<DimensionStyle Scale=\"1.000000\" Units=\"0\">S</DimensionStyle>"
        "\n\t\t</DimensionStyles>"))
        << xml;

    KVSWX_DocumentProperties empty;
    Read(empty, Wrap("<DimensionStyles/>"));
    EXPECT_TRUE(empty.GetDimensionStyles()->GetStyles().empty());
    EXPECT_FALSE(Has(Write(empty), "DimensionStyles"));
}

}  // namespace
}  // namespace kvswx
