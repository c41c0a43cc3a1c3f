// The math objects of the recorded application: mapping points and vectors
// through 16-number transforms, inverses, products and placements.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "platform/com.h"
#include "recorded/recording.h"

namespace kvswx::recorded {
namespace {

using Xyz = std::array<double, 3>;

// Rotation of 90 degrees about z (x axis -> y), scale 2, translation (10, 20, 30).
constexpr const char* kRotatedScaled = "[0, 1, 0,  -1, 0, 0,  0, 0, 1,  10, 20, 30,  2,  0, 0, 0]";

class TransformTest : public ::testing::Test {
protected:
    void SetUp() override {
        recording_ = LoadRecordingFromString(std::string(R"({"format": "kvswx-recording/1",
            "document": {"drawing": {"sheets": [{"views": [
              {"name": "V", "transform": )") + kRotatedScaled +
                                                 R"(,
               "sketch": {"placement": [1,0,0, 0,1,0, 0,0,1, 5,0,0, 1, 0,0,0],
                          "blockInstances": [{"name": "B", "placement": [1,0,0, 0,1,0, 0,0,1, 0,0,0, 3, 0,0,0]}]}},
              {"name": "Singular", "transform": [1,0,0, 0,0,0, 0,0,1, 0,0,0, 1, 0,0,0]},
              {"name": "Short", "transform": [1, 0, 0]}]}]}}})",
                                             "transform.json");
        utility_ = recording_->Application()->MathUtility();
        view_ = recording_->Document()->QueryDrawing()->FirstView();
    }

    Xyz MapPoint(const Xyz& p, const Ref<SourceTransform>& t) const {
        const auto data =
            utility_->CreatePoint(p[0], p[1], p[2])->MultiplyTransform(t)->ArrayData().values;
        return {data.at(0), data.at(1), data.at(2)};
    }
    Xyz MapVector(const Xyz& v, const Ref<SourceTransform>& t) const {
        const auto data =
            utility_->CreateVector(v[0], v[1], v[2])->MultiplyTransform(t)->ArrayData().values;
        return {data.at(0), data.at(1), data.at(2)};
    }
    static void ExpectNear(const Xyz& got, const Xyz& want) {
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(got[i], want[i], 1e-12) << "coordinate " << i;
    }

    std::shared_ptr<Recording> recording_;
    Ref<SourceMathUtility> utility_;
    Ref<SourceView> view_;
};

// The process keeps the utility from one run to the next: it must not keep
// the recording (its whole store) alive that long, and once the recording
// is gone its calls fail as a disconnected object's do.
TEST_F(TransformTest, TheUtilityDoesNotKeepTheRecordingAlive) {
    const std::weak_ptr<SourceView> view = view_;
    EXPECT_NE(utility_->CreatePoint(1, 2, 3), nullptr);
    view_.reset();
    recording_.reset();
    EXPECT_TRUE(view.expired());
    try {
        utility_->CreatePoint(1, 2, 3);
        ADD_FAILURE() << "a call after the recording was freed succeeded";
    } catch (const ComError& e) {
        EXPECT_EQ(e.Code(), kRPC_E_DISCONNECTED);
    }
}

TEST_F(TransformTest, PointsRotateScaleThenTranslateVectorsOnlyRotateAndScale) {
    const auto t = view_->Transform();
    // p*R for p = (1, 0, 0) is the x axis (0, 1, 0); scaled by 2, moved by t.
    ExpectNear(MapPoint({1, 0, 0}, t), {10, 22, 30});
    ExpectNear(MapPoint({0, 1, 0}, t), {8, 20, 30});
    ExpectNear(MapVector({3, 0, 0}, t), {0, 6, 0});
    EXPECT_EQ(t->Components().scale, 2.0);
    EXPECT_EQ(t->Components().xAxis->ArrayData().values, (std::vector<double>{0, 1, 0}));
    const auto unit = utility_->CreateVector(3, 4, 0)->Normalise()->ArrayData().values;
    EXPECT_NEAR(unit[0], 0.6, 1e-15);
    EXPECT_NEAR(unit[1], 0.8, 1e-15);
}

TEST_F(TransformTest, InverseUndoesTheMappingProductMapsThroughTheFirstThenTheSecond) {
    const auto t = view_->Transform();
    const auto inverse = t->Inverse();
    ASSERT_TRUE(inverse);
    EXPECT_NEAR(inverse->Components().scale, 0.5, 1e-15);
    for (const Xyz& p : {Xyz{1, 2, 3}, Xyz{-7.5, 0.25, 1e3}}) {
        ExpectNear(MapPoint(MapPoint(p, t), inverse), p);
        ExpectNear(MapPoint(MapPoint(p, inverse), t), p);
    }
    ExpectNear(MapVector(MapVector({1, 2, 3}, t), inverse), {1, 2, 3});

    const auto shift =
        utility_->CreateTransform({{1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0}, 0});
    const Xyz p{1, 2, 3};
    ExpectNear(MapPoint(p, t->Multiply(shift)), MapPoint(MapPoint(p, t), shift));
    ExpectNear(MapPoint(p, shift->Multiply(t)), MapPoint(MapPoint(p, shift), t));
}

TEST_F(TransformTest, DegenerateTransformsGiveNoneOrZeros) {
    const auto singular = view_->NextView()->Transform();
    EXPECT_FALSE(singular->Inverse());
    // A short transform keeps its recorded numbers; the missing ones count
    // as 0, scale included, so every point lands on the translation.
    const auto shortOne = view_->NextView()->NextView()->Transform();
    ExpectNear(MapPoint({4, 5, 6}, shortOne), {0, 0, 0});
    EXPECT_FALSE(utility_->CreatePoint(1, 2, 3)->MultiplyTransform(nullptr));
}

TEST_F(TransformTest, PlacementsCombineInnerFirst) {
    const auto sketch = view_->Sketch();
    const auto outer = sketch->Placement();
    ASSERT_TRUE(outer);
    const auto instance = sketch->BlockInstances().at(0);
    const auto inner = instance->Placement()->SegmentTransform();
    // Block geometry goes through the instance's transform (scale 3), then
    // through the sketch's placement (shift by 5 in x).
    const auto combined = outer->Combine(inner);
    ExpectNear(MapPoint({1, 1, 0}, combined->SegmentTransform()), {8, 3, 0});
    ExpectNear(MapPoint({1, 1, 0}, outer->Combine(instance->Placement())->SegmentTransform()),
               {8, 3, 0});
}

}  // namespace
}  // namespace kvswx::recorded
