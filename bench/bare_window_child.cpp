// The floor of the start-up: a bare application with an empty main window, built with the
// same flags as the program. With --text the window holds one Japanese label in the
// program's typeface, which is what makes Qt load its font database and a CJK font.
#include "child_process.h"
#include "first_frame.h"
#include "main_window/startup.h"
#include "shell/program_font.h"
#include "main_window/ui_style.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    const long long mainNs = torvanu::bench::monotonicNanoseconds();
    torvanu::bench::PhaseStamps phases;
    phases.reserve(10);
    const auto stamp = [&phases](const char* name) {
        phases.emplace_back(name, torvanu::bench::monotonicNanoseconds());
    };
    QApplication app(argc, argv);
    stamp("application");
    QMainWindow window;
    if (QCoreApplication::arguments().contains(u"--text"_s)) {
        torvanu::installFontSubstitutions();
        stamp("fonts");
        auto* label = new QLabel(u"ゴール時間算出"_s, &window);
        label->setFont(torvanu::msGothic(9));
        window.setCentralWidget(label);
    }
    stamp("window");
    window.show();
    stamp("shown");
    return torvanu::bench::reportFirstFrame(window, mainNs, phases);
}
