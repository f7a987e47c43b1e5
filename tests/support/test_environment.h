#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace torvanu::test {

// Points HOME and the XDG folders (the runtime folder too) at a fresh temporary folder for the life of the object,
// so nothing a test does reaches the real user's files. Restores the old values after.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QList<QPair<QByteArray, QByteArray>> m_saved;
};

} // namespace torvanu::test
