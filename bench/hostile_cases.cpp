#include "hostile_cases.h"

#include "child_process.h"
#include "hostile_files.h"

#include <QDir>
#include <QFile>

#include <string>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

QString suffixOf(HostileShape shape)
{
    switch (shape) {
    case HostileShape::FitEmptySessions:
    case HostileShape::FitOneByteSessions:
    case HostileShape::FitLaps:
        return u".fit"_s;
    case HostileShape::TcxAttributes:
    case HostileShape::TcxActivities:
        return u".tcx"_s;
    case HostileShape::GzipBomb:
        return u".gpx.gz"_s;
    default:
        return u".gpx"_s;
    }
}

void readHostile(benchmark::State& state, BenchContext& context, std::size_t index)
{
    const HostileCase& hostile = hostileCases()[index];
    const std::string name = "hostile/" + std::to_string(index);
    const QString path =
        QDir(context.root).filePath(u"hostile-%1"_s.arg(index) + suffixOf(hostile.shape));
    const QByteArray bytes =
        hostileFile(hostile.shape, context.smoke ? HostileSize::Small : HostileSize::Full);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        state.SkipWithError("could not write the generated file");
        return;
    }
    file.close();
    context.samples->notes[name + ":bytes"] = std::to_string(bytes.size());
    context.samples->notes[name + ":what"] = hostile.name;
    ChildRequest request;
    request.program = QDir(context.programDir).filePath(u"torvanu_bench_read_file"_s);
    request.arguments = {path};
    for (auto _ : state) {
        const ChildRun run = runChild(request);
        const qsizetype tab = run.output.indexOf('\t');
        const QList<QByteArray> figures = run.output.left(tab).split(' ');
        if (run.exitCode != 0 || tab < 0 || figures.size() != 4) {
            state.SkipWithError("the reading process did not report");
            break;
        }
        state.SetIterationTime(figures[0].toDouble());
        context.samples->add(name + ":kilobytes", figures[1].toDouble());
        context.samples->add(name + ":processor", figures[3].toDouble());
        const QByteArray message = run.output.mid(tab + 1).trimmed();
        context.samples->notes[name + ":result"] =
            message.isEmpty() ? "read, activities: " + figures[2].toStdString()
                              : "refused: " + message.toStdString();
    }
    QFile::remove(path);
}

} // namespace

void registerHostileCases(BenchContext& context)
{
    BenchContext* c = &context;
    for (std::size_t i = 0; i < hostileCases().size(); ++i) {
        if (context.smoke && hostileCases()[i].fullOnly)
            continue;
        benchmark::RegisterBenchmark(("hostile/" + std::to_string(i)).c_str(),
                                     [c, i](benchmark::State& s) { readHostile(s, *c, i); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(context.smoke ? 1 : 4);
    }
}

} // namespace torvanu::bench
