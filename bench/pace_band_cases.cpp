#include "pace_band_cases.h"

#include "calc/pace_plan.h"
#include "pace_band/band_painter.h"
#include "shell/program_font.h"
#include "storage/text_bridge.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

void planAndPdf(benchmark::State& state, BandLayout layout)
{
    installFontSubstitutions();
    PlanRequest request;
    request.distanceKm = 100.0;
    request.goalSeconds = 10 * 3600.0;
    request.strategy = Strategy::Drift;
    request.percent = 8.0;
    for (auto _ : state) {
        BandSheet sheet{u"100 km"_s,
                        {},
                        strategyText(request.strategy, request.percent),
                        pacePlan(request).rows};
        if (sheet.rows.empty()) {
            state.SkipWithError("no plan");
            return;
        }
        sheet.goal = toQString(sheet.rows.back().passing);
        const std::optional<QByteArray> pdf = bandPdf(sheet, layout);
        if (!pdf) {
            state.SkipWithError("no PDF");
            return;
        }
        benchmark::DoNotOptimize(pdf->data());
    }
}

// The least any PDF costs: Qt's writer with one page and one line of the same font on it.
void emptyPdf(benchmark::State& state)
{
    installFontSubstitutions();
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageLayout(bandPageLayout(BandLayout::TablePage));
            QPainter painter(&writer);
            painter.setFont(programFont(10));
            painter.drawText(QPointF(100, 100), u"100 km 0:06:00"_s);
        }
        benchmark::DoNotOptimize(bytes.data());
    }
}

} // namespace

void registerPaceBandCases(const BenchContext& context)
{
    const bool smoke = context.smoke;
    const auto add = [smoke](const char* name, auto body) {
        benchmark::RegisterBenchmark(name, body)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(smoke ? 1 : 10)
            ->Repetitions(smoke ? 1 : 11);
    };
    add("band/wristband", [](benchmark::State& s) { planAndPdf(s, BandLayout::Wristband); });
    add("band/table", [](benchmark::State& s) { planAndPdf(s, BandLayout::TablePage); });
    add("band/floor", &emptyPdf);
}

} // namespace torvanu::bench
