#include "records/log_line.h"

namespace torvanu {

namespace {

constexpr int kSeparatorCount = LogLine::kFieldCount - 1;

} // namespace

LogLine::LogLine() : m_text(kSeparatorCount, kSeparator)
{
    for (int i = 0; i < kSeparatorCount; ++i)
        m_ends[i] = i;
}

std::optional<LogLine::Fields> LogLine::split(QStringView line)
{
    Fields fields;
    qsizetype start = 0;
    for (int i = 0; i < kSeparatorCount; ++i) {
        const qsizetype end = line.indexOf(kSeparator, start);
        if (end < 0)
            return std::nullopt;
        fields[i] = line.sliced(start, end - start);
        start = end + 1;
    }
    fields[kDataPathField] = line.sliced(start);
    return fields;
}

std::optional<LogLine> LogLine::parse(QStringView line)
{
    return parse(line.toString());
}

std::optional<LogLine> LogLine::parse(QString&& line)
{
    LogLine result;
    qsizetype start = 0;
    for (int i = 0; i < kSeparatorCount; ++i) {
        const qsizetype end = line.indexOf(kSeparator, start);
        if (end < 0)
            return std::nullopt;
        result.m_ends[i] = static_cast<qint32>(end);
        start = end + 1;
    }
    result.m_text = std::move(line);
    return result;
}

LogLine LogLine::fromRecord(const RaceRecord& record)
{
    const std::array<const QString*, kFieldCount> parts{
        &record.no,       &record.raceDate, &record.raceName, &record.distance,
        &record.raceTime, &record.remarks,  &record.dataPath};
    qsizetype size = kSeparatorCount;
    for (const QString* part : parts)
        size += part->size();

    LogLine result;
    result.m_text.clear();
    result.m_text.reserve(size);
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0) {
            result.m_ends[i - 1] = static_cast<qint32>(result.m_text.size());
            result.m_text.append(kSeparator);
        }
        result.m_text.append(*parts[i]);
    }
    return result;
}

RaceRecord LogLine::toRecord() const
{
    RaceRecord record;
    record.no = field(0).toString();
    record.raceDate = field(1).toString();
    record.raceName = field(2).toString();
    record.distance = field(3).toString();
    record.raceTime = field(4).toString();
    record.remarks = field(5).toString();
    record.dataPath = field(6).toString();
    return record;
}

QStringView LogLine::field(int index) const
{
    Q_ASSERT(index >= 0 && index < kFieldCount);
    const qsizetype start = index == 0 ? 0 : m_ends[index - 1] + 1;
    const qsizetype end = index == kDataPathField ? m_text.size() : m_ends[index];
    return QStringView(m_text).sliced(start, end - start);
}

bool LogLine::setNo(QStringView no)
{
    const qint32 oldSize = m_ends[0];
    if (QStringView(m_text).first(oldSize) == no)
        return false;
    m_text.replace(qsizetype(0), qsizetype(oldSize), no.constData(), no.size());
    const auto shift = static_cast<qint32>(no.size()) - oldSize;
    for (qint32& end : m_ends)
        end += shift;
    return true;
}

bool LogLine::setNo(qsizetype number)
{
    // Decimal digits from the right; no allocation when the text is already right.
    std::array<char16_t, 24> buffer{};
    qsizetype start = qsizetype(buffer.size());
    auto value = static_cast<unsigned long long>(number < 0 ? -number : number);
    do {
        buffer[--start] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    if (number < 0)
        buffer[--start] = u'-';
    return setNo(QStringView(buffer.data() + start, qsizetype(buffer.size()) - start));
}

void LogLine::setContentsFrom(const LogLine& other)
{
    const QStringView ownNo = no();
    const QStringView rest = QStringView(other.m_text).sliced(other.m_ends[0]);
    QString text;
    text.reserve(ownNo.size() + rest.size());
    text.append(ownNo).append(rest);
    const auto shift = static_cast<qint32>(ownNo.size()) - other.m_ends[0];
    for (int i = 0; i < kSeparatorCount; ++i)
        m_ends[i] = other.m_ends[i] + shift;
    m_text = std::move(text);
}

bool LogLine::matches(const Fields& fileFields) const
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (field(i) != fileFields[i])
            return false;
    }
    return true;
}

std::optional<RaceRecord> parseLogLine(QStringView line)
{
    const std::optional<LogLine> parsed = LogLine::parse(line);
    if (!parsed)
        return std::nullopt;
    return parsed->toRecord();
}

QString composeLogLine(const RaceRecord& record)
{
    return LogLine::fromRecord(record).text();
}

} // namespace torvanu
