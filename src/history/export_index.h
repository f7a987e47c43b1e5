#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace torvanu {

// What a training service's export says about one of its activity files.
struct ExportEntry
{
    QString name;
    bool race = false; // the service marks the activity as a race
};

// The activities.csv of an export, keyed by the file name of each activity (without its
// folder, in lower case: the column holds "activities/123.fit.gz", the scan sees the file).
class ExportIndex
{
public:
    static constexpr QStringView kFileName = u"activities.csv";

    ExportIndex() = default;
    // Columns are found by their heading; a file without a file-name column gives no entries.
    static ExportIndex fromCsv(QByteArrayView utf8);

    const ExportEntry* find(const QString& filePath) const;
    qsizetype size() const { return m_entries.size(); }

    static QString keyOf(const QString& filePath);

private:
    QHash<QString, ExportEntry> m_entries;
};

} // namespace torvanu
