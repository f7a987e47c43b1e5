#pragma once

#include <QString>
#include <QStringView>

namespace torvanu {

class Module1;

// The project's pages. One place to change them when the site moves.
inline constexpr QStringView kLinkAddress = u"https://torvanu.example.org/";
inline constexpr QStringView kOnlineHelpAddress = u"https://torvanu.example.org/help/";

// The Help menu's "online help": the help page in the desktop's browser.
void openOnlineHelp(const Module1& module);

// The Help menu's "readme.txt": the guide beside the program, in the desktop's text viewer.
// A missing file gives nothing to open, and no message.
void openReadme(const Module1& module, const QString& programFolder);

} // namespace torvanu
