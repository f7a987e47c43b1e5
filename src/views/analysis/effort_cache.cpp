#include "views/analysis/effort_cache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kFormat = u"torvanu-efforts";
constexpr int kVersion = 1;
constexpr double kLargestInteger = 9007199254740992.0; // 2^53: exact in a JSON number

std::optional<qint64> integerOf(const QJsonValue& value)
{
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < 0 || number > kLargestInteger || std::floor(number) != number)
        return std::nullopt;
    return static_cast<qint64>(number);
}

std::optional<BestEffort> effortOf(const QJsonValue& value)
{
    const QJsonArray fields = value.toArray();
    if (fields.size() != 3)
        return std::nullopt;
    const std::optional<qint64> distance = integerOf(fields[0]);
    const double start = fields[1].toDouble(-1);
    const double seconds = fields[2].toDouble(-1);
    if (!distance || *distance >= static_cast<qint64>(kEffortDistances.size()) ||
        !std::isfinite(start) || start < 0 || !std::isfinite(seconds) || !(seconds > 0))
        return std::nullopt;
    return BestEffort{static_cast<int>(*distance), start, seconds};
}

// One file's entry, or nothing when any part of it does not hold up.
std::optional<std::pair<EffortKey, FileEfforts>> entryOf(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    const QString path = object.value(u"path"_s).toString();
    const QString race = object.value(u"race"_s).toString();
    const std::optional<qint64> size = integerOf(object.value(u"size"_s));
    const std::optional<qint64> modified = integerOf(object.value(u"modified"_s));
    const QJsonValue readable = object.value(u"readable"_s);
    const QJsonArray list = object.value(u"efforts"_s).toArray();
    if (path.isEmpty() || path.size() > kMaxEffortPathLength ||
        race.size() > kMaxEffortRaceLength || !size || !modified || !readable.isBool() ||
        list.size() > static_cast<qsizetype>(kEffortDistances.size()))
        return std::nullopt;
    FileEfforts efforts{readable.toBool(), {}};
    for (const QJsonValue& item : list) {
        const std::optional<BestEffort> effort = effortOf(item);
        // Shortest first and each distance once, as the reading gives them.
        if (!effort || effort->distance != static_cast<int>(efforts.efforts.size()))
            return std::nullopt;
        efforts.efforts.push_back(*effort);
    }
    if (!efforts.readable && !efforts.efforts.empty())
        return std::nullopt;
    return std::pair{EffortKey{path, *size, *modified, race}, std::move(efforts)};
}

} // namespace

size_t qHash(const EffortKey& key, size_t seed) noexcept
{
    return qHashMulti(seed, key.path, key.size, key.modified, key.race);
}

QString EffortCache::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u"/efforts.json"_s;
}

std::optional<QHash<EffortKey, FileEfforts>> EffortCache::parse(const QByteArray& bytes)
{
    if (bytes.size() > kMaxEffortCacheBytes)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject top = document.object();
    if (error.error != QJsonParseError::NoError || top.value(u"format"_s).toString() != kFormat ||
        top.value(u"version"_s).toInt() != kVersion)
        return std::nullopt;
    const QJsonArray files = top.value(u"files"_s).toArray();
    if (files.size() > kMaxEffortCacheFiles)
        return std::nullopt;
    QHash<EffortKey, FileEfforts> entries;
    entries.reserve(files.size());
    for (const QJsonValue& file : files) {
        if (std::optional<std::pair<EffortKey, FileEfforts>> entry = entryOf(file))
            entries.insert(entry->first, std::move(entry->second));
    }
    return entries;
}

QByteArray EffortCache::serialise(const QHash<EffortKey, FileEfforts>& entries)
{
    QJsonArray files;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        QJsonArray efforts;
        for (const BestEffort& effort : it.value().efforts)
            efforts.append(QJsonArray{effort.distance, effort.start, effort.seconds});
        files.append(QJsonObject{{u"path"_s, it.key().path},
                                 {u"size"_s, static_cast<double>(it.key().size)},
                                 {u"modified"_s, static_cast<double>(it.key().modified)},
                                 {u"race"_s, it.key().race},
                                 {u"readable"_s, it.value().readable},
                                 {u"efforts"_s, efforts}});
    }
    const QJsonObject top{
        {u"format"_s, kFormat.toString()}, {u"version"_s, kVersion}, {u"files"_s, files}};
    return QJsonDocument(top).toJson(QJsonDocument::Compact);
}

void EffortCache::load()
{
    m_entries.clear();
    QFile file(m_path);
    // The size is asked before a byte is read: a cache file grown huge is not ours.
    if (file.size() > kMaxEffortCacheBytes || !file.open(QIODevice::ReadOnly))
        return;
    if (std::optional<QHash<EffortKey, FileEfforts>> entries =
            parse(file.read(kMaxEffortCacheBytes + 1)))
        m_entries = std::move(*entries);
}

std::optional<AtomicWriteError> EffortCache::save(const QList<EffortKey>& keep) const
{
    QHash<EffortKey, FileEfforts> kept;
    for (const EffortKey& key : keep) {
        if (const FileEfforts* efforts = find(key))
            kept.insert(key, *efforts);
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return AtomicWriteError{u"cannot make the folder of "_s + m_path};
    return writeFileAtomically(m_path, serialise(kept));
}

const FileEfforts* EffortCache::find(const EffortKey& key) const
{
    const auto it = m_entries.constFind(key);
    return it == m_entries.cend() ? nullptr : &it.value();
}

void EffortCache::insert(const EffortKey& key, FileEfforts efforts)
{
    m_entries.insert(key, std::move(efforts));
}

} // namespace torvanu
