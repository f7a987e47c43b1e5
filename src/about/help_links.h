#pragma once

#include <QString>

namespace torvanu {

class Module1;

// Where the help page shipped with the program is: help/index.html beside the program in a
// build folder, or share/torvanu/help/index.html under the prefix the program is installed in
// (<prefix>/lib/torvanu). The installed place is answered when neither exists, so the About
// box still shows where the page belongs.
QString helpPagePath(const QString& programFolder);

// The Help menu's "online help": the help page in the desktop's browser, offline.
void openOnlineHelp(const Module1& module, const QString& programFolder);

// The Help menu's "readme.txt": the guide beside the program, in the desktop's text viewer.
// A missing file gives nothing to open, and no message.
void openReadme(const Module1& module, const QString& programFolder);

} // namespace torvanu
