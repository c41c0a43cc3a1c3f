// kvswx gen: writes a synthetic recording of a chosen shape, for benchmarks
// and scaling checks.
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "synthetic_recording.h"

namespace kvswx::cli {

namespace {

struct GenOptions {
    SyntheticShape shape;
    std::int64_t totalSegments = -1;  // -1: use segmentsPerView
    std::string mix;
    std::string out;
};

int RunGen(GenOptions& options) {
    SyntheticShape& shape = options.shape;
    if (!options.mix.empty()) {
        const std::string error = ParseSyntheticMix(options.mix, shape.mix);
        if (!error.empty()) {
            std::cerr << "kvswx: --mix: " << error << '\n';
            return kExitUsage;
        }
    }
    if (options.totalSegments >= 0) {
        const std::int64_t views = shape.sheets * shape.viewsPerSheet;
        if (views <= 0 || options.totalSegments % views != 0) {
            std::cerr << "kvswx: --segments " << options.totalSegments
                      << " does not divide evenly over " << views << " views\n";
            return kExitUsage;
        }
        shape.segmentsPerView = options.totalSegments / views;
    }
    if (const std::string error = CheckSyntheticShape(shape); !error.empty()) {
        std::cerr << "kvswx: " << error << '\n';
        return kExitUsage;
    }
    if (options.out.empty() || options.out == "-") {
        WriteSyntheticRecording(std::cout, shape);
        std::cout.flush();
        return std::cout ? kExitOk : kExitFailed;
    }
    std::ofstream file(options.out, std::ios::binary | std::ios::trunc);
    if (file) {
        WriteSyntheticRecording(file, shape);
        file.flush();
    }
    if (!file) {
        std::cerr << "kvswx: " << options.out << ": cannot write the recording\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

void AddGenCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<GenOptions>();
    CLI::App* gen = app.add_subcommand(
        "gen",
        "Write a synthetic recording: SHEETS sheets of VIEWS manual-geometry views, each with the "
        "given number of sketch segments drawn at random from the kind mix. The same options and "
        "seed give the same bytes.");
    gen->add_option("--sheets", options->shape.sheets, "Number of sheets")
        ->default_str("1")
        ->check(CLI::Range(std::int64_t{1}, kMaxSyntheticViews));
    gen->add_option("--views-per-sheet", options->shape.viewsPerSheet,
                    "Views on each sheet, not counting the sheet's own view")
        ->default_str("1")
        ->check(CLI::Range(std::int64_t{0}, kMaxSyntheticViews));
    auto* perView = gen->add_option("--segments-per-view", options->shape.segmentsPerView,
                                    "Sketch segments in each view")
                        ->default_str("100")
                        ->check(CLI::Range(std::int64_t{0}, kMaxSyntheticSegments));
    gen->add_option("--segments", options->totalSegments,
                    "Sketch segments in the whole drawing, spread evenly over the views (instead "
                    "of --segments-per-view)")
        ->check(CLI::Range(std::int64_t{0}, kMaxSyntheticSegments))
        ->excludes(perView);
    gen->add_option("--mix", options->mix,
                    "Relative weights of the segment kinds, e.g. line=4,arc=2,circle=1 (kinds not "
                    "listed get 0): line, arc, circle, ellipse, elliptical-arc, spline, parabola; "
                    "default: all 1");
    gen->add_option("--seed", options->shape.seed, "Seed of the random numbers")->default_str("1");
    gen->add_option("-o,--out", options->out, "Recording file to write (default: standard output)");
    gen->callback([options, &status] { status = RunGen(*options); });
}

}  // namespace kvswx::cli
