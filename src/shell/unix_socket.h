#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QString>

namespace torvanu {

// Stream sockets at a path in the file system, for one start of the program to talk to
// another of the same user. Descriptors are plain ints, closed by whoever holds them.
namespace unix_socket {

// A socket address holds 108 bytes with its terminating zero; a little is kept spare.
constexpr qsizetype kMaxPath = 100;

struct Listening
{
    int fd = -1;   // non-blocking, close-on-exec; -1 when listening failed
    QString error; // why, when it failed
};

// Listens at path, replacing a socket left there by a process that ended; only the owner
// may connect.
Listening listenAt(const QByteArray& path);

// A non-blocking connection to path, or -1 when nothing listens there or its queue is full.
int connectTo(const QByteArray& path);

// The next pending connection on a listening descriptor (non-blocking), or -1.
int acceptNext(int listeningFd);

struct Answer
{
    QByteArray line;     // up to and with its line end; empty when none came
    bool closed = false; // the other side closed the connection
};

// Sends request and waits until deadline for one line in answer.
Answer ask(int fd, QByteArrayView request, QDeadlineTimer deadline);

// Sends bytes without blocking and without a signal if the other side is gone.
bool sendAll(int fd, QByteArrayView bytes);

// A folder of the user's own (mode 0700) under the runtime or temporary folder, for sockets
// whose path beside their file would be too long; empty when none can be made safely.
QString privateFolder();

} // namespace unix_socket

} // namespace torvanu
