#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace torvanu::bench {

std::int64_t monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

namespace {

// The environment as a list of "NAME=value" texts, with the request's entries in force.
std::vector<QByteArray> environmentFor(const ChildRequest& request)
{
    std::vector<QByteArray> entries;
    for (char** entry = environ; *entry; ++entry) {
        const QByteArray text(*entry);
        bool replaced = false;
        for (const auto& [name, value] : request.environment)
            replaced = replaced || text.startsWith(name + '=');
        if (!replaced)
            entries.push_back(text);
    }
    for (const auto& [name, value] : request.environment)
        entries.push_back(name + '=' + value);
    return entries;
}

} // namespace

ChildRun runChild(const ChildRequest& request)
{
    ChildRun run;
    const QByteArray program = request.program.toLocal8Bit();
    std::vector<QByteArray> arguments{program};
    for (const QString& argument : request.arguments)
        arguments.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> environment = environmentFor(request);
    std::vector<char*> envp;
    for (QByteArray& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (request.stdoutFile.isEmpty()) {
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            return run;
        }
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO,
                                         request.stdoutFile.toLocal8Bit().constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    if (!request.stdinFile.isEmpty())
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO,
                                         request.stdinFile.toLocal8Bit().constData(), O_RDONLY, 0);

    pid_t pid = 0;
    run.startedNs = monotonicNanoseconds();
    const int spawned =
        posix_spawnp(&pid, program.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (pipeEnds[1] >= 0)
        close(pipeEnds[1]);
    if (spawned != 0) {
        if (pipeEnds[0] >= 0)
            close(pipeEnds[0]);
        return run;
    }
    if (pipeEnds[0] >= 0) {
        char buffer[4096];
        while (true) {
            const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
            if (got > 0)
                run.output.append(buffer, got);
            else if (got == 0 || errno != EINTR)
                break;
        }
        close(pipeEnds[0]);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.endedNs = monotonicNanoseconds();
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

} // namespace torvanu::bench
