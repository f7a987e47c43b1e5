#include "scripted_dialogs.h"

#include <QTest>

namespace torvanu::test {

ScriptedDialogs::~ScriptedDialogs()
{
    if (!m_answers.empty() || !m_choices.empty() || !m_savePaths.empty() || !m_openPaths.empty() ||
        !m_items.empty())
        qWarning("ScriptedDialogs: scripted answers were left unused");
}

Dialogs::Answer ScriptedDialogs::message(QWidget*, const QString& text, Icon icon, Buttons buttons)
{
    messages.append({text, icon, buttons, {}, {}});
    if (!m_answers.empty()) {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    ++unexpected;
    QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + text), __FILE__, __LINE__);
    return Answer::No;
}

void ScriptedDialogs::messageWithDetail(QWidget*, const QString& text, const QString& detail,
                                        Icon icon)
{
    messages.append({text, icon, Buttons::Ok, {}, detail});
}

int ScriptedDialogs::choose(QWidget*, const QString& text, Icon icon, const QStringList& named, int,
                            int escapeChoice)
{
    messages.append({text, icon, Buttons::Ok, named, {}});
    if (beforeChoice)
        beforeChoice();
    if (!m_choices.empty()) {
        const int choice = m_choices.front();
        m_choices.pop_front();
        return choice;
    }
    ++unexpected;
    QTest::qFail(qPrintable(QStringLiteral("unexpected choice: ") + text), __FILE__, __LINE__);
    return escapeChoice;
}

QString ScriptedDialogs::saveFileName(QWidget*, const FileRequest& request)
{
    saveRequests.append(request);
    if (m_savePaths.empty()) {
        ++unexpected;
        QTest::qFail("unexpected save chooser", __FILE__, __LINE__);
        return {};
    }
    QString path = m_savePaths.front();
    m_savePaths.pop_front();
    return path;
}

QString ScriptedDialogs::openFileName(QWidget*, const FileRequest& request)
{
    openRequests.append(request);
    if (m_openPaths.empty()) {
        ++unexpected;
        QTest::qFail("unexpected open chooser", __FILE__, __LINE__);
        return {};
    }
    QString path = m_openPaths.front();
    m_openPaths.pop_front();
    return path;
}

void ScriptedDialogs::openUrl(const QUrl& url)
{
    openedUrls.append(url);
}

int ScriptedDialogs::chooseItem(QWidget*, const QString& text, const QStringList& items,
                                int preselected)
{
    choices.append({text, items, preselected});
    if (m_items.empty()) {
        ++unexpected;
        QTest::qFail("unexpected list chooser", __FILE__, __LINE__);
        return -1;
    }
    const int index = m_items.front();
    m_items.pop_front();
    return index;
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList texts;
    for (const Shown& shown : messages)
        texts.append(shown.text);
    return texts;
}

void ScriptedDialogs::clear()
{
    messages.clear();
    saveRequests.clear();
    openRequests.clear();
    openedUrls.clear();
    choices.clear();
    unexpected = 0;
}

} // namespace torvanu::test
