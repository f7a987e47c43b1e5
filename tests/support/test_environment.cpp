#include "test_environment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace torvanu::test {

namespace {
constexpr const char* kVariables[] = {"HOME",           "XDG_DATA_HOME",   "XDG_CONFIG_HOME",
                                      "XDG_CACHE_HOME", "XDG_DESKTOP_DIR", "XDG_RUNTIME_DIR"};
}

TestEnvironment::TestEnvironment()
{
    for (const char* name : kVariables)
        m_saved.append({name, qgetenv(name)});
    const QString home = m_dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home + QStringLiteral("/Desktop"));
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home + QStringLiteral("/.cache")).toLocal8Bit());
    qputenv("XDG_DESKTOP_DIR", (home + QStringLiteral("/Desktop")).toLocal8Bit());
    // The runtime folder is private to its user, as the session makes it.
    const QString runtime = home + QStringLiteral("/.run");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
}

TestEnvironment::~TestEnvironment()
{
    for (const auto& [name, value] : m_saved) {
        if (value.isNull())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
}

} // namespace torvanu::test
