#include "help_links.h"

#include "shell/module1.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kBesideProgram = u"help/index.html";
constexpr QStringView kUnderPrefix = u"../../share/torvanu/help/index.html";

} // namespace

QString helpPagePath(const QString& programFolder)
{
    const QDir folder(programFolder);
    const QString beside = QDir::cleanPath(folder.absoluteFilePath(kBesideProgram.toString()));
    if (QFileInfo(beside).isFile())
        return beside;
    return QDir::cleanPath(folder.absoluteFilePath(kUnderPrefix.toString()));
}

void openOnlineHelp(const Module1& module, const QString& programFolder)
{
    module.ShellOpen(helpPagePath(programFolder));
}

void openReadme(const Module1& module, const QString& programFolder)
{
    module.ShellOpen(programFolder + u"/readme.txt"_s);
}

} // namespace torvanu
