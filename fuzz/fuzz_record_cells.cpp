// The record editor's cells: every cell composed from picker entries parses back into the
// same entries, and any text at all goes through the parsers and cleaners without harm.

#include "records/record_cells.h"
#include "storage/text_bridge.h"
#include "property.h"

#include <QCoreApplication>
#include <QStringEncoder>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>

using namespace torvanu;
using fuzz::require;
using namespace Qt::StringLiterals;

namespace {

class Bytes
{
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t next() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    const QString& pick(const QStringList& entries) { return entries[next() % entries.size()]; }

    // The rest as UTF-16 code units, two bytes each: lone surrogates and controls included.
    QString rest() const
    {
        QString text;
        for (std::size_t i = m_pos; i + 1 < m_size; i += 2)
            text.append(QChar(static_cast<char16_t>(m_data[i] | (m_data[i + 1] << 8))));
        return text;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

const QStringList& entries(int which)
{
    static const QStringList lists[] = {yearEntries(), monthEntries(),  dayEntries(),
                                        hourEntries(), minuteEntries(), distancePresets()};
    return lists[which];
}

const QStringList& units()
{
    static const QStringList list{u"km"_s, u"m"_s, u"ﾏｲﾙ"_s};
    return list;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in(data, size);

    const DateParts date{in.pick(entries(0)), in.pick(entries(1)), in.pick(entries(2))};
    require(parseDateCell(composeDateCell(date)) == date, "date cell reads back");
    const TimeParts time{in.pick(entries(3)), in.pick(entries(4)), in.pick(entries(4))};
    require(parseTimeCell(composeTimeCell(time)) == time, "time cell reads back");
    const DistanceParts distance{in.pick(entries(5)), in.pick(units())};
    require(parseDistanceCell(composeDistanceCell(distance)) == distance,
            "distance cell reads back");
    require(readDateCell(toU16(composeDateCell(date))).ok(), "the analysis reads the date");
    const CellReading<double> seconds = readTimeCell(toU16(composeTimeCell(time)));
    require(seconds.ok() || seconds.problem == RowProblem::TimeZero, "the analysis reads the time");

    const QString text = in.rest();
    (void)parseDateCell(text);
    (void)parseTimeCell(text);
    (void)parseDistanceCell(text);
    (void)readDateCell(toU16(text));
    (void)readTimeCell(toU16(text));
    (void)readDistanceCell(toU16(text));

    const QString cell = cleanFreeTextCell(text);
    require(!cell.contains(u','), "no comma reaches a free-text cell");
    require(!cell.contains(u'\r') && !cell.contains(u'\n'), "no line break reaches a cell");

    const std::optional<qsizetype> bad = firstUnstorableIndex(cell);
    if (bad) {
        require(*bad >= 0 && *bad < cell.size(), "the unstorable index lies in the text");
        require(!characterAt(cell, *bad).isEmpty(), "the unstorable character is shown");
    } else {
        // What is said to be storable is stored and read back unchanged.
        QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(cell);
        require(!encoder.hasError(), "a storable cell encodes");
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        const QString back = decoder.decode(bytes);
        require(!decoder.hasError() && back == cell, "a storable cell reads back");
    }
    return 0;
}
