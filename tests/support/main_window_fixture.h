#pragma once

#include "main_window/form1.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace torvanu::test {

// A real main window over a fresh environment and scripted dialogs. The window's folders are
// all the environment's own, unless the options name one inside it.
class MainWindowFixture
{
public:
    enum class Show
    {
        Hidden,
        Exposed,
        Active
    };
    struct Options
    {
        std::optional<QByteArray> log{}; // written as log.dat before the window loads
        QString recoveryFolder{};        // relative to the environment; empty: its top
        QString dataWriteFolder{};       // likewise
        Show show = Show::Exposed;
    };

    // Builds the window and runs Form_Load. False when log.dat could not be written or the
    // window did not come up.
    [[nodiscard]] bool start(const Options& options);

    QString logPath() const;

    template <typename T> T* find(const QString& name) const
    {
        auto* widget = form->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }

    // Declared in the order they are needed: the window goes first, the folders last.
    TestEnvironment environment;
    ScriptedDialogs dialogs;
    std::unique_ptr<Form1> form;

private:
    QString folder(const QString& name) const;
};

} // namespace torvanu::test
