#include "file_helpers.h"

#include <QFile>
#include <QStringEncoder>

namespace torvanu::test {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray cp932(const QString& text)
{
    QStringEncoder encoder("windows-31j");
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        qFatal("test text not in code page 932: %s", qPrintable(text));
    return bytes;
}

} // namespace torvanu::test
