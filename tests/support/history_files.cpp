#include "support/history_files.h"

#include "fit_encoder.h"
#include "support/file_helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu::test {

namespace {

// FIT counts seconds from 1989-12-31 00:00 UTC.
constexpr qint64 kFitEpoch = 631065600;
constexpr double kMetresPerDegree = 111319.49;

la_ssize_t appendTo(archive*, void* target, const void* buffer, size_t length)
{
    static_cast<QByteArray*>(target)->append(static_cast<const char*>(buffer),
                                             static_cast<qsizetype>(length));
    return static_cast<la_ssize_t>(length);
}

} // namespace

QByteArray fitActivity(const QDateTime& startUtc, int seconds, double metres, int sport)
{
    FitActivityContent content;
    content.start = static_cast<std::uint32_t>(startUtc.toSecsSinceEpoch() - kFitEpoch);
    content.sport = static_cast<std::uint8_t>(sport);
    content.elapsedMs = static_cast<std::uint32_t>(seconds) * 1000;
    content.timerMs = content.elapsedMs;
    content.distanceCm = static_cast<std::uint32_t>(std::lround(metres * 100));
    content.laps.push_back({content.start, content.elapsedMs, content.timerMs, content.distanceCm});
    content.records.push_back({content.start, 0});
    content.records.push_back(
        {content.start + static_cast<std::uint32_t>(seconds), content.distanceCm});
    return encodeFitActivity(content, FitWriteOptions{});
}

QByteArray namedGpx(const QString& name, const QDateTime& startUtc, int seconds, double metres)
{
    const auto point = [](double longitude, const QDateTime& time) {
        return u"<trkpt lat=\"0\" lon=\"%1\"><time>%2</time></trkpt>"_s.arg(longitude, 0, 'f', 9)
            .arg(time.toString(Qt::ISODate));
    };
    const QString text =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        u"<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
        u"<trk><name>%1</name><trkseg>%2%3</trkseg></trk></gpx>\n"_s.arg(
            name.toHtmlEscaped(), point(0, startUtc),
            point(metres / kMetresPerDegree, startUtc.addSecs(seconds)));
    return text.toUtf8();
}

QByteArray zipArchive(const QList<FileEntry>& entries, const QString& damaged)
{
    QByteArray zip;
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    // Unblocked, so that the size of the output so far says where an entry begins.
    archive_write_set_bytes_per_block(writer, 0);
    archive_write_open(writer, &zip, nullptr, appendTo, nullptr);
    qsizetype damagedAt = -1;
    for (const FileEntry& entry : entries) {
        archive_entry* header = archive_entry_new();
        archive_entry_set_pathname_utf8(header, entry.first.toUtf8().constData());
        archive_entry_set_filetype(header, AE_IFREG);
        archive_entry_set_perm(header, 0644);
        archive_entry_set_size(header, entry.second.size());
        archive_write_header(writer, header);
        if (entry.first == damaged)
            damagedAt = zip.size();
        archive_write_data(writer, entry.second.constData(),
                           static_cast<size_t>(entry.second.size()));
        archive_entry_free(header);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    if (damagedAt >= 0) {
        // Past the local header and its name, into the deflated bytes.
        for (qsizetype i = damagedAt + 100; i < damagedAt + 116 && i < zip.size(); ++i)
            zip[i] = static_cast<char>(~zip[i]);
    }
    return zip;
}

bool writeZipArchive(const QString& path, const QList<FileEntry>& entries)
{
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    bool written =
        archive_write_open_filename(writer, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    for (const FileEntry& entry : entries) {
        if (!written)
            break;
        archive_entry* header = archive_entry_new();
        archive_entry_set_pathname_utf8(header, entry.first.toUtf8().constData());
        archive_entry_set_filetype(header, AE_IFREG);
        archive_entry_set_perm(header, 0644);
        archive_entry_set_size(header, entry.second.size());
        written = archive_write_header(writer, header) == ARCHIVE_OK &&
                  archive_write_data(writer, entry.second.constData(),
                                     static_cast<size_t>(entry.second.size())) ==
                      static_cast<la_ssize_t>(entry.second.size());
        archive_entry_free(header);
    }
    written = archive_write_close(writer) == ARCHIVE_OK && written;
    archive_write_free(writer);
    return written;
}

bool writeTree(const QString& folder, const QList<FileEntry>& entries)
{
    for (const FileEntry& entry : entries) {
        const QString path = QDir(folder).filePath(entry.first);
        if (!QDir().mkpath(QFileInfo(path).path()) || !writeFile(path, entry.second))
            return false;
    }
    return true;
}

} // namespace torvanu::test
