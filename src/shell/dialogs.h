#pragma once

#include <QString>
#include <QStringList>

class QUrl;
class QWidget;

namespace torvanu {

// Every modal dialog and every hand-over to the desktop passes through this interface, so
// that tests can script the answers and read the texts shown.
class Dialogs
{
public:
    enum class Icon
    {
        Information,
        Stop
    };
    enum class Buttons
    {
        Ok,
        YesNo
    };
    enum class Answer
    {
        Ok,
        Yes,
        No
    };

    struct FileRequest
    {
        QString title;
        QStringList filters; // "テキストファイル(*.csv)" ...; the first one is selected
        QString folder;      // where the chooser starts; empty: the platform's default
        QString fileName;    // the name offered at first (save chooser only)
    };

    virtual ~Dialogs() = default;

    // Shows a modal message box with the program's title as caption.
    virtual Answer message(QWidget* owner, const QString& text, Icon icon, Buttons buttons) = 0;

    // An OK box whose text stays as the program words it, with the detail (the file and the
    // cause) beneath it in a line of its own.
    virtual void messageWithDetail(QWidget* owner, const QString& text, const QString& detail,
                                   Icon icon) = 0;

    // A message box whose buttons are the named choices, left to right, for the questions a
    // Yes and a No cannot answer. Returns the index of the choice pressed; Escape and the
    // close box give escapeChoice.
    virtual int choose(QWidget* owner, const QString& text, Icon icon, const QStringList& choices,
                       int defaultChoice, int escapeChoice) = 0;

    // The save chooser confirms the replacement of an existing file itself. Returns the
    // chosen full path, or an empty text on cancel.
    virtual QString saveFileName(QWidget* owner, const FileRequest& request) = 0;

    // Returns the full path of an existing file, or an empty text on cancel.
    virtual QString openFileName(QWidget* owner, const FileRequest& request) = 0;

    // Hands a local file or a web page to the desktop; does not wait, reports nothing.
    virtual void openUrl(const QUrl& url) = 0;

    // An existing folder, or an empty text on cancel; a Dialogs that shows nothing cancels.
    virtual QString folderName(QWidget* /*owner*/, const FileRequest& /*request*/) { return {}; }

    // A list to pick one entry from, the preselected one marked. Returns the index of the
    // entry picked, or -1 on cancel; a Dialogs that shows nothing cancels.
    virtual int chooseItem(QWidget* /*owner*/, const QString& /*text*/,
                           const QStringList& /*items*/, int /*preselected*/)
    {
        return -1;
    }
};

} // namespace torvanu
