#include "first_frame.h"

#include "child_process.h"
#include "peak_memory.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

// The repaint that answers the expose paints the window and then its children in one pass;
// a zero timer fires once that pass, and the flush to the screen after it, are over.
class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(QWidget& window, long long mainNs, const PhaseStamps& phases)
        : m_mainNs(mainNs), m_phases(phases)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void report() const
    {
        const long long frameNs = monotonicNanoseconds();
        std::printf("first_frame_ns=%lld main_ns=%lld peak_rss_kb=%lld", frameNs, m_mainNs,
                    peakResidentKilobytes());
        for (const auto& [name, ns] : m_phases)
            std::printf(" phase_%s_ns=%lld", name.c_str(), ns);
        std::printf("\n");
        std::fflush(stdout);
        std::_Exit(0);
    }

    long long m_mainNs = 0;
    const PhaseStamps& m_phases;
    bool m_seen = false;
};

} // namespace

int reportFirstFrame(QWidget& window, long long mainNs, const PhaseStamps& phases)
{
    FirstPaintWatch watch(window, mainNs, phases);
    // The window may have been painted already if showing it processed events.
    window.update();
    QApplication::exec();
    return 2;
}

} // namespace torvanu::bench
