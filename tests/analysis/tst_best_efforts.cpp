#include "analysis/best_efforts.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace torvanu;

using Track = std::vector<TrackPoint>;
Q_DECLARE_METATYPE(Track)

class TestBestEfforts : public QObject
{
    Q_OBJECT

private slots:
    void matchesEveryPair_data();
    void matchesEveryPair();
};

namespace {

// A track built leg by leg: each leg runs at one speed, sampled every few seconds.
class TrackBuilder
{
public:
    TrackBuilder& run(double metres, double metresPerSecond, double sampleSeconds)
    {
        const double end = m_distance + metres;
        while (m_distance < end) {
            const double step = std::min(sampleSeconds * metresPerSecond, end - m_distance);
            m_time += step / metresPerSecond;
            m_distance = step < sampleSeconds * metresPerSecond ? end : m_distance + step;
            m_track.push_back({m_time, m_distance});
        }
        return *this;
    }
    TrackBuilder& pause(double seconds, int samples)
    {
        for (int s = 0; s < samples; ++s) {
            m_time += seconds / samples;
            m_track.push_back({m_time, m_distance});
        }
        return *this;
    }
    Track track() const { return m_track; }

private:
    Track m_track{{0, 0}};
    double m_time = 0;
    double m_distance = 0;
};

Track withPauses()
{
    TrackBuilder builder;
    for (int km = 0; km < 12; ++km)
        builder.run(1000, 3.2 + 0.1 * (km % 3), 3).pause(40.0 + km * 7, 1 + km % 4);
    return builder.track();
}

// GPS noise: every fifth sample a little behind the one before.
Track goingBack()
{
    Track track = TrackBuilder().run(11000, 3.4, 2).track();
    for (std::size_t i = 5; i < track.size(); i += 5)
        track[i].distance = track[i - 1].distance - 4.0;
    return track;
}

Track random(unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> speed(2.0, 6.0);
    std::uniform_real_distribution<double> interval(0.3, 8.0);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    Track track{{0, 0}};
    double time = 0;
    double distance = 0;
    while (distance < 22000) {
        time += interval(generator);
        const double roll = chance(generator);
        if (roll < 0.05) {
            track.push_back({time, distance}); // standing
        } else if (roll < 0.1) {
            track.push_back({time, distance - 10.0 * chance(generator)}); // behind
        } else {
            distance += speed(generator) * interval(generator);
            track.push_back({time, distance});
        }
    }
    return track;
}

// What the track says without any cleverness: distance as the most covered so far, even
// speed between two samples; the latest moment at one distance and the first moment at
// another, scanned from every sample.
class BruteForce
{
public:
    explicit BruteForce(Track track) : m_track(std::move(track))
    {
        for (std::size_t i = 1; i < m_track.size(); ++i)
            m_track[i].distance = std::max(m_track[i].distance, m_track[i - 1].distance);
    }

    double length() const { return m_track.back().distance - m_track.front().distance; }

    double leaving(double distance) const
    {
        std::size_t a = 0;
        for (std::size_t i = 0; i < m_track.size(); ++i) {
            if (m_track[i].distance <= distance)
                a = i;
        }
        if (a + 1 == m_track.size())
            return m_track[a].time;
        const TrackPoint& p = m_track[a];
        const TrackPoint& q = m_track[a + 1];
        return p.time + (distance - p.distance) / (q.distance - p.distance) * (q.time - p.time);
    }

    double arriving(double distance) const
    {
        std::size_t b = 0;
        while (m_track[b].distance < distance)
            ++b;
        if (b == 0)
            return m_track[0].time;
        const TrackPoint& p = m_track[b - 1];
        const TrackPoint& q = m_track[b];
        return p.time + (distance - p.distance) / (q.distance - p.distance) * (q.time - p.time);
    }

    double stretch(double start, double metres) const
    {
        return arriving(start + metres) - leaving(start);
    }

    // The time of a stretch is linear in its start between the places where an end meets a
    // sample, so the fastest has an end on a sample: every such start is tried.
    double fastest(double metres) const
    {
        double best = std::numeric_limits<double>::infinity();
        const double first = m_track.front().distance;
        const double last = m_track.back().distance;
        for (const TrackPoint& point : m_track) {
            for (const double start : {point.distance, point.distance - metres}) {
                if (start >= first && start + metres <= last)
                    best = std::min(best, stretch(start, metres));
            }
        }
        return best;
    }

private:
    Track m_track;
};

} // namespace

void TestBestEfforts::matchesEveryPair_data()
{
    QTest::addColumn<Track>("track");
    QTest::addColumn<int>("distances");

    QTest::newRow("even pace over a full marathon, every distance")
        << TrackBuilder().run(42500, 3.5, 10).track() << 7;
    QTest::newRow("a track exactly 10 km long has its 10 km")
        << TrackBuilder().run(10000, 3.0, 4).track() << 5;
    QTest::newRow("pauses count only inside a stretch") << withPauses() << 5;
    QTest::newRow("points going back in distance") << goingBack() << 5;
    QTest::newRow("a surge in the middle")
        << TrackBuilder().run(6000, 3.0, 3).run(2500, 5.5, 1).run(6000, 3.0, 3).track() << 5;
    QTest::newRow("random speeds, samples, stops and steps back") << random(21) << 6;
    QTest::newRow("random, another seed") << random(2026) << 6;
    QTest::newRow("shorter than 400 m") << TrackBuilder().run(399, 3.0, 1).track() << 0;
    QTest::newRow("a single point") << Track{{5, 0}} << 0;
}

void TestBestEfforts::matchesEveryPair()
{
    QFETCH(Track, track);
    QFETCH(int, distances);

    const std::vector<BestEffort> efforts = bestEfforts(track);
    QCOMPARE(static_cast<int>(efforts.size()), distances);
    const BruteForce brute(track);
    for (std::size_t d = 0; d < efforts.size(); ++d) {
        const BestEffort& effort = efforts[d];
        const double metres = kEffortDistances[d].metres;
        QCOMPARE(effort.distance, static_cast<int>(d));
        QVERIFY2(std::abs(effort.seconds - brute.fastest(metres)) < 1e-6,
                 qPrintable(QStringLiteral("%1: %2 s, all pairs %3 s")
                                .arg(metres)
                                .arg(effort.seconds, 0, 'f', 9)
                                .arg(brute.fastest(metres), 0, 'f', 9)));
        // The start given is where that time was run.
        QVERIFY(std::abs(brute.stretch(effort.start, metres) - effort.seconds) < 1e-6);
    }
    if (efforts.size() < kEffortDistances.size())
        QVERIFY(brute.length() < kEffortDistances[efforts.size()].metres);
}

QTEST_APPLESS_MAIN(TestBestEfforts)
#include "tst_best_efforts.moc"
