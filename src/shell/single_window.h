#pragma once

#include <QObject>
#include <QString>

#include <chrono>

class QSocketNotifier;

namespace torvanu {

// One window per record book. Two windows on the same log.dat each save their own list at
// close, and the one closed last silently wins: the races added in the other are lost. The
// first start holds a lock beside the book and listens on a local socket named after it; a
// second start finds the lock taken, asks the first to come to the front, and ends.
// The lock is an flock(), which the system releases when its process ends in any way, so a
// crashed first start never blocks the next one.
class SingleWindow : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kAnswerTimeout{2000};

    enum class Claim
    {
        Owner,       // this process edits the book (also when no lock could be made at all)
        OtherRaised, // another window has it and came to the front
        OtherSilent, // another window has it but did not answer in time (hung)
    };

    // bookPath: the log.dat the window would save to.
    explicit SingleWindow(const QString& bookPath, QObject* parent = nullptr);
    ~SingleWindow() override;

    Claim claim(std::chrono::milliseconds answerTimeout = kAnswerTimeout);

    // The socket's path for a book: the same for every start on it, private to the user;
    // empty when no private place for it can be found.
    static QString serverName(const QString& bookPath);
    static QString lockPath(const QString& bookPath);

signals:
    // A second start asked for the window; answered once this returns.
    void raiseRequested();

private:
    void listen(const QByteArray& socketPath);
    void answer();

    QString m_bookPath;
    int m_lockFd = -1;
    int m_listenFd = -1;
    QByteArray m_socketPath; // the socket this window listens on, removed at its end
    QSocketNotifier* m_listenNotifier = nullptr;
    int m_pendingRequests = 0;
};

} // namespace torvanu
