#pragma once

#include "shell/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>

namespace torvanu::test {

// A Dialogs double: answers come from scripts, everything shown is recorded.
// A message box, chooser or launcher call that finds its script empty fails the test
// (unexpected dialog), instead of blocking on a modal window.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString text;
        Icon icon;
        Buttons buttons;     // Ok for a choose() question, whose buttons are its choices
        QStringList choices; // the named buttons of choose(); empty for message()
        QString detail;      // the line beneath the text, of messageWithDetail()
    };

    ~ScriptedDialogs() override;

    Answer message(QWidget* owner, const QString& text, Icon icon, Buttons buttons) override;
    void messageWithDetail(QWidget* owner, const QString& text, const QString& detail,
                           Icon icon) override;
    int choose(QWidget* owner, const QString& text, Icon icon, const QStringList& choices,
               int defaultChoice, int escapeChoice) override;
    QString saveFileName(QWidget* owner, const FileRequest& request) override;
    QString openFileName(QWidget* owner, const FileRequest& request) override;
    void openUrl(const QUrl& url) override;
    int chooseItem(QWidget* owner, const QString& text, const QStringList& items,
                   int preselected) override;

    // Scripts, taken in order.
    void answerNext(Answer answer) { m_answers.push_back(answer); }
    void pressNext(int choice) { m_choices.push_back(choice); } // index in choose()'s choices
    void chooseSaveFile(const QString& path) { m_savePaths.push_back(path); }
    void chooseOpenFile(const QString& path) { m_openPaths.push_back(path); }
    void chooseItemNext(int index) { m_items.push_back(index); } // -1: cancel

    // Without a scripted answer, an OK box is answered OK (tests check the text);
    // a Yes/No question or a choice without one is an unexpected dialog and fails the test.
    QList<Shown> messages;
    QList<FileRequest> saveRequests;
    QList<FileRequest> openRequests;
    QList<QUrl> openedUrls;
    struct Choice
    {
        QString text;
        QStringList items;
        int preselected;
    };
    QList<Choice> choices;
    int unexpected = 0;
    // Runs as a choice is shown, before its answer is taken: what the user did meanwhile
    // (made room on the disk, say).
    std::function<void()> beforeChoice;

    QStringList messageTexts() const;
    void clear();

private:
    std::deque<Answer> m_answers;
    std::deque<int> m_choices;
    std::deque<QString> m_savePaths;
    std::deque<QString> m_openPaths;
    std::deque<int> m_items;
};

} // namespace torvanu::test
