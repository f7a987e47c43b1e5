#pragma once

#include <QByteArray>
#include <QString>

namespace torvanu::test {

// The file's bytes, or "<unreadable>" when it cannot be opened, so that a missing file never
// compares equal to an empty one.
QByteArray readFile(const QString& path);

// Creates or truncates the file and writes exactly these bytes.
bool writeFile(const QString& path, const QByteArray& bytes);

// The text in code page 932, as the Windows program writes it. Test data that the code page
// cannot hold is a mistake in the test and ends the run.
QByteArray cp932(const QString& text);

} // namespace torvanu::test
