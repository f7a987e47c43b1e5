#pragma once

#include "records/race_record.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace torvanu {

// One record held as the very text of its log.dat line (without the line end), plus where
// its first six fields end. A million rows then cost one string each instead of seven, the
// file is written and compared straight from these texts, and commas inside fields (the
// distance text is not filtered) survive because the bounds are kept, not searched for.
class LogLine
{
public:
    static constexpr int kFieldCount = 7; // No, date, name, distance, time, remarks, data path
    static constexpr int kNoField = 0;
    static constexpr int kDataPathField = 6;
    static constexpr QChar kSeparator = u',';

    using Fields = std::array<QStringView, kFieldCount>;

    // An empty record: six separators and nothing else.
    LogLine();

    // Splits at the first six commas; everything after the sixth is the data path, which is
    // the same as joining fields 6 to k again with ",". Fewer than seven fields: nothing.
    static std::optional<Fields> split(QStringView line);

    // Keeps field 0 as read; the loader renumbers.
    static std::optional<LogLine> parse(QStringView line);
    // The same, keeping the text it is given instead of copying it.
    static std::optional<LogLine> parse(QString&& line);
    static LogLine fromRecord(const RaceRecord& record);

    RaceRecord toRecord() const;

    const QString& text() const { return m_text; }
    QStringView field(int index) const;
    QStringView no() const { return field(kNoField); }
    QStringView dataPath() const { return field(kDataPathField); }
    bool hasData() const { return !dataPath().isEmpty(); }

    // From the separator after No to the end: what a move or a sort carries along.
    QStringView afterNo() const { return QStringView(m_text).sliced(m_ends[0]); }

    // Both return whether the text changed.
    bool setNo(QStringView no);
    bool setNo(qsizetype number); // in decimal, without allocating when it is already so
    // Everything but No comes from other; No stays with the position.
    void setContentsFrom(const LogLine& other);

    // The comparison made at closing time: all seven fields exactly equal.
    bool matches(const Fields& fileFields) const;

    friend bool operator==(const LogLine& a, const LogLine& b)
    {
        return a.m_text == b.m_text && a.m_ends == b.m_ends;
    }

private:
    QString m_text;
    std::array<qint32, kFieldCount - 1> m_ends{}; // index of the separator after field i
};

std::optional<RaceRecord> parseLogLine(QStringView line);
QString composeLogLine(const RaceRecord& record);

} // namespace torvanu

Q_DECLARE_TYPEINFO(torvanu::LogLine, Q_RELOCATABLE_TYPE);
