// The `kvswx gen` recordings and the `kvswx roundtrip` check.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "containers/xml_wrapper.h"
#include "recorded/recording.h"
#include "synthetic_recording.h"
#include "test_support.h"

namespace kvswx {
namespace {

namespace fs = std::filesystem;
using cli::SyntheticShape;

TEST(SyntheticRecording, SameSeedSameBytesOtherSeedOtherBytesAndAlwaysLoads) {
    SyntheticShape shape;
    shape.sheets = 2;
    shape.viewsPerSheet = 3;
    shape.segmentsPerView = 40;
    const std::string first = cli::SyntheticRecording(shape);
    EXPECT_EQ(first, cli::SyntheticRecording(shape));
    shape.seed = 2;
    const std::string other = cli::SyntheticRecording(shape);
    EXPECT_NE(first, other);
    for (const std::string* text : {&first, &other}) {
        EXPECT_NO_THROW(recorded::LoadRecordingFromString(*text, "synthetic"));
    }
    shape.viewsPerSheet = 0;  // sheets holding only their sheet view
    EXPECT_NO_THROW(recorded::LoadRecordingFromString(cli::SyntheticRecording(shape), "empty"));
}

TEST(SyntheticRecording, MixAndShapeErrors) {
    std::array<std::uint32_t, cli::kSyntheticKindCount> mix{};
    EXPECT_EQ(cli::ParseSyntheticMix("line=2,elliptical-arc=1", mix), "");
    EXPECT_EQ(mix, (std::array<std::uint32_t, 7>{2, 0, 0, 0, 1, 0, 0}));
    const std::map<std::string, std::string> bad = {
        {"circle", "expected KIND=WEIGHT"}, {"lines=1", "unknown segment kind in \"lines=1\""},
        {"arc=1,arc=2", "given twice"},     {"arc=-1", "whole number"},
        {"arc=1x", "whole number"},         {"arc=", "whole number"},
        {"arc=1000001", "whole number"},    {"arc=0,line=0", "no kind a weight"},
    };
    for (const auto& [text, message] : bad) {
        const std::string error = cli::ParseSyntheticMix(text, mix);
        EXPECT_NE(error.find(message), std::string::npos) << text << ": " << error;
        EXPECT_EQ(mix, (std::array<std::uint32_t, 7>{2, 0, 0, 0, 1, 0, 0}))
            << "changed by " << text;
    }
    SyntheticShape huge;
    huge.sheets = 1000;
    huge.viewsPerSheet = 1001;
    EXPECT_NE(cli::CheckSyntheticShape(huge), "");
    huge.viewsPerSheet = 1000;
    huge.segmentsPerView = 101;
    EXPECT_NE(cli::CheckSyntheticShape(huge), "");
}

#ifdef KVSWX_CLI_PATH

struct CommandRun {
    int status = -1;
    std::string err;
};

// Runs kvswx with `args` (none holding a single quote) in `dir`.
CommandRun Kvswx(const std::string& args, const fs::path& dir) {
    const fs::path err = dir / "stderr.txt";
    const std::string line = std::string("cd '") + dir.string() + "' && '" + KVSWX_CLI_PATH + "' " +
                             args + " >/dev/null 2>'" + err.string() + "'";
    const int raw = std::system(line.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFile(err)};
}

// Generated, extracted, read back: every segment asked for is written, of
// the kinds of the mix only, and the file reads back to the same bytes.
TEST(GenAndRoundtrip, GeneratedDrawingExtractsWholeAndRoundTrips) {
    const fs::path dir = test::ScratchDir();
    ASSERT_EQ(Kvswx("gen --sheets 2 --views-per-sheet 3 --segments 60 --mix circle=1,spline=2 "
                    "--seed 9 -o g.json",
                    dir)
                  .status,
              0);
    ASSERT_EQ(Kvswx("extract --out out g.json", dir).status, 0);
    KVSWX_XMLWrapper wrapper;
    wrapper.Load((dir / "out" / "Synthetic.xml").wstring());
    const KVSWX_Drawing& drawing = *wrapper.GetDrawing();
    ASSERT_EQ(drawing.GetSheetCount(), 2U);
    const std::string xml = test::ReadFile(dir / "out" / "Synthetic.xml");
    std::map<std::string, int> kinds;
    for (const char* kind : {"<Line ", "<Arc ", "<Circle ", "<Ellipse ", "<EllipticalArc ",
                             "<Spline ", "<Parabola "}) {
        for (auto at = xml.find(kind); at != std::string::npos; at = xml.find(kind, at + 1))
            ++kinds[kind];
    }
    EXPECT_EQ(kinds["<Circle "] + kinds["<Spline "], 60);
    EXPECT_GT(kinds["<Spline "], kinds["<Circle "]);
    EXPECT_EQ(kinds.size(), 2U);

    EXPECT_EQ(Kvswx("roundtrip out/Synthetic.xml -o again.xml", dir).status, 0);
    EXPECT_EQ(test::ReadFile(dir / "again.xml"), xml);

    // One byte changed on line 3: reported there.
    std::string changed = xml;
    const auto third = xml.find('\n', xml.find('\n') + 1) + 1;
    changed.insert(xml.find('>', third), " Extra=\"1\"");
    test::WriteFile(dir / "changed.xml", changed);
    const CommandRun run = Kvswx("roundtrip changed.xml", dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("(line 3, column "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("read ' Extra=\"1\""), std::string::npos) << run.err;

    EXPECT_EQ(Kvswx("roundtrip missing.xml", dir).status, 1);
    test::WriteFile(dir / "broken.xml", "<swdrawing><sheet></swdrawing>");
    EXPECT_EQ(Kvswx("roundtrip broken.xml", dir).status, 1);
    EXPECT_EQ(Kvswx("gen --segments 7 --views-per-sheet 2", dir).status, 2);
    EXPECT_EQ(Kvswx("gen --mix arc=0", dir).status, 2);
    EXPECT_EQ(Kvswx("gen --sheets 0", dir).status, 2);
}

#endif  // KVSWX_CLI_PATH

}  // namespace
}  // namespace kvswx
