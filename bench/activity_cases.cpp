#include "activity_cases.h"

#include "activity_generator.h"

#include "activity/activity_reader.h"
#include "race_detail/race_detail_entry.h"
#include "race_detail/race_detail_window.h"
#include "silent_dialogs.h"
#include "views/charts/chart_painter.h"
#include "views/race_detail/course_map.h"
#include "views/race_detail/course_painter.h"
#include "views/race_detail/profile_chart.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QXmlStreamReader>

#include <chrono>
#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

constexpr int kRunSeconds = 4 * 60 * 60;
constexpr int kSmokeSeconds = 60;

// Written once per run and shared by the figure and its floor.
QString runFile(const BenchContext& context, ActivityFormat format)
{
    const QString name = format == ActivityFormat::Fit   ? u"run.fit"_s
                         : format == ActivityFormat::Gpx ? u"run.gpx"_s
                                                         : u"run.tcx"_s;
    const QString path = QDir(context.root).filePath(name);
    if (QFile::exists(path))
        return path;
    const int seconds = context.smoke ? kSmokeSeconds : kRunSeconds;
    const QByteArray bytes = format == ActivityFormat::Fit   ? generateFitRun(seconds)
                             : format == ActivityFormat::Gpx ? generateGpxRun(seconds)
                                                             : generateTcxRun(seconds);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return {};
    return path;
}

enum class Reading
{
    Decode, // the reader, from the file's name to its activities
    Bytes,  // the file's bytes, and nothing else
    Tokens, // the bytes, and every token of them through QXmlStreamReader
};

void readRun(benchmark::State& state, BenchContext& context, ActivityFormat format, Reading reading)
{
    const QString path = runFile(context, format);
    if (path.isEmpty()) {
        state.SkipWithError("could not write the generated file");
        return;
    }
    const std::size_t expected = (context.smoke ? kSmokeSeconds : kRunSeconds) + 1;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (reading != Reading::Decode) {
            QFile file(path);
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            if (reading == Reading::Tokens) {
                QXmlStreamReader xml(bytes);
                while (!xml.atEnd())
                    xml.readNext();
            }
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
            if (bytes.isEmpty()) {
                state.SkipWithError("could not read the generated file");
                return;
            }
            continue;
        }
        const ActivityReadResult result = readActivityFile(path);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (result.error || result.activities.size() != 1 ||
            result.activities.front().track.size() != expected) {
            state.SkipWithError("the generated file did not read whole");
            return;
        }
    }
}

// From the choice of レース詳細 to the window painted whole: reading the file with its heart
// rate, elevation and cadence, the splits and what the channels say of each km, the texts, the
// layout and the first paint of the table and the chart.
void openRaceDetail(benchmark::State& state, BenchContext& context)
{
    RaceRecord record;
    record.raceName = u"4時間走"_s;
    record.distance = u"42.195km"_s;
    record.raceTime = u" 4時間 0分 0秒"_s;
    record.dataPath = runFile(context, ActivityFormat::Fit);
    if (record.dataPath.isEmpty()) {
        state.SkipWithError("could not write the generated file");
        return;
    }
    SilentDialogs dialogs;
    for (auto _ : state) {
        const auto start = Clock::now();
        RaceDetailWindow* window = torvanu::openRaceDetail(nullptr, dialogs, record);
        const QPixmap painted = window ? window->grab() : QPixmap();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        // Heart rate, and the climbs and adjusted pace of the elevation: the split table's
        // columns beside the four every file gets.
        constexpr qsizetype channelColumns = 8;
        const bool whole = window && window->data().view.headers.size() == channelColumns;
        delete window;
        if (!whole || painted.isNull() || dialogs.messages() > 0) {
            state.SkipWithError("the window did not open with the file's channels");
            return;
        }
    }
}

// A 4-hour run at a point a second with every channel: one loop of a marathon near Tokyo,
// rolling hills, a rising heart rate and the pace changing every minute.
Activity channelledRun(int seconds)
{
    constexpr double kRadius = 6700;
    constexpr double kMetresPerDegree = 6'371'008.8 * std::numbers::pi / 180;
    Activity run;
    double distance = 0;
    for (int t = 0; t <= seconds; ++t) {
        run.track.push_back({static_cast<double>(t), distance});
        const double angle = distance / kRadius;
        run.channels.altitude.push_back(static_cast<float>(40 + 15 * std::sin(distance / 500)));
        run.channels.heartRate.push_back(static_cast<float>(130 + 40.0 * t / seconds));
        run.channels.position.push_back(
            {35.68 + kRadius * std::sin(angle) / kMetresPerDegree,
             139.76 + kRadius * (1 - std::cos(angle)) / kMetresPerDegree / 0.81});
        distance += (t / 60) % 2 == 0 ? 2.8 : 3.2;
    }
    return run;
}

// The profile and the course of a 4-hour track, computed from the activity and painted at the
// window's sizes; the floor fills the same two pictures.
void paintProfileAndCourse(benchmark::State& state, BenchContext& context, bool floor)
{
    const Activity run = channelledRun(context.smoke ? kSmokeSeconds : kRunSeconds);
    const QFont font = QGuiApplication::font();
    QImage profileImage(480, 260, QImage::Format_RGB32);
    QImage courseImage(360, 320, QImage::Format_RGB32);
    for (auto _ : state) {
        const auto start = Clock::now();
        if (floor) {
            profileImage.fill(Qt::white);
            courseImage.fill(Qt::white);
        } else {
            const ProfileChart profile = profileChart(run);
            const std::optional<CourseMap> course = courseMap(run);
            QPainter onProfile(&profileImage);
            ChartPainter(profile.chart, font).paint(onProfile, profileImage.rect());
            onProfile.end();
            QPainter onCourse(&courseImage);
            if (course)
                CoursePainter(*course, font).paint(onCourse, courseImage.rect());
        }
        state.SetIterationTime(secondsSince(start));
    }
}

} // namespace

void registerActivityCases(BenchContext& context)
{
    BenchContext* c = &context;
    for (const auto& [format, name] :
         {std::pair{ActivityFormat::Fit, std::string("activity/fit")},
          std::pair{ActivityFormat::Gpx, std::string("activity/gpx")},
          std::pair{ActivityFormat::Tcx, std::string("activity/tcx")}}) {
        for (const auto& [suffix, reading] :
             {std::pair{"", Reading::Decode}, std::pair{"/floor", Reading::Bytes},
              std::pair{"/tokens", Reading::Tokens}}) {
            if (format == ActivityFormat::Fit && reading == Reading::Tokens)
                continue;
            benchmark::RegisterBenchmark(
                (name + suffix).c_str(),
                [c, format = format, reading = reading](benchmark::State& s) {
                    readRun(s, *c, format, reading);
                })
                ->UseManualTime()
                ->Iterations(context.smoke ? 1 : 20)
                ->Repetitions(context.smoke ? 1 : 6);
        }
    }
    for (const auto& [name, floor] :
         {std::pair{"race_detail/paint", false}, std::pair{"race_detail/paint/floor", true}}) {
        benchmark::RegisterBenchmark(
            name, [c, floor = floor](benchmark::State& s) { paintProfileAndCourse(s, *c, floor); })
            ->UseManualTime()
            ->Iterations(context.smoke ? 1 : 20)
            ->Repetitions(context.smoke ? 1 : 6);
    }
    benchmark::RegisterBenchmark("race_detail/open",
                                 [c](benchmark::State& s) { openRaceDetail(s, *c); })
        ->UseManualTime()
        ->Iterations(context.smoke ? 1 : 10)
        ->Repetitions(context.smoke ? 1 : 6);
}

} // namespace torvanu::bench
