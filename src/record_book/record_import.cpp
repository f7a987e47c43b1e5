#include "record_book/record_import.h"

#include "activity/activity_reader.h"
#include "activity/activity_texts.h"
#include "calc/units.h"
#include "views/import/activity_choices.h"
#include "views/import/import_fill.h"
#include "shell/dialogs.h"
#include "storage/text_bridge.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QLineEdit>

#include <utility>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

QStringList currentTexts(const std::array<QComboBox*, 3>& pickers)
{
    return {pickers[0]->currentText(), pickers[1]->currentText(), pickers[2]->currentText()};
}

QStringList entryTexts(const std::array<QComboBox*, 3>& pickers, const std::array<int, 3>& at)
{
    return {pickers[0]->itemText(at[0]), pickers[1]->itemText(at[1]), pickers[2]->itemText(at[2])};
}

void pick(const std::array<QComboBox*, 3>& pickers, const std::array<int, 3>& at)
{
    for (std::size_t i = 0; i < pickers.size(); ++i)
        pickers[i]->setCurrentIndex(at[i]);
}

} // namespace

RecordImport::RecordImport(QWidget* editor, Dialogs& dialogs, const RecordFields& fields,
                           const QTimeZone& zone)
    : QObject(editor), m_editor(editor), m_dialogs(dialogs), m_fields(fields), m_zone(zone)
{
    // The editor is filled anew before every opening: what it shows then is untouched.
    editor->installEventFilter(this);
    m_untouched = texts();
}

bool RecordImport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor && event->type() == QEvent::Show)
        m_untouched = texts();
    return QObject::eventFilter(watched, event);
}

RecordImport::Texts RecordImport::texts() const
{
    return {currentTexts(m_fields.date),
            {m_fields.distance->currentText(), toQString(unitText(m_fields.unit()))},
            currentTexts(m_fields.time)};
}

void RecordImport::message(const QString& text, bool stop)
{
    m_dialogs.message(m_editor, text, stop ? Dialogs::Icon::Stop : Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
}

void RecordImport::ImportButton_Click()
{
    const QString path = m_fields.file->text().trimmed();
    if (path.isEmpty()) {
        message(u"データファイルが指定されていません。"_s, false);
        return;
    }
    ActivityReadResult read = readActivityFile(path);
    if (read.error) {
        message(QDir::toNativeSeparators(path) + u"\n"_s + activityErrorText(*read.error) + u"。"_s,
                true);
        return;
    }

    const ActivityChoices choices = activityChoices(std::move(read), m_zone);
    int chosen = choices.preferred;
    if (choices.activities.size() > 1) {
        chosen = m_dialogs.chooseItem(
            m_editor, u"このファイルには複数の記録があります。読み込む記録を選んでください。"_s,
            choices.captions, chosen);
        if (chosen < 0 || chosen >= choices.activities.size())
            return;
    }
    const Activity& activity = choices.activities[chosen];
    const ImportFill fill = importFill(activity, m_zone);

    // What each field would show, and whether the user's own change would be lost.
    const Texts now = texts();
    Texts next = now;
    if (fill.date)
        next.date = entryTexts(m_fields.date, *fill.date);
    next.distance = {fill.distance, toQString(kKmText)};
    if (fill.time)
        next.time = entryTexts(m_fields.time, *fill.time);
    const bool dateMine = now.date != m_untouched.date && next.date != now.date;
    const bool distanceMine = now.distance != m_untouched.distance && next.distance != now.distance;
    const bool timeMine = now.time != m_untouched.time && next.time != now.time;
    bool keepMine = false;
    if (dateMine || distanceMine || timeMine) {
        // Only what would be lost is named: a question about all three when one was typed
        // sends the user looking for changes that are not there.
        QStringList mine;
        if (dateMine)
            mine.append(u"日時"_s);
        if (distanceMine)
            mine.append(u"距離"_s);
        if (timeMine)
            mine.append(u"記録"_s);
        keepMine =
            m_dialogs.message(
                m_editor, u"入力済みの%1を、ファイルの値で置き換えますか？"_s.arg(mine.join(u'・')),
                Dialogs::Icon::Information, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes;
    }

    if (fill.date && !(keepMine && dateMine))
        pick(m_fields.date, *fill.date);
    if (!(keepMine && distanceMine)) {
        // The current index follows the text, as when the editor sets a distance itself.
        m_fields.distance->setCurrentIndex(m_fields.distance->findText(fill.distance));
        m_fields.distance->setEditText(fill.distance);
        m_fields.setUnit(Unit::Km);
    }
    if (fill.time && !(keepMine && timeMine))
        pick(m_fields.time, *fill.time);
    // What the file filled is the file's, not the user's: a second file may replace it.
    m_untouched = texts();

    if (!activity.timed)
        message(
            u"このファイルには時刻がありません（計画したコースなど）。\n距離だけを読み込みました。"_s,
            false);
    else if (!fill.date)
        message(u"このファイルには日付がありません。日時はそのままです。"_s, false);
    if (fill.timeTooLong)
        message(u"記録が長すぎて入力できません。記録はそのままです。"_s, false);
}

} // namespace torvanu
