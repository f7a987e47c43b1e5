#include "bench_cases.h"
#include "history_cases.h"

#include "activity_cases.h"
#include "effort_cases.h"
#include "hostile_cases.h"
#include "child_process.h"
#include "log_generator.h"
#include "pace_band_cases.h"
#include "safety_cases.h"
#include "silent_dialogs.h"

#include "analysis_window/analysis_window.h"
#include "calc/pace.h"
#include "main_window/form1.h"
#include "record_book/record_book.h"
#include "records/record_model.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>

#include <array>
#include <charconv>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <random>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

// ---- Generated files, made once per size and shared by the cases -------------------------

struct Dataset
{
    QString folder;   // holds log.dat; never written by a case
    QString utf8Path; // the same text in UTF-8
    qint64 characters = 0;
};

const Dataset* dataset(const BenchContext& context, long long count)
{
    static std::map<long long, std::unique_ptr<Dataset>> made;
    auto& slot = made[count];
    if (slot)
        return slot.get();
    auto data = std::make_unique<Dataset>();
    data->folder = QDir(context.root).filePath(u"data-%1"_s.arg(count));
    data->utf8Path = QDir(data->folder).filePath(u"log.utf8"_s);
    std::fprintf(stderr, "  generating %lld records\n", count);
    const QStringList lines = generateLogLines(count);
    std::optional<GeneratedLog> log;
    if (QDir().mkpath(data->folder))
        log = writeLogFile(data->folder, lines);
    if (!log || !writeUtf8File(data->utf8Path, lines))
        return nullptr;
    data->characters = log->characters;
    slot = std::move(data);
    return slot.get();
}

// A folder of its own for a case that writes log.dat, holding a fresh copy of the data.
QString workingCopy(const BenchContext& context, const Dataset& data, const QString& name)
{
    const QString folder = QDir(context.root).filePath(name);
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder) ||
        !QFile::copy(QDir(data.folder).filePath(u"log.dat"_s), QDir(folder).filePath(u"log.dat"_s)))
        return {};
    return folder;
}

// A record book on a widget of its own, as the main window holds it.
struct BookHolder
{
    explicit BookHolder(const QString& folder)
        : client(std::make_unique<QWidget>()),
          book(new RecordBook(
              client.get(),
              RecordBook::Services{dialogs, [](QWidget*, const QString&) { return QString(); },
                                   [](const QString&) {}, [] { return QDate(2024, 4, 1); }},
              folder, folder, folder + u"/recovery"_s))
    {
    }

    SilentDialogs dialogs;
    std::unique_ptr<QWidget> client;
    RecordBook* book; // owned by client
};

long long sizeOf(const BenchContext& context, bool large)
{
    return large ? context.sizes.sizeLarge : context.sizes.sizeSmall;
}

const char* sizeName(bool large)
{
    return large ? "large" : "small";
}

// ---- One recalculation -------------------------------------------------------------------

// The texts a recalculation writes, found as the labels and result boxes whose text differs
// between two picker values; the floor writes the same texts into the same widgets.
struct WrittenTexts
{
    std::vector<std::pair<QLabel*, std::array<QString, 2>>> labels;
    std::vector<std::pair<QLineEdit*, std::array<QString, 2>>> boxes;

    qsizetype size() const { return static_cast<qsizetype>(labels.size() + boxes.size()); }
    void write(int state) const
    {
        for (const auto& [label, texts] : labels)
            label->setText(texts[static_cast<std::size_t>(state)]);
        for (const auto& [box, texts] : boxes)
            box->setText(texts[static_cast<std::size_t>(state)]);
    }
};

constexpr std::array<QStringView, 2> kPaceSeconds = {u"0", u"30"};

WrittenTexts findWrittenTexts(Form1& form, QComboBox& picker)
{
    const auto labels = form.findChildren<QLabel*>();
    QList<QLineEdit*> boxes;
    for (QLineEdit* box : form.findChildren<QLineEdit*>()) {
        if (!qobject_cast<QComboBox*>(box->parentWidget()))
            boxes.append(box);
    }
    std::array<QStringList, 2> labelTexts;
    std::array<QStringList, 2> boxTexts;
    for (int state = 0; state < 2; ++state) {
        picker.setEditText(kPaceSeconds[static_cast<std::size_t>(state)].toString());
        for (QLabel* label : labels)
            labelTexts[static_cast<std::size_t>(state)].append(label->text());
        for (QLineEdit* box : boxes)
            boxTexts[static_cast<std::size_t>(state)].append(box->text());
    }
    WrittenTexts written;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        if (labelTexts[0][i] != labelTexts[1][i])
            written.labels.push_back({labels[i], {labelTexts[0][i], labelTexts[1][i]}});
    }
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        if (boxTexts[0][i] != boxTexts[1][i])
            written.boxes.push_back({boxes[i], {boxTexts[0][i], boxTexts[1][i]}});
    }
    return written;
}

void waitForExposure(QWidget& window)
{
    const auto start = Clock::now();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
           secondsSince(start) < 5)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}

void recalculation(benchmark::State& state, BenchContext& context, bool detail, bool floorOnly)
{
    const std::string name =
        std::string("recalc/") + (detail ? "detail" : "compact") + (floorOnly ? "/floor" : "");
    const QString folder = QDir(context.root).filePath(u"form1"_s);
    QDir().mkpath(folder);
    SilentDialogs dialogs;
    Form1 form(dialogs, Form1Folders{folder, folder, folder, folder});
    form.Form_Load();
    form.show();
    if (detail)
        form.findChild<QCheckBox*>(u"Check1"_s)->setChecked(true);
    waitForExposure(form);
    auto* picker = form.findChild<QComboBox*>(u"Combo2(1)"_s);
    if (!picker) {
        state.SkipWithError("no pace seconds picker Combo2(1)");
        return;
    }
    const WrittenTexts written = findWrittenTexts(form, *picker);
    if (!floorOnly)
        context.samples->add(name + ":texts", static_cast<double>(written.size()));

    int next = 0;
    const auto once = [&] {
        next = 1 - next;
        const auto start = Clock::now();
        if (floorOnly)
            written.write(next);
        else
            picker->setEditText(kPaceSeconds[static_cast<std::size_t>(next)].toString());
        return secondsSince(start);
    };
    for (int i = 0; i < (context.smoke ? 2 : 200); ++i) {
        once();
        QCoreApplication::processEvents();
    }
    for (auto _ : state) {
        const double seconds = once();
        state.SetIterationTime(seconds);
        context.samples->add(name + ":call", seconds);
        // The repaint that follows a keystroke, outside the figure.
        QCoreApplication::processEvents();
    }
    if (dialogs.messages() != 0)
        state.SkipWithError("a message box was shown");
}

// ---- calc alone --------------------------------------------------------------------------

struct CalcCase
{
    std::u16string distance;
    std::u16string unit;
    std::u16string hours;
    std::u16string minutes;
    std::u16string seconds;
    Mode mode = Mode::GoalTime;
    double values[4] = {};
    Unit unitValue = Unit::Km;
};

constexpr std::size_t kCalcCases = 4096;

const std::vector<CalcCase>& calcCases()
{
    static const std::vector<CalcCase> cases = [] {
        constexpr std::array<std::u16string_view, 8> distances = {
            u"42.195", u"21.0975", u"10", u"5 ", u"3.5", u"100", u"30", u"1 "};
        constexpr std::array<std::u16string_view, 3> units = {u"km", u"m", u"ﾏｲﾙ"};
        constexpr std::array<Unit, 3> unitValues = {Unit::Km, Unit::M, Unit::Mile};
        std::mt19937 random(42);
        std::vector<CalcCase> made;
        for (std::size_t i = 0; i < kCalcCases; ++i) {
            CalcCase c;
            const std::size_t d = random() % distances.size();
            const std::size_t u = random() % 5 == 0 ? random() % units.size() : 0;
            c.distance = distances[d];
            c.unit = units[u];
            c.unitValue = unitValues[u];
            c.mode = i % 2 == 0 ? Mode::GoalTime : Mode::Pace;
            const auto number = [](unsigned value) {
                std::u16string text;
                for (const char digit : std::to_string(value))
                    text += static_cast<char16_t>(digit);
                if (value < 10)
                    text += u' ';
                return text;
            };
            const unsigned h = random() % 6;
            const unsigned m = random() % 60;
            const unsigned s = random() % 60;
            c.hours = number(h);
            c.minutes = number(c.mode == Mode::GoalTime ? 3 + m % 8 : m);
            c.seconds = number(s);
            c.values[0] = std::stod(std::string(c.distance.begin(), c.distance.end()));
            c.values[1] = h;
            c.values[2] = c.mode == Mode::GoalTime ? 3 + m % 8 : m;
            c.values[3] = s;
            made.push_back(std::move(c));
        }
        return made;
    }();
    return cases;
}

void calcTexts(benchmark::State& state)
{
    const std::vector<CalcCase>& cases = calcCases();
    std::size_t i = 0;
    for (auto _ : state) {
        const CalcCase& c = cases[i++ % kCalcCases];
        CalcResult result =
            calc(CalcInputs{c.distance, c.unit, c.hours, c.minutes, c.seconds}, c.mode);
        benchmark::DoNotOptimize(result);
    }
}

void calcNumbers(benchmark::State& state)
{
    const std::vector<CalcCase>& cases = calcCases();
    std::size_t i = 0;
    for (auto _ : state) {
        const CalcCase& c = cases[i++ % kCalcCases];
        CalcResult result =
            calc(c.values[0], c.unitValue, c.values[1], c.values[2], c.values[3], c.mode);
        benchmark::DoNotOptimize(result);
    }
}

// What any formatting of a result costs at least: one double to 15 significant digits.
void calcFloor(benchmark::State& state)
{
    std::vector<double> values;
    for (const CalcCase& c : calcCases())
        values.push_back(c.values[0] * (c.values[2] * 60 + c.values[3]) / 7.0);
    std::size_t i = 0;
    char buffer[64];
    for (auto _ : state) {
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, values[i++ % kCalcCases],
                                          std::chars_format::scientific, 14);
        benchmark::DoNotOptimize(result.ptr);
        benchmark::ClobberMemory();
    }
}

// ---- Start-up and memory -----------------------------------------------------------------

enum class StartKind
{
    None,
    Records,
    Large,
    Bare,
    BareText
};

std::vector<std::pair<QByteArray, QByteArray>> childEnvironment(const BenchContext& context)
{
    const QByteArray home = QDir(context.root).filePath(u"home"_s).toLocal8Bit();
    QDir().mkpath(QString::fromLocal8Bit(home));
    return {{"QT_QPA_PLATFORM", "offscreen"},       {"HOME", home},
            {"XDG_CONFIG_HOME", home + "/.config"}, {"XDG_DATA_HOME", home + "/.local/share"},
            {"XDG_CACHE_HOME", home + "/.cache"},   {"XDG_RUNTIME_DIR", home + "/run"}};
}

// The program takes log.dat from its own folder: a copy of it is placed beside the file.
QString startProgram(const BenchContext& context, StartKind kind)
{
    const QString source = QDir(context.programDir)
                               .filePath(kind >= StartKind::Bare ? u"torvanu_bench_bare_window"_s
                                                                 : u"torvanu_bench_start"_s);
    if (kind >= StartKind::Bare)
        return source;
    const char* names[] = {"start-none", "start-records", "start-large"};
    const QString folder =
        QDir(context.root).filePath(QString::fromLatin1(names[static_cast<int>(kind)]));
    const QString program = QDir(folder).filePath(u"torvanu_bench_start"_s);
    if (QFile::exists(program))
        return program;
    QDir().mkpath(folder);
    if (kind != StartKind::None) {
        const long long count =
            kind == StartKind::Records ? context.sizes.sizeStart : context.sizes.sizeLarge;
        const Dataset* data = dataset(context, count);
        if (!data || !QFile::copy(QDir(data->folder).filePath(u"log.dat"_s),
                                  QDir(folder).filePath(u"log.dat"_s)))
            return {};
    }
    if (!QFile::copy(source, program))
        return {};
    return program;
}

void startUp(benchmark::State& state, BenchContext& context, StartKind kind)
{
    const char* names[] = {"none", "records", "large", "bare", "text"};
    const std::string name = names[static_cast<int>(kind)];
    const QString program = startProgram(context, kind);
    if (program.isEmpty()) {
        state.SkipWithError("could not prepare the program's folder");
        return;
    }
    if (kind == StartKind::Large)
        context.samples->add(
            "info/characters/large",
            static_cast<double>(dataset(context, context.sizes.sizeLarge)->characters));
    const ChildRequest request{program,
                               kind == StartKind::BareText ? QStringList{u"--text"_s}
                                                           : QStringList{},
                               childEnvironment(context),
                               {},
                               {}};
    for (auto _ : state) {
        const ChildRun run = runChild(request);
        long long frameNs = 0;
        long long mainNs = 0;
        long long peakKb = 0;
        std::vector<std::pair<std::string, long long>> phases;
        for (const QByteArray& field : run.output.trimmed().split(' ')) {
            const qsizetype equals = field.indexOf('=');
            const QByteArray key = field.left(equals);
            const long long value = field.mid(equals + 1).toLongLong();
            if (key == "first_frame_ns")
                frameNs = value;
            else if (key == "main_ns")
                mainNs = value;
            else if (key == "peak_rss_kb")
                peakKb = value;
            else if (key.startsWith("phase_") && key.endsWith("_ns"))
                phases.emplace_back(key.mid(6, key.size() - 9).toStdString(), value);
        }
        if (run.exitCode != 0 || frameNs == 0) {
            state.SkipWithError("the child program did not report its first frame");
            return;
        }
        state.SetIterationTime(static_cast<double>(frameNs - run.startedNs) / 1e9);
        // Each phase from the end of the one before: the process's start up to main(), the
        // child's own stamps, then the first paint.
        phases.insert(phases.begin(), {"main", mainNs});
        phases.emplace_back("paint", frameNs);
        long long previous = run.startedNs;
        for (const auto& [phase, ns] : phases) {
            context.samples->add("startphase/" + name + "/" + phase,
                                 static_cast<double>(ns - previous) / 1e9);
            previous = ns;
        }
        if (kind == StartKind::Large || kind == StartKind::Bare)
            context.samples->add("rss/" + name, static_cast<double>(peakKb));
    }
}

// ---- log.dat: load, close, and the converter they are compared with -----------------------

void load(benchmark::State& state, BenchContext& context, bool large)
{
    const long long count = sizeOf(context, large);
    const Dataset* data = dataset(context, count);
    if (!data) {
        state.SkipWithError("could not generate log.dat");
        return;
    }
    for (auto _ : state) {
        BookHolder holder(data->folder);
        const auto start = Clock::now();
        holder.book->LoadLogData();
        state.SetIterationTime(secondsSince(start));
        if (holder.book->model().rowCount() != count || holder.dialogs.messages() != 0) {
            state.SkipWithError("log.dat did not load whole");
            return;
        }
    }
}

void iconvFloor(benchmark::State& state, BenchContext& context, bool large, bool toCp932)
{
    const Dataset* data = dataset(context, sizeOf(context, large));
    if (!data) {
        state.SkipWithError("could not generate log.dat");
        return;
    }
    const QString out = QDir(context.root).filePath(u"iconv-out"_s);
    const ChildRequest request =
        toCp932 ? ChildRequest{u"iconv"_s,
                               {u"-f"_s, u"UTF-8"_s, u"-t"_s, u"CP932"_s, data->utf8Path},
                               {},
                               out,
                               {}}
                : ChildRequest{u"iconv"_s,
                               {u"-f"_s, u"CP932"_s, u"-t"_s, u"UTF-8"_s,
                                QDir(data->folder).filePath(u"log.dat"_s)},
                               {},
                               u"/dev/null"_s,
                               {}};
    for (auto _ : state) {
        const ChildRun run = runChild(request);
        if (run.exitCode != 0) {
            state.SkipWithError("iconv failed");
            return;
        }
        state.SetIterationTime(static_cast<double>(run.endedNs - run.startedNs) / 1e9);
    }
}

void close(benchmark::State& state, BenchContext& context, bool large, bool changeOneRow)
{
    const long long count = sizeOf(context, large);
    const Dataset* data = dataset(context, count);
    const QString folder =
        data ? workingCopy(context, *data,
                           u"close-%1-%2"_s.arg(changeOneRow ? u"changed"_s : u"same"_s,
                                                QString::fromLatin1(sizeName(large))))
             : QString();
    if (folder.isEmpty()) {
        state.SkipWithError("could not prepare log.dat");
        return;
    }
    const int row = static_cast<int>(count / 2);
    for (auto _ : state) {
        BookHolder holder(folder);
        holder.book->LoadLogData();
        if (changeOneRow) {
            // One remark edited, undone by the next run, so every run saves one changed row.
            RaceRecord record = holder.book->model().record(row);
            record.remarks =
                record.remarks.endsWith(u'＊') ? record.remarks.chopped(1) : record.remarks + u'＊';
            holder.book->model().setRecord(row, record);
        }
        const auto start = Clock::now();
        holder.book->SaveLogData();
        state.SetIterationTime(secondsSince(start));
        if (holder.dialogs.messages() != (changeOneRow ? 1 : 0)) {
            state.SkipWithError("closing asked or complained unexpectedly");
            return;
        }
    }
}

// ---- Sort ----------------------------------------------------------------------------------

// The list is loaded once and clicked many times: each click is one figure.
void sort(benchmark::State& state, BenchContext& context, bool large, int column)
{
    const std::string name = std::string("sort/") +
                             (column == RecordModel::NameColumn ? "name/" : "date/") +
                             sizeName(large);
    const Dataset* data = dataset(context, sizeOf(context, large));
    if (!data) {
        state.SkipWithError("could not generate log.dat");
        return;
    }
    BookHolder holder(data->folder);
    holder.book->LoadLogData();
    holder.book->ListView1_ColumnClick(column);
    for (auto _ : state) {
        const auto start = Clock::now();
        holder.book->ListView1_ColumnClick(column);
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        context.samples->add(name + ":click", seconds);
    }
}

// ---- Record analysis -------------------------------------------------------------------------

// What any analysis of the book costs at least: one look at each record's four cells.
void analysisFloor(benchmark::State& state, BenchContext& context)
{
    const Dataset* data = dataset(context, context.sizes.sizeSmall);
    if (!data) {
        state.SkipWithError("could not generate log.dat");
        return;
    }
    BookHolder holder(data->folder);
    holder.book->LoadLogData();
    for (auto _ : state) {
        const auto start = Clock::now();
        qsizetype characters = 0;
        for (const LogLine& line : holder.book->model().lines()) {
            for (int field = 1; field <= 4; ++field)
                characters += line.field(field).size();
        }
        benchmark::DoNotOptimize(characters);
        state.SetIterationTime(secondsSince(start));
    }
}

// Opening: the window is made, reads the book, lays out its tables and paints once.
// One edit: a record's time changes, and the window has read the book again and painted.
void analysisWindow(benchmark::State& state, BenchContext& context, bool edit)
{
    const Dataset* data = dataset(context, context.sizes.sizeSmall);
    if (!data) {
        state.SkipWithError("could not generate log.dat");
        return;
    }
    BookHolder holder(data->folder);
    holder.book->LoadLogData();
    RecordModel& model = holder.book->model();
    const AnalysisWindow::Services services{holder.dialogs, {}, {}};
    std::unique_ptr<AnalysisWindow> window;
    if (edit) {
        window = std::make_unique<AnalysisWindow>(model, services);
        window->show();
        QApplication::processEvents();
    }
    const int row = static_cast<int>(model.rowCount() / 2);
    for (auto _ : state) {
        if (!edit)
            window.reset();
        const auto start = Clock::now();
        if (edit) {
            RaceRecord record = model.record(row);
            record.raceTime =
                record.raceTime == u"  19分59秒"_s ? u"  20分 1秒"_s : u"  19分59秒"_s;
            model.setRecord(row, record);
            while (window->refreshPending())
                QApplication::processEvents();
        } else {
            window = std::make_unique<AnalysisWindow>(model, services);
            window->show();
        }
        // The first paint of the chart and the tables belongs to the figure.
        window->repaint();
        state.SetIterationTime(secondsSince(start));
        if (window->analysis().races.empty() || holder.dialogs.messages() != 0) {
            state.SkipWithError("the window read no race");
            return;
        }
    }
}

} // namespace

void registerCases(BenchContext& context)
{
    const bool smoke = context.smoke;
    // Every repeated case runs one repetition more than it keeps: the first is its warm-up.
    const auto add = [smoke](const std::string& name, std::function<void(benchmark::State&)> body,
                             benchmark::IterationCount iterations, int repetitions) {
        benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State& state) { body(state); })
            ->UseManualTime()
            ->Iterations(smoke ? 1 : iterations)
            ->Repetitions(smoke ? 1 : repetitions + 1);
    };
    BenchContext* c = &context;

    for (const bool detail : {true, false}) {
        const std::string base = std::string("recalc/") + (detail ? "detail" : "compact");
        add(
            base, [c, detail](benchmark::State& s) { recalculation(s, *c, detail, false); }, 2000,
            5);
        add(
            base + "/floor",
            [c, detail](benchmark::State& s) { recalculation(s, *c, detail, true); }, 2000, 5);
    }

    for (const auto& [name, body] :
         {std::pair{"calc/texts", &calcTexts}, std::pair{"calc/numbers", &calcNumbers},
          std::pair{"calc/floor", &calcFloor}}) {
        benchmark::RegisterBenchmark(name, body)
            ->Iterations(smoke ? 1 : 1'000'000)
            ->Repetitions(smoke ? 1 : 11);
    }

    registerPaceBandCases(context);

    const int starts = 20;
    add(
        "start/bare", [c](benchmark::State& s) { startUp(s, *c, StartKind::Bare); }, 1, starts);
    add(
        "start/text", [c](benchmark::State& s) { startUp(s, *c, StartKind::BareText); }, 1, starts);
    add(
        "start/none", [c](benchmark::State& s) { startUp(s, *c, StartKind::None); }, 1, starts);
    add(
        "start/records", [c](benchmark::State& s) { startUp(s, *c, StartKind::Records); }, 1,
        starts);
    add(
        "start/large", [c](benchmark::State& s) { startUp(s, *c, StartKind::Large); }, 1, 3);

    add(
        "analysis/floor", [c](benchmark::State& s) { analysisFloor(s, *c); }, 1, 15);
    add(
        "analysis/open", [c](benchmark::State& s) { analysisWindow(s, *c, false); }, 1, 15);
    add(
        "analysis/edit", [c](benchmark::State& s) { analysisWindow(s, *c, true); }, 1, 15);

    for (const bool large : {false, true}) {
        const std::string size = sizeName(large);
        const int runs = large ? 5 : 15;
        add(
            "load/" + size + "/floor",
            [c, large](benchmark::State& s) { iconvFloor(s, *c, large, false); }, 1, runs);
        add(
            "load/" + size, [c, large](benchmark::State& s) { load(s, *c, large); }, 1, runs);
        add(
            "close/" + size + "/floor",
            [c, large](benchmark::State& s) { iconvFloor(s, *c, large, true); }, 1, runs);
        add(
            "close/unchanged/" + size,
            [c, large](benchmark::State& s) { close(s, *c, large, false); }, 1, runs);
        add(
            "close/changed/" + size, [c, large](benchmark::State& s) { close(s, *c, large, true); },
            1, runs);
        add(
            "sort/name/" + size,
            [c, large](benchmark::State& s) { sort(s, *c, large, RecordModel::NameColumn); },
            runs * 2, 0);
        add(
            "sort/date/" + size,
            [c, large](benchmark::State& s) { sort(s, *c, large, RecordModel::DateColumn); },
            runs * 2, 0);
    }

    registerActivityCases(context);
    registerSafetyCases(context);
    registerHostileCases(context);
    registerHistoryCases(context);
    registerEffortCases(context);
}

} // namespace torvanu::bench
