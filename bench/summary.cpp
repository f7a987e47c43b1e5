#include "summary.h"

#include <QFile>
#include <QString>
#include <QSysInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <thread>
#include <tuple>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

const std::vector<double>& Samples::values(const std::string& name) const
{
    static const std::vector<double> none;
    const auto found = m_values.find(name);
    return found == m_values.end() ? none : found->second;
}

double Samples::percentile(const std::string& name, double p) const
{
    std::vector<double> sorted = values(name);
    if (sorted.empty())
        return 0;
    std::sort(sorted.begin(), sorted.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void SamplesReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration)
            continue;
        const std::string name = run.run_name.function_name;
        if (run.error_occurred) {
            m_samples.failures.push_back(name + ": " + run.error_message);
            std::fprintf(stderr, "  %s: FAILED: %s\n", name.c_str(), run.error_message.c_str());
            continue;
        }
        if (run.repetitions > 1 && run.repetition_index == 0)
            continue;
        const double perIteration = run.real_accumulated_time / static_cast<double>(run.iterations);
        m_samples.add(name, perIteration);
        if (run.repetition_index + 1 == run.repetitions)
            std::fprintf(stderr, "  %-28s median %.6g s over %zu runs\n", name.c_str(),
                         m_samples.median(name), m_samples.values(name).size());
    }
}

namespace {

std::string duration(double seconds)
{
    char text[64];
    if (seconds <= 0)
        return "—";
    if (seconds < 1e-6)
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    else if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.1f µs", seconds * 1e6);
    else if (seconds < 1)
        std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

std::string megabytes(double kilobytes)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f MB", kilobytes / 1024.0);
    return text;
}

std::string ratioText(double ratio)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f×", ratio);
    return text;
}

std::string records(long long count)
{
    if (count >= 1'000'000 && count % 1'000'000 == 0)
        return std::to_string(count / 1'000'000) + "M";
    if (count >= 1000 && count % 1000 == 0)
        return std::to_string(count / 1000) + "k";
    return std::to_string(count);
}

struct Row
{
    std::string what;
    std::string figure;
    std::string floor;
    std::string ratio;
    std::string target;
    std::string verdict;
};

std::string verdictOf(bool met, bool smoke)
{
    if (smoke)
        return "smoke run";
    return met ? "met" : "**missed**";
}

std::string firstLine(const QString& path, const QByteArray& prefix)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(prefix)) {
            const qsizetype colon = line.indexOf(':');
            return line.mid(colon + 1).trimmed().toStdString();
        }
    }
    return {};
}

std::string loadAverage()
{
    QFile file(u"/proc/loadavg"_s);
    if (!file.open(QIODevice::ReadOnly))
        return "?";
    return file.readAll().split(' ').mid(0, 3).join(' ').toStdString();
}

std::string note(const Samples& s, const std::string& name)
{
    const auto found = s.notes.find(name);
    return found == s.notes.end() ? std::string() : found->second;
}

// Every crafted file read in a process of its own: the time of the read and the process's
// peak memory, against 1 s and 512 MB whatever the file.
std::string hostileTable(const Samples& s, const TableOptions& o)
{
    constexpr double limitSeconds = 1;
    constexpr double limitKilobytes = 512 * 1024;
    std::string out;
    for (int i = 0;; ++i) {
        const std::string name = "hostile/" + std::to_string(i);
        const std::string what = note(s, name + ":what");
        if (what.empty())
            break;
        if (out.empty())
            out = "\nHostile files (each read by a child process, the slowest of its runs; target "
                  "≤ 1 s and ≤ 512 MB):\n\n"
                  "| File | Size | Time (processor) | Peak memory | Result | Verdict |\n"
                  "|---|---|---|---|---|---|\n";
        if (!s.has(name) || !s.has(name + ":kilobytes")) {
            out += "| " + what + " | | not measured | | | — |\n";
            continue;
        }
        const double seconds = s.percentile(name, 100);
        const std::vector<double>& memory = s.values(name + ":kilobytes");
        const double kilobytes = *std::max_element(memory.begin(), memory.end());
        char size[32];
        std::snprintf(size, sizeof size, "%.1f MB",
                      std::stod(note(s, name + ":bytes")) / (1024.0 * 1024.0));
        out += "| " + what + " | " + size + " | " + duration(seconds) + " (" +
               duration(s.percentile(name + ":processor", 100)) + ") | " + megabytes(kilobytes) +
               " | " + note(s, name + ":result") + " | " +
               verdictOf(seconds <= limitSeconds && kilobytes <= limitKilobytes, o.smoke) + " |\n";
    }
    return out;
}

// Where a start's time goes, phase by phase (medians): the program without log.dat, with
// records, and the one-label window that is its floor.
std::string startPhaseTable(const Samples& s, const TableOptions& o)
{
    struct Phase
    {
        const char* key;
        const char* what;
    };
    constexpr Phase phases[] = {
        {"main", "process start to `main` (loading and linking the libraries)"},
        {"application", "`QApplication` (the platform plugin)"},
        {"claim", "single-window check (lock and local socket)"},
        {"name", "program name and icon"},
        {"fonts", "typeface found among the installed fonts (fontconfig set-up)"},
        {"translations", "Qt's Japanese texts"},
        {"window", "main window built (one label, for the floor)"},
        {"book", "`Form_Load`: log.dat read, first results"},
        {"shown", "`show()`"},
        {"paint", "first paint, to the frame"},
    };
    const char* kinds[] = {"none", "records", "text"};
    if (!s.has("startphase/none/paint"))
        return {};
    std::string out = "\n| Start-up phase (median) | no log.dat | " + records(o.sizeStart) +
                      " records | one Japanese label |\n|---|---|---|---|\n";
    double totals[3] = {0, 0, 0};
    for (const Phase& phase : phases) {
        out += std::string("| ") + phase.what;
        for (int k = 0; k < 3; ++k) {
            const std::string name = std::string("startphase/") + kinds[k] + "/" + phase.key;
            const double figure = s.median(name);
            totals[k] += figure;
            out += " | " + (s.has(name) ? duration(figure) : std::string("—"));
        }
        out += " |\n";
    }
    out += "| sum of the medians | " + duration(totals[0]) + " | " + duration(totals[1]) + " | " +
           duration(totals[2]) + " |\n";
    return out;
}

} // namespace

std::string summaryTable(const Samples& s, const TableOptions& o)
{
    std::vector<Row> rows;
    const std::string small = records(o.sizeSmall);
    const std::string large = records(o.sizeLarge);

    // A time against its floor, with the ratio and a ratio target.
    const auto against = [&](const std::string& what, const std::string& name,
                             const std::string& floorName, double limit) {
        if (!s.has(name) || !s.has(floorName)) {
            rows.push_back({what, "not measured", "", "", "", "—"});
            return;
        }
        const double figure = s.median(name);
        const double floor = s.median(floorName);
        const double ratio = figure / floor;
        rows.push_back({what, duration(figure) + " (p90 " + duration(s.percentile(name, 90)) + ")",
                        duration(floor), ratioText(ratio),
                        limit > 0 ? "≤ " + ratioText(limit) : "—",
                        limit > 0 ? verdictOf(ratio <= limit, o.smoke) : "—"});
    };

    for (const char* view : {"detail", "compact"}) {
        const std::string name = std::string("recalc/") + view;
        const std::string calls = name + ":call";
        const std::string floorCalls = name + "/floor:call";
        if (!s.has(calls) || !s.has(floorCalls))
            continue;
        const double p50 = s.percentile(calls, 50);
        const double p99 = s.percentile(calls, 99);
        const double floor = s.percentile(floorCalls, 50);
        const int texts = static_cast<int>(s.median(name + ":texts"));
        const bool detail = std::string(view) == "detail";
        rows.push_back({"one recalculation, " + std::string(view) + " window (" +
                            std::to_string(texts) + " texts)",
                        "p50 " + duration(p50) + ", p99 " + duration(p99),
                        "p50 " + duration(floor) + " (same setText), p99 " +
                            duration(s.percentile(floorCalls, 99)),
                        ratioText(p50 / floor),
                        detail ? "p50 ≤ 2× and ≤ 150 µs; p99 ≤ 500 µs" : "— (lap table hidden)",
                        detail
                            ? verdictOf(p50 <= 2 * floor && p50 <= 150e-6 && p99 <= 500e-6, o.smoke)
                            : "—"});
    }

    against("`calc` over texts, per call", "calc/texts", "calc/floor", 4);
    against("`calc` over numbers, per call", "calc/numbers", "calc/floor", 0);

    for (const auto& [layout, name] :
         {std::pair{"wristband", "band/wristband"}, std::pair{"A4 table", "band/table"}}) {
        if (!s.has(name) || !s.has("band/floor"))
            continue;
        const double figure = s.median(name);
        const double floor = s.median("band/floor");
        rows.push_back({std::string("pace band: 100 km plan every 1 km and its PDF, ") + layout,
                        duration(figure) + " (p90 " + duration(s.percentile(name, 90)) + ")",
                        duration(floor) + " (one line on an empty page)", ratioText(figure / floor),
                        "≤ 100 ms", verdictOf(figure <= 0.1, o.smoke)});
    }

    against("start-up to first frame, no log.dat", "start/none", "start/bare", 1.25);
    against("start-up to first frame, " + records(o.sizeStart) + " records", "start/records",
            "start/bare", 1.5);
    against("start-up to first frame, " + large + " records", "start/large", "start/bare", 0);
    against("start-up, no log.dat, against one Japanese label", "start/none", "start/text", 1.3);
    against("start-up, " + records(o.sizeStart) + " records, against one Japanese label",
            "start/records", "start/text", 0);

    against("load " + small + " records", "load/small", "load/small/floor", 3);
    against("load " + large + " records", "load/large", "load/large/floor", 3);

    against("close, unchanged, " + small, "close/unchanged/small", "close/small/floor", 3);
    against("close, one row changed, " + small, "close/changed/small", "close/small/floor", 3);
    against("close, unchanged, " + large, "close/unchanged/large", "close/large/floor", 3);
    against("close, one row changed, " + large, "close/changed/large", "close/large/floor", 3);

    for (const auto& [column, caption] : {std::pair{"name", "大会名"}, std::pair{"date", "日時"}}) {
        for (const auto& [size, label] : {std::pair{"small", small}, std::pair{"large", large}}) {
            const std::string name = std::string("sort/") + column + "/" + size + ":click";
            if (!s.has(name))
                continue;
            const double figure = s.median(name);
            const bool targeted = std::string(size) == "small";
            rows.push_back({std::string("sort: header click on ") + caption + ", " + label,
                            duration(figure) + " (p90 " + duration(s.percentile(name, 90)) + ")",
                            "—", "—", targeted ? "≤ 100 ms" : "—",
                            targeted ? verdictOf(figure <= 0.1, o.smoke) : "—"});
        }
    }

    // A time beside its floor, judged by an absolute target.
    const auto within = [&](const std::string& what, const std::string& name,
                            const std::string& floorName, double limit, const std::string& target) {
        if (!s.has(name) || !s.has(floorName)) {
            rows.push_back({what, "not measured", "", "", "", "—"});
            return;
        }
        const double figure = s.median(name);
        const double floor = s.median(floorName);
        rows.push_back({what, duration(figure) + " (p90 " + duration(s.percentile(name, 90)) + ")",
                        duration(floor), ratioText(figure / floor), target,
                        verdictOf(figure <= limit, o.smoke)});
    };
    within("record analysis: open the window on " + small + " records", "analysis/open",
           "analysis/floor", 0.1, "≤ 100 ms");
    within("record analysis: one edit and the window's update, " + small, "analysis/edit",
           "analysis/floor", 0.02, "≤ 20 ms");
    within("race detail: open the window on a 4-hour FIT", "race_detail/open", "activity/fit", 0.1,
           "≤ 100 ms");
    within("race detail: profile and course of a 4-hour track, computed and painted",
           "race_detail/paint", "race_detail/paint/floor", 5e-3, "≤ 5 ms");
    within("race detail: open the window on a 4-hour FIT with heart rate, elevation and "
           "cadence, to painted",
           "race_detail/open", "activity/fit", 0.03, "≤ 30 ms");

    // Best efforts, and the record analysis that finds them in every race's data file.
    if (s.has("efforts/all") && s.notes.count("efforts/all:points")) {
        const double points = std::stod(s.notes.at("efforts/all:points"));
        char perPoint[32];
        std::snprintf(perPoint, sizeof perPoint, "%.1f ns", s.median("efforts/all") / points * 1e9);
        within("best efforts: all seven distances over a 4-hour track at 1 s (" +
                   std::string(perPoint) + " a point)",
               "efforts/all", "efforts/floor", 5e-3, "≤ 5 ms");
    }
    within("record analysis: first opening, 500 races with 1-hour FIT files, empty cache, until "
           "区間ベスト is filled (floor: reading the files one after another)",
           "analysis/efforts/first", "analysis/efforts/floor", 3.0, "≤ 3 s");
    within("record analysis: later opening, the same book, efforts from the cache (floor: the "
           "book without files)",
           "analysis/efforts/later", "analysis/efforts/bare", 0.1, "≤ 100 ms");

    // Reading a watch's file. FIT against the reading of its bytes, with a limit of its own;
    // GPX and TCX against one bare QXmlStreamReader pass over every token of the same file.
    for (const auto& [name, what, limit, tokenRatio] :
         {std::tuple{"activity/fit", "read a 4-hour FIT, a record every second", 10e-3, 0.0},
          std::tuple{"activity/gpx", "read a 4-hour GPX, a point every second", 0.0, 0.2},
          std::tuple{"activity/tcx", "read a 4-hour TCX, a point every second", 0.0, 0.2}}) {
        const std::string floorName = std::string(name) + "/floor";
        if (!s.has(name) || !s.has(floorName))
            continue;
        const double figure = s.median(name);
        const double floor = s.median(floorName);
        const std::string tokens = std::string(name) + "/tokens";
        if (tokenRatio > 0 && s.has(tokens)) {
            const double reference = s.median(tokens);
            rows.push_back({std::string(what) + " (pugixml)",
                            duration(figure) + " (p90 " + duration(s.percentile(name, 90)) + ")",
                            duration(reference) + " one bare `QXmlStreamReader` pass; " +
                                duration(floor) + " reading its bytes",
                            ratioText(figure / reference), "≤ " + ratioText(tokenRatio),
                            verdictOf(figure <= tokenRatio * reference, o.smoke)});
            rows.push_back(
                {"reference: one bare `QXmlStreamReader` pass over the same file",
                 duration(reference) + " (p90 " + duration(s.percentile(tokens, 90)) + ")",
                 duration(floor) + " reading its bytes", ratioText(reference / floor), "—", "—"});
            continue;
        }
        rows.push_back({what, duration(figure) + " (p90 " + duration(s.percentile(name, 90)) + ")",
                        duration(floor) + " reading its bytes", ratioText(figure / floor),
                        "≤ " + duration(limit), verdictOf(figure <= limit, o.smoke)});
    }

    // Keeping the book safe: each change flushed to the journal, one window per book.
    if (s.has("safety/journal:change") && s.has("safety/journal/floor:flush")) {
        const double p50 = s.percentile("safety/journal:change", 50);
        const double p99 = s.percentile("safety/journal:change", 99);
        const double floor = s.percentile("safety/journal/floor:flush", 50);
        rows.push_back({"safety: one record added and flushed to the journal",
                        "p50 " + duration(p50) + ", p99 " + duration(p99),
                        "p50 " + duration(floor) + " (fdatasync of an empty file), p99 " +
                            duration(s.percentile("safety/journal/floor:flush", 99)),
                        ratioText(p50 / floor), "p99 ≤ 5 ms", verdictOf(p99 <= 5e-3, o.smoke)});
    }
    if (s.has("safety/claim")) {
        const double figure = s.median("safety/claim");
        const bool frame = s.has("start/none");
        rows.push_back(
            {"safety: single-window check at start (lock and local socket)",
             duration(figure) + " (p90 " + duration(s.percentile("safety/claim", 90)) + ")",
             frame ? duration(s.median("start/none")) + " (first frame, no log.dat)" : "—",
             frame ? ratioText(figure / s.median("start/none")) : "—", "≤ 2 ms",
             verdictOf(figure <= 2e-3, o.smoke)});
    }
    within("safety: a book with one 50 MB remark, loaded and shown in the detail window",
           "safety/huge_cell", "safety/huge_cell/floor", 1.0, "≤ 1 s");

    if (s.has("rss/large") && s.has("rss/bare") && s.has("info/characters/large")) {
        const double figure = s.median("rss/large");
        const double bare = s.median("rss/bare");
        const double text = s.median("info/characters/large") * 2 / 1024.0;
        const double floor = bare + text;
        rows.push_back(
            {"peak memory, " + large + " records loaded", megabytes(figure),
             megabytes(bare) + " bare + " + megabytes(text) + " text = " + megabytes(floor),
             ratioText(figure / floor), "≤ 2.50×", verdictOf(figure / floor <= 2.5, o.smoke)});
    }

    // history import: the scan on every core against the same scan on one thread.
    for (const auto& [source, label] :
         {std::pair{"folder", "a folder"}, std::pair{"archive", "a zip archive"}}) {
        const std::string name = std::string("history/") + source;
        const std::string one = name + "/one-thread";
        if (!s.has(name) || !s.has(one))
            continue;
        const double figure = s.median(name);
        const double single = s.median(one);
        const double speedUp = single / figure;
        const double memory =
            std::max(s.percentile("rss/" + name, 100), s.percentile("rss/" + one, 100));
        rows.push_back({"history import: 1,000 files as " + std::string(label) +
                            ", scanned to the filled table (peak memory " + megabytes(memory) + ")",
                        duration(figure), duration(single) + " (one thread)",
                        ratioText(speedUp) + " faster", "≤ 3 s; ≥ 1.6× faster; ≤ 300 MB",
                        verdictOf(figure <= 3 && speedUp >= 1.6 && memory <= 300 * 1024, o.smoke)});
    }
    if (s.has("history/add")) {
        const double figure = s.median("history/add");
        rows.push_back(
            {"history import: 500 ticked rows added, copies included",
             duration(figure) + " (p90 " + duration(s.percentile("history/add", 90)) + ")", "—",
             "—", "≤ 200 ms", verdictOf(figure <= 0.2, o.smoke)});
    }

    std::string out;
    out += "Machine: " + firstLine(u"/proc/cpuinfo"_s, "model name") + ", " +
           std::to_string(std::thread::hardware_concurrency()) + " cores, " +
           firstLine(u"/proc/meminfo"_s, "MemTotal") + " memory; " +
           QSysInfo::prettyProductName().toStdString() + "; Qt " + qVersion() +
           "; load average at the end " + loadAverage() + "\n\n";
    out += "| What | Figure | Floor | Ratio | Target | Verdict |\n";
    out += "|---|---|---|---|---|---|\n";
    for (const Row& row : rows)
        out += "| " + row.what + " | " + row.figure + " | " + row.floor + " | " + row.ratio +
               " | " + row.target + " | " + row.verdict + " |\n";
    out += startPhaseTable(s, o);
    out += hostileTable(s, o);
    for (const std::string& failure : s.failures)
        out += "\nFAILED: " + failure;
    if (!s.failures.empty())
        out += "\n";
    return out;
}

} // namespace torvanu::bench
