#include "log_generator.h"

#include "records/record_cells.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

#include <array>
#include <random>
#include <string_view>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

constexpr std::array<std::u16string_view, 16> kPlaces = {
    u"湘南国際", u"東京",   u"大阪",    u"名古屋ウィメンズ",
    u"北海道",   u"富士山", u"篠山ABC", u"つくば",
    u"板橋City", u"横浜",   u"神戸",    u"福岡国際",
    u"長野",     u"青梅",   u"奈良",    u"しまなみ海道"};
constexpr std::array<std::u16string_view, 6> kKinds = {u"マラソン",         u"ハーフマラソン",
                                                       u"ロードレース",     u"市民マラソン",
                                                       u"ウルトラマラソン", u"記録会"};
constexpr std::array<std::u16string_view, 12> kRemarks = {u"",
                                                          u"",
                                                          u"",
                                                          u"自己ベスト",
                                                          u"雨，強風",
                                                          u"後半失速",
                                                          u"ネガティブスプリット達成",
                                                          u"給水で転倒",
                                                          u"30km以降で足がつる",
                                                          u"ﾍﾟｰｽ走",
                                                          u"気温28℃　暑かった",
                                                          u"友人と完走（ｻﾌﾞ4）"};
constexpr std::array<std::u16string_view, 4> kDataFolders = {
    u"C:\\Users\\runner\\Documents\\ランニング\\", u"D:\\GPS\\記録\\", u"/home/runner/ラン記録/",
    u"C:\\Data\\"};

// Distances as the editor's picker offers them, some with their trailing blank.
constexpr std::array<std::u16string_view, 10> kDistances = {
    u"42.195", u"42.195", u"21.0975", u"21.0975", u"10", u"5 ", u"30", u"20", u"100", u"3 "};
constexpr std::array<std::u16string_view, 3> kUnits = {u"km", u"m", u"ﾏｲﾙ"};

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

// The editor's time pickers: " 0" to " 9", then "10" and up.
QString pickerNumber(int value)
{
    return value < 10 ? u" "_s + QString::number(value) : QString::number(value);
}

QString view(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QStringList generateLogLines(qsizetype count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    const auto pick = [&random](int size) {
        return static_cast<int>(random() % static_cast<std::uint32_t>(size));
    };

    QStringList lines;
    lines.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const QString date = composeDateCell(DateParts{
            QString::number(1985 + pick(41)), twoDigits(1 + pick(12)), twoDigits(1 + pick(28))});
        const QString name = u"第"_s + QString::number(1 + pick(60)) + u"回 "_s +
                             view(kPlaces[static_cast<std::size_t>(pick(kPlaces.size()))]) +
                             view(kKinds[static_cast<std::size_t>(pick(kKinds.size()))]);

        const auto distanceIndex = static_cast<std::size_t>(pick(kDistances.size()));
        QString distance = view(kDistances[distanceIndex]);
        QString unit = view(kUnits[0]);
        const int unitRoll = pick(20);
        if (unitRoll == 0) {
            distance = u"10000"_s;
            unit = view(kUnits[1]);
        } else if (unitRoll == 1) {
            distance = u"26.2"_s;
            unit = view(kUnits[2]);
        }
        const QString distanceCell = composeDistanceCell(DistanceParts{distance, unit});

        // Around 3 to 5 hours for a full marathon, less for the shorter races.
        const int seconds = distanceIndex < 2 ? 9000 + pick(9000) : 900 + pick(7200);
        const QString time =
            composeTimeCell(TimeParts{pickerNumber(seconds / 3600), pickerNumber(seconds / 60 % 60),
                                      pickerNumber(seconds % 60)});

        const QString remarks = view(kRemarks[static_cast<std::size_t>(pick(kRemarks.size()))]);
        QString dataPath;
        if (pick(5) == 0)
            dataPath = view(kDataFolders[static_cast<std::size_t>(pick(kDataFolders.size()))]) +
                       date + (pick(2) == 0 ? u".csv"_s : u".gpx"_s);

        lines.append(QString::number(i + 1) + u',' + date + u',' + name + u',' + distanceCell +
                     u',' + time + u',' + remarks + u',' + dataPath);
    }
    return lines;
}

namespace {

bool writeEncoded(const QString& path, const QStringList& lines, const char* codec)
{
    QStringEncoder encoder(codec, QStringConverter::Flag::Stateless);
    QSaveFile file(path);
    if (!encoder.isValid() || !file.open(QIODevice::WriteOnly))
        return false;
    QByteArray buffer;
    for (const QString& line : lines) {
        buffer.append(encoder(line)).append("\r\n");
        if (buffer.size() >= (1 << 20)) {
            if (file.write(buffer) != buffer.size())
                return false;
            buffer.clear();
        }
    }
    return !encoder.hasError() && file.write(buffer) == buffer.size() && file.commit();
}

} // namespace

std::optional<GeneratedLog> writeLogFile(const QString& folder, const QStringList& lines)
{
    GeneratedLog log;
    log.path = QDir(folder).filePath(u"log.dat"_s);
    if (!writeEncoded(log.path, lines, "windows-31j"))
        return std::nullopt;
    log.bytes = QFileInfo(log.path).size();
    for (const QString& line : lines)
        log.characters += line.size() + 2;
    return log;
}

bool writeUtf8File(const QString& path, const QStringList& lines)
{
    return writeEncoded(path, lines, "UTF-8");
}

} // namespace torvanu::bench
