#pragma once

#include <QObject>

class QSocketNotifier;

namespace torvanu {

// Turns the signals a desktop sends when the session ends or the user is logged out (SIGTERM,
// SIGHUP) and Ctrl+C in a terminal (SIGINT) into an ordinary request to close, so the record
// book is offered for saving as at any other close. One instance per process.
class TerminationWatch : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatch(QObject* parent = nullptr);
    ~TerminationWatch() override;

    bool isActive() const { return m_notifier != nullptr; }

signals:
    void terminationRequested();

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace torvanu
