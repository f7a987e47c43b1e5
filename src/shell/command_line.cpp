#include "shell/command_line.h"

#include "program_version.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kHelpText = u"使い方: torvanu [オプション]\n"
                                  u"\n"
                                  u"ランナーのためのペース計算、ラップ表と大会記録です。\n"
                                  u"オプションを付けずに起動するとウィンドウが開きます。\n"
                                  u"\n"
                                  u"オプション:\n"
                                  u"  -h, --help     この説明を表示して終了します\n"
                                  u"  -v, --version  バージョンを表示して終了します\n"
                                  u"\n"
                                  u"-platform や -style など Qt のオプションも使えます。\n";

constexpr QStringView kUnknownOption = u"torvanu: 不明なオプションです: ";
constexpr QStringView kUnexpectedArgument = u"torvanu: 引数は受け付けません: ";
constexpr QStringView kMalformed = u"torvanu: コマンドラインを読めません: ";
constexpr QStringView kSeeHelp = u"使い方は「torvanu --help」で表示されます。\n";

// The options QGuiApplication and QApplication take out of the arguments themselves.
constexpr QStringView kQtOptionsWithValue[] = {u"platform",        u"platformpluginpath",
                                               u"platformtheme",   u"plugin",
                                               u"qwindowgeometry", u"qwindowicon",
                                               u"qwindowtitle",    u"display",
                                               u"geometry",        u"style",
                                               u"stylesheet",      u"session",
                                               u"qmljsdebugger"};
constexpr QStringView kQtFlags[] = {u"reverse", u"widgetcount", u"sync", u"nograb", u"dograb"};

// The argument as the user typed it, dashes and all, for the message.
QString typedOption(const QStringList& arguments, const QString& name)
{
    for (const QString& argument : arguments.mid(1)) {
        QStringView bare(argument);
        while (bare.startsWith(u'-'))
            bare = bare.mid(1);
        if (bare.left(bare.indexOf(u'=')) == name)
            return argument;
    }
    return name;
}

CommandLineOutcome badCommandLine(const QString& text)
{
    return {false, kBadCommandLineExit, {}, text + u'\n' + kSeeHelp.toString()};
}

} // namespace

CommandLineOutcome parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Qt's own options are single-dash words (-platform offscreen).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    parser.addOption(help);
    parser.addOption(version);
    for (QStringView name : kQtOptionsWithValue) {
        QCommandLineOption option(name.toString(), {}, u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (QStringView name : kQtFlags) {
        QCommandLineOption option(name.toString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            return badCommandLine(kUnknownOption.toString() +
                                  typedOption(arguments, unknown.first()));
        }
        return badCommandLine(kMalformed.toString() + parser.errorText());
    }
    if (parser.isSet(help))
        return {false, 0, kHelpText.toString(), {}};
    if (parser.isSet(version))
        return {false, 0, u"Torvanu "_s + kProgramVersion.toString() + u'\n', {}};
    if (!parser.positionalArguments().isEmpty())
        return badCommandLine(kUnexpectedArgument.toString() +
                              parser.positionalArguments().first());
    return {};
}

} // namespace torvanu
