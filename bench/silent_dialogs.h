#pragma once

#include "shell/dialogs.h"

namespace torvanu::bench {

// Answers every question Yes and every message OK without showing anything, so that a
// benchmark never waits on a modal window. Counts the messages, so a case can tell that
// something went wrong.
class SilentDialogs : public Dialogs
{
public:
    Answer message(QWidget*, const QString&, Icon, Buttons buttons) override
    {
        ++m_messages;
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    void messageWithDetail(QWidget*, const QString&, const QString&, Icon) override
    {
        ++m_messages;
    }
    // The first choice is the one a question offers first: save, merge, retry.
    int choose(QWidget*, const QString&, Icon, const QStringList&, int, int) override
    {
        ++m_messages;
        return 0;
    }
    QString saveFileName(QWidget*, const FileRequest&) override { return {}; }
    QString openFileName(QWidget*, const FileRequest&) override { return {}; }
    void openUrl(const QUrl&) override {}

    int messages() const { return m_messages; }

private:
    int m_messages = 0;
};

} // namespace torvanu::bench
