#include "views/sketch_segments.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

class SketchSegmentsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

void Read(KVSWX_SketchSegmentsCollection& into, const std::string& segments) {
    test::ReadAt("<r><Segments>" + segments + "</Segments></r>", L"/r/Segments",
                 [&](XmlDocument& doc, XmlNode node) { into.GetImpl()->ReadFromNode(doc, node); });
}

// What every kind of segment writes, and that it reads back to the same
// bytes, is pinned by the golden example "geometry" (see
// DrawingXml.EveryExampleReadsBackToItsOwnBytes); here is how lenient
// reading is.
TEST_F(SketchSegmentsTest, ReadingGoesByElementNameAndReadsEveryFieldWhateverTheFlags) {
    KVSWX_SketchSegmentsCollection c;
    Read(c,
         "<Circle swSketchSegments=\"swSketchLINE\" "
         "isConstructionGeometry=\"true\"><Radius>2</Radius></Circle>"
         "<Unknown/>text<!-- note -->"
         "<Arc isConstructionGeometry=\"True\"><StartPoint>1 2 "
         "3</StartPoint><EndPoint>4</EndPoint></Arc>"
         "<Spline isConstructionGeometry=\"1\"><IsRational>false</IsRational><Weights>0.5  "
         "2</Weights>"
         "<ControlPoints/></Spline><Ellipse><Params></Params></Ellipse>");
    ASSERT_EQ(c.GetCount(), 4u);
    const auto& circle = dynamic_cast<const KVSWX_Circle&>(*c.GetSegments()[0]);
    EXPECT_EQ(circle.GetType(), kSketchSegmentArc);
    EXPECT_EQ(circle.Values().radius, 2.0);
    const auto& arc = dynamic_cast<const KVSWX_Arc&>(*c.GetSegments()[1]);
    EXPECT_EQ(arc.Values().startPoint, (Point2{1, 2}));  // extra token ignored
    EXPECT_EQ(arc.Values().endPoint, (Point2{4, 0}));    // missing token stays 0
    const auto& spline = dynamic_cast<const KVSWX_Spline&>(*c.GetSegments()[2]);
    EXPECT_EQ(DoubleList(spline.Values().weights.begin(), spline.Values().weights.end()), (DoubleList{0.5, 2}));
    EXPECT_TRUE(spline.Values().controlPoints.empty());
    EXPECT_TRUE(dynamic_cast<const KVSWX_Ellipse&>(*c.GetSegments()[3]).Values().params.empty());
    // Construction geometry only for exactly "true".
    const std::vector<bool> construction = {true, false, false, false};
    for (std::size_t i = 0; i < construction.size(); ++i) {
        EXPECT_EQ(c.GetSegments()[i]->IsConstructionGeometry(), construction[i]) << i;
    }
}

// Fields are found by name whatever the order of the children: in list
// order, reversed, with some missing, repeated (the last counts) or with
// other elements and names that merely start like a field's between them.
TEST_F(SketchSegmentsTest, FieldsReadInAnyOrder) {
    const struct {
        const char* children;
        EllipticalArcValues expected;
    } cases[] = {
        {"<CenterPoint>1 2 3</CenterPoint><MajorPoint>4 5 6</MajorPoint><Ratio>7</Ratio>"
         "<IsClockwise>true</IsClockwise><StartAngle>8</StartAngle><EndAngle>9</EndAngle>",
         {{1, 2, 3}, {4, 5, 6}, 7, true, 8, 9}},
        {"<EndAngle>9</EndAngle><StartAngle>8</StartAngle><IsClockwise>true</IsClockwise>"
         "<Ratio>7</Ratio><MajorPoint>4 5 6</MajorPoint><CenterPoint>1 2 3</CenterPoint>",
         {{1, 2, 3}, {4, 5, 6}, 7, true, 8, 9}},
        {"<Ratio>7</Ratio><EndAngle>9</EndAngle>", {{}, {}, 7, false, 0, 9}},
        {"<Ratio>7</Ratio><Ratio>3</Ratio><StartAngle>8</StartAngle><Ratio>5</Ratio>",
         {{}, {}, 5, false, 8, 0}},
        {"<CenterPoint>1</CenterPoint><Centre>2</Centre><MajorPointX>3</MajorPointX>"
         "<Rati>4</Rati><StartAngle>8</StartAngle>",
         {{1, 0, 0}, {}, 0, false, 8, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.children);
        KVSWX_SketchSegmentsCollection read;
        Read(read, std::string("<EllipticalArc>") + c.children + "</EllipticalArc>");
        ASSERT_EQ(read.GetCount(), 1u);
        const EllipticalArcValues& v =
            dynamic_cast<const KVSWX_EllipticalArc&>(*read.GetSegments()[0]).Values();
        EXPECT_EQ(v.centerPoint, c.expected.centerPoint);
        EXPECT_EQ(v.majorPoint, c.expected.majorPoint);
        EXPECT_EQ(v.ratio, c.expected.ratio);
        EXPECT_EQ(v.isClockwise, c.expected.isClockwise);
        EXPECT_EQ(v.startAngle, c.expected.startAngle);
        EXPECT_EQ(v.endAngle, c.expected.endAngle);
    }
}

// Segments keep their own values however many are made, whichever order
// they go in, whether they outlive their collection, and on whichever
// thread they are made or destroyed.
TEST_F(SketchSegmentsTest, ManySegmentsKeepTheirValuesWhereverTheyAreMadeAndDestroyed) {
    auto make = [](std::vector<std::unique_ptr<KVSWX_SketchSegment>>& into, int count, double base) {
        for (int i = 0; i < count; ++i) {
            const double v = base + i;
            if (i % 3 == 0) {
                auto line = std::make_unique<KVSWX_Line>();
                line->SetEndPoint({v, v, v});
                into.push_back(std::move(line));
            } else if (i % 3 == 1) {
                auto spline = std::make_unique<KVSWX_Spline>();
                spline->SetKnotPoints(DoubleList{v});
                into.push_back(std::move(spline));
            } else {
                auto circle = std::make_unique<KVSWX_Circle>();
                circle->SetRadius(v);
                into.push_back(std::move(circle));
            }
        }
    };
    auto valueOf = [](const KVSWX_SketchSegment& s) {
        if (const auto* line = dynamic_cast<const KVSWX_Line*>(&s)) return line->Values().endPoint[2];
        if (const auto* spline = dynamic_cast<const KVSWX_Spline*>(&s)) return spline->Values().knotPoints.at(0);
        return dynamic_cast<const KVSWX_Circle&>(s).Values().radius;
    };
    std::vector<std::unique_ptr<KVSWX_SketchSegment>> kept;
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<KVSWX_SketchSegment>> made;
        make(made, 3000, round * 10000.0);
        // Every other one destroyed now, every tenth kept past the round.
        for (std::size_t i = 0; i < made.size(); i += 2) made[i].reset();
        for (std::size_t i = 1; i < made.size(); i += 10) kept.push_back(std::move(made[i]));
        for (std::size_t i = 1; i < made.size(); i += 2) {
            if (!made[i]) continue;
            ASSERT_EQ(valueOf(*made[i]), round * 10000.0 + static_cast<double>(i));
        }
    }
    // Made on a thread that ends, destroyed here; made here, destroyed there.
    std::vector<std::unique_ptr<KVSWX_SketchSegment>> fromThread;
    std::thread([&] { make(fromThread, 2000, 50000.0); }).join();
    for (std::size_t i = 0; i < fromThread.size(); ++i)
        ASSERT_EQ(valueOf(*fromThread[i]), 50000.0 + static_cast<double>(i));
    fromThread.clear();
    std::vector<std::unique_ptr<KVSWX_SketchSegment>> toThread;
    make(toThread, 2000, 60000.0);
    std::thread([&] { toThread.clear(); }).join();
    for (std::size_t k = 0; k < kept.size(); ++k)
        ASSERT_EQ(valueOf(*kept[k]), (k / 300) * 10000.0 + static_cast<double>(1 + (k % 300) * 10));
}

// The storage segments are cut from: a block goes back to the heap once
// every piece cut from it has come back and the thread has moved on to
// another block, never sooner. Pieces of 176 bytes take 184 with their
// header, so 89 of them fill the 16,376 bytes a block of 16 KiB offers;
// the test checks that premise as it goes.
TEST_F(SketchSegmentsTest, StorageBlockFilledExactlyGoesBackOnlyOnceLeft) {
    constexpr std::size_t kObject = 176;
    constexpr std::size_t kPerBlock = 89;
    std::vector<void*> earlier{detail::AllocateSegmentStorage(kObject)};
    if (detail::SegmentStorageBlocks() == 0) {
        detail::ReleaseSegmentStorage(earlier[0], kObject);
        GTEST_SKIP() << "this build asks the heap for every piece";
    }
    // Cut until a piece starts a new block, then give back the pieces before it.
    const std::size_t startBlocks = detail::SegmentStorageBlocks();
    while (detail::SegmentStorageBlocks() == startBlocks) earlier.push_back(detail::AllocateSegmentStorage(kObject));
    std::vector<void*> block{earlier.back()};
    earlier.pop_back();
    for (void* piece : earlier) detail::ReleaseSegmentStorage(piece, kObject);
    const std::size_t blocks = detail::SegmentStorageBlocks();

    while (block.size() < kPerBlock) block.push_back(detail::AllocateSegmentStorage(kObject));
    ASSERT_EQ(detail::SegmentStorageBlocks(), blocks) << "89 pieces no longer fit in one block";
    for (void* piece : block) detail::ReleaseSegmentStorage(piece, kObject);
    EXPECT_EQ(detail::SegmentStorageBlocks(), blocks) << "a full block went back while still being cut from";

    // The next piece starts a new block; the full one goes back then.
    void* next = detail::AllocateSegmentStorage(kObject);
    std::memset(next, 0x5A, kObject);
    EXPECT_EQ(detail::SegmentStorageBlocks(), blocks) << "89 pieces no longer fill a block";
    detail::ReleaseSegmentStorage(next, kObject);
}

// A collection gives its segments back in runs per block; once the
// collections are destroyed (the older first, whose last block the newer
// one shares), every block they filled has gone back but the one the
// thread still cuts from.
TEST_F(SketchSegmentsTest, DestroyedCollectionsGiveTheirBlocksBack) {
    const std::size_t before = detail::SegmentStorageBlocks();
    auto fill = [](KVSWX_SketchSegmentsCollection& segments, double base) {
        for (int i = 0; i < 10000; ++i) {
            segments.AddSpline()->SetKnotPoints(DoubleList(8, base + i));
            segments.AddLine()->SetEndPoint({1, 2, 3});
        }
    };
    auto older = std::make_unique<KVSWX_SketchSegmentsCollection>();
    fill(*older, 0);
    auto newer = std::make_unique<KVSWX_SketchSegmentsCollection>();
    fill(*newer, 10000);
    if (detail::SegmentStorageBlocks() == 0) GTEST_SKIP() << "this build asks the heap for every piece";
    ASSERT_GT(detail::SegmentStorageBlocks(), before + 100);
    older.reset();
    const auto& last = dynamic_cast<const KVSWX_Spline&>(*newer->GetSegments()[19998]);
    EXPECT_EQ(last.Values().knotPoints.back(), 19999.0);
    newer.reset();
    EXPECT_LE(detail::SegmentStorageBlocks(), before + 1);
}

}  // namespace
}  // namespace kvswx
