// Writing and reading a drawing whose views hold many sketch segments.
//
//   build/default/kvswx_bench --benchmark_filter=Segments
//
// Items are segments; bytes are bytes of XML written or parsed.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "containers/xml_wrapper.h"
#include "views/base_view.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

constexpr int kSheets = 4;
constexpr int kViewsPerSheet = 10;

// Appends `count` segments cycling through every kind, with values that need
// all sixteen decimals.
void FillSegments(KVSWX_SketchSegmentsCollection& c, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) {
        const double x = 0.001 * static_cast<double>(i) + 1.0 / 3.0;
        switch (i % 7) {
            case 0: {
                KVSWX_Line* line = c.AddLine();
                line->SetStartPoint({x, x / 7, 0});
                line->SetEndPoint({x + 0.01, x / 3, 0});
                line->SetConstructionGeometry(i % 5 == 0);
                break;
            }
            case 1: {
                KVSWX_Circle* circle = c.AddCircle();
                circle->SetCenterPoint({x, x, 0});
                circle->SetRadius(x / 11);
                break;
            }
            case 2: {
                KVSWX_Arc* arc = c.AddArc();
                arc->SetStartPoint({x, 0.1});
                arc->SetAlongPoint({x + 0.05, 0.15});
                arc->SetEndPoint({x + 0.1, 0.1});
                break;
            }
            case 3:
                c.AddEllipse()->SetParams(DoubleList{x, x, 0, 0.02, x + 0.02, x, 0, 0.01, x, x + 0.01, 0});
                break;
            case 4: {
                KVSWX_EllipticalArc* ea = c.AddEllipticalArc();
                ea->SetCenterPoint({x, x, 0});
                ea->SetMajorPoint({x + 0.02, x, 0});
                ea->SetRatio(0.5);
                ea->SetStartAngle(-x);
                ea->SetEndAngle(x);
                break;
            }
            case 5: {
                KVSWX_Spline* spline = c.AddSpline();
                spline->SetOrder(4);
                spline->SetIsRational(i % 2 == 1);
                spline->SetControlPoints(
                    DoubleList{x, 0, 0, x + 0.1, 0.1, 0, x + 0.2, 0, 0, x + 0.3, 0.1, 0});
                spline->SetKnotPoints(DoubleList{0, 0, 0, 0, 1, 1, 1, 1});
                spline->SetWeights(DoubleList{1, x, x, 1});
                break;
            }
            default: {
                KVSWX_Parabola* parabola = c.AddParabola();
                parabola->SetStartPoint({x - 0.01, 0.01, 0});
                parabola->SetEndPoint({x + 0.01, 0.01, 0});
                parabola->SetFocus({x, 0.0025, 0});
                parabola->SetApex({x, 0, 0});
                break;
            }
        }
    }
}

// A drawing of kSheets x kViewsPerSheet views, each with `perView` segments
// of manual geometry.
void BuildDrawing(KVSWX_XMLWrapper& wrapper, std::int64_t perView) {
    KVSWX_Drawing* drawing = wrapper.NewDrawing();
    drawing->SetName(L"Bench.SLDDRW");
    for (int s = 0; s < kSheets; ++s) {
        KVSWX_DrawingSheet* sheet = drawing->GetOrAddSheet(L"Sheet" + std::to_wstring(s + 1));
        sheet->SetDxfName(sheet->GetName());
        for (int v = 0; v < kViewsPerSheet; ++v) {
            KVSWX_BaseView* view =
                sheet->GetOrAddView(L"View" + std::to_wstring(v + 1), L"", L"")->GetBaseView();
            view->SetType(7);
            FillSegments(*view->NewManualGeometry()->NewSegments(), perView);
        }
    }
}

std::int64_t TotalSegments(std::int64_t perView) { return perView * kSheets * kViewsPerSheet; }

void BM_SegmentsWrite(benchmark::State& state) {
    KVSWX_XMLWrapper wrapper;
    BuildDrawing(wrapper, state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string xml = wrapper.ToBytes();
        bytes = xml.size();
        benchmark::DoNotOptimize(xml.data());
    }
    state.SetItemsProcessed(state.iterations() * TotalSegments(state.range(0)));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
    state.counters["xml_bytes"] = static_cast<double>(bytes);
}

void BM_SegmentsRead(benchmark::State& state) {
    std::string xml;
    {
        KVSWX_XMLWrapper source;
        BuildDrawing(source, state.range(0));
        xml = source.ToBytes();
    }
    for (auto _ : state) {
        KVSWX_XMLWrapper reader;
        reader.LoadFromString(xml);
        benchmark::DoNotOptimize(reader.GetDrawing());
    }
    state.SetItemsProcessed(state.iterations() * TotalSegments(state.range(0)));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(xml.size()));
    state.counters["xml_bytes"] = static_cast<double>(xml.size());
}

BENCHMARK(BM_SegmentsWrite)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SegmentsRead)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvswx

BENCHMARK_MAIN();
