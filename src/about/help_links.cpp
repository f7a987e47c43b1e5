#include "help_links.h"

#include "shell/module1.h"

using namespace Qt::StringLiterals;

namespace torvanu {

void openOnlineHelp(const Module1& module)
{
    module.ShellOpen(kOnlineHelpAddress.toString());
}

void openReadme(const Module1& module, const QString& programFolder)
{
    module.ShellOpen(programFolder + u"/readme.txt"_s);
}

} // namespace torvanu
