#include "record_book/form3.h"

#include "support/access_keys.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(torvanu::RaceRecord)

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

const QString kNotANumber = u"距離に数値を入力してください。"_s;
const QString kAboveKm = u"距離は10000km以下の数値を入力してください。"_s;
const QString kAboveMetres = u"距離は1000000m以下の数値を入力してください。"_s;
const QString kAboveMiles = u"距離は10000ﾏｲﾙ以下の数値を入力してください。"_s;

// One editor with scripted message boxes and a scripted file chooser.
struct Editor
{
    test::ScriptedDialogs dialogs;
    QStringList browseAnswers;
    QList<std::pair<QWidget*, QString>> browseCalls;
    Form3 form{dialogs, [this](QWidget* owner, const QString& currentText) {
                   browseCalls.append({owner, currentText});
                   return browseAnswers.isEmpty() ? QString() : browseAnswers.takeFirst();
               }};

    QComboBox* picker(const QString& name) const { return form.findChild<QComboBox*>(name); }
    QLineEdit* field(const QString& name) const { return form.findChild<QLineEdit*>(name); }
    QPushButton* button(const QString& name) const { return form.findChild<QPushButton*>(name); }
    QLineEdit* distance() const { return picker(u"Combo3"_s)->lineEdit(); }
    QString frameCaption() const { return form.findChild<QGroupBox*>(u"Frame1"_s)->title(); }

    void pick(const QString& name, const QString& entry) const
    {
        QComboBox* combo = picker(name);
        const int index = combo->findText(entry);
        QVERIFY2(index >= 0, qPrintable(entry));
        combo->setCurrentIndex(index);
    }

    void typeDistance(const QString& text) const
    {
        distance()->selectAll();
        QTest::keyClicks(distance(), text);
    }

    // A new record on a fixed day, shown as the list shows it.
    void openNew()
    {
        form.prepareNew(0, QDate(2007, 2, 7));
        form.show();
    }

    void setUnit(const QString& unit) const
    {
        for (int i = 0; i < 3 && button(u"kmButton"_s)->text() != unit; ++i)
            button(u"kmButton"_s)->click();
        QCOMPARE(button(u"kmButton"_s)->text(), unit);
    }
};

RaceRecord workedExample()
{
    return {u"6"_s,
            u"2007年02月07日"_s,
            u"市民マラソン，第3回"_s,
            u"42.195km"_s,
            u" 3時間 5分30秒"_s,
            u"自己ベスト"_s,
            u"C:\\run\\2007.csv"_s};
}

} // namespace

class TestForm3 : public QObject
{
    Q_OBJECT

private slots:
    void prepareNewResetsEveryField();
    void prepareNewClampsYear_data();
    void prepareNewClampsYear();
    void prepareEditThenOkKeepsTheRow_data();
    void prepareEditThenOkKeepsTheRow();
    void prepareEditRefusesUnreadableRow_data();
    void prepareEditRefusesUnreadableRow();
    void fillingNeverChecks_data();
    void fillingNeverChecks();
    void okComposesWorkedExample();
    void emptyDistanceBecomesZero_data();
    void emptyDistanceBecomesZero();
    void typingShowsOneMessagePerKeystroke_data();
    void typingShowsOneMessagePerKeystroke();
    void unitChangeIsCheckedOnOk();
    void fieldsBesideTheirLabels_data();
    void fieldsBesideTheirLabels();
    void unstorableCharacterRefused_data();
    void unstorableCharacterRefused();
    void textIsCleanedAsEntered_data();
    void textIsCleanedAsEntered();
    void browse_data();
    void browse();
    void enterDoesWhatOkDoes_data();
    void enterDoesWhatOkDoes();
    void distanceListFollowsText_data();
    void distanceListFollowsText();
    void typedDigitsPickTheirEntry_data();
    void typedDigitsPickTheirEntry();
    void accessKeysInCaptionsChangeNothing();
    void cancelAndCloseWriteNothing();
};

void TestForm3::prepareNewResetsEveryField()
{
    Editor editor;
    QVERIFY(editor.form.prepareEdit(2, workedExample()));
    editor.setUnit(u"ﾏｲﾙ"_s);

    editor.form.prepareNew(5, QDate(2007, 2, 7));

    QCOMPARE(editor.frameCaption(), u"No.6"_s);
    QCOMPARE(editor.form.recordNumber(), 6);
    QCOMPARE(editor.picker(u"Combo1(0)"_s)->currentText(), u"2007"_s);
    QCOMPARE(editor.picker(u"Combo1(1)"_s)->currentText(), u"02"_s);
    QCOMPARE(editor.picker(u"Combo1(2)"_s)->currentText(), u"07"_s);
    QCOMPARE(editor.field(u"Text1"_s)->text(), QString());
    QCOMPARE(editor.distance()->text(), u"42.195"_s);
    QCOMPARE(editor.button(u"kmButton"_s)->text(), u"km"_s);
    QCOMPARE(editor.picker(u"Combo2(0)"_s)->currentText(), u" 4"_s);
    QCOMPARE(editor.picker(u"Combo2(1)"_s)->currentText(), u" 0"_s);
    QCOMPARE(editor.picker(u"Combo2(2)"_s)->currentText(), u" 0"_s);
    QCOMPARE(editor.field(u"Text2"_s)->text(), QString());
    QCOMPARE(editor.field(u"FileText"_s)->text(), QString());
    QVERIFY(editor.dialogs.messages.isEmpty());
}

void TestForm3::prepareNewClampsYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("year");

    QTest::newRow("before the first entry") << QDate(1975, 6, 1) << u"1980"_s;
    QTest::newRow("first entry") << QDate(1980, 1, 1) << u"1980"_s;
    QTest::newRow("last entry") << QDate(2100, 12, 31) << u"2100"_s;
    QTest::newRow("after the last entry") << QDate(2150, 6, 1) << u"2100"_s;
}

void TestForm3::prepareNewClampsYear()
{
    QFETCH(QDate, today);
    QFETCH(QString, year);

    Editor editor;
    editor.form.prepareNew(0, today);
    QCOMPARE(editor.picker(u"Combo1(0)"_s)->currentText(), year);
    QCOMPARE(editor.frameCaption(), u"No.1"_s);
}

// A row confirmed without a change reads back and composes into the very same texts, so
// closing the program finds no difference.
void TestForm3::prepareEditThenOkKeepsTheRow_data()
{
    QTest::addColumn<RaceRecord>("row");

    QTest::newRow("worked example") << workedExample();
    QTest::newRow("under an hour, one-digit minutes") << RaceRecord{
        u"2"_s, u"2007年02月07日"_s, QString(), u"5 km"_s, u"   5分30秒"_s, QString(), QString()};
    QTest::newRow("under an hour, one-digit seconds, miles") << RaceRecord{
        u"2"_s, u"1980年01月31日"_s, u"x"_s, u"26.2ﾏｲﾙ"_s, u"  45分 9秒"_s, u"y"_s, QString()};
    QTest::newRow("ten hours, metres, path with commas")
        << RaceRecord{u"2"_s,    u"2100年12月01日"_s, u"a，b"_s, u"800m"_s, u"10時間 0分 0秒"_s,
                      QString(), u"C:\\a,b\\x.csv"_s};
    // Only what the user types is cut and cleaned; the fields show what they can.
    RaceRecord longRemark = workedExample();
    longRemark.remarks = QString(2000, QChar(u'走'));
    QTest::newRow("remark of 2,000 characters") << longRemark;
    RaceRecord longName = workedExample();
    longName.raceName = QString(150, u'a');
    QTest::newRow("race name beyond its 100 characters") << longName;
    RaceRecord tab = workedExample();
    tab.remarks = u"雨\t風"_s;
    QTest::newRow("control character in the remarks") << tab;
    RaceRecord noted = workedExample();
    noted.raceDate = u"2007年02月07日(水)"_s;
    QTest::newRow("date cell with a note after it") << noted;
    RaceRecord unread = workedExample();
    unread.remarks = u"a\uFFFDb"_s;
    QTest::newRow("remarks with an unreadable byte's substitute") << unread;
}

void TestForm3::prepareEditThenOkKeepsTheRow()
{
    QFETCH(RaceRecord, row);

    Editor editor;
    const int position = row.no.toInt();
    QVERIFY(editor.form.prepareEdit(position, row));
    QCOMPARE(editor.frameCaption(), u"No."_s + row.no);
    QVERIFY(editor.dialogs.messages.isEmpty());

    editor.form.show();
    editor.button(u"OkButton"_s)->click();

    QCOMPARE(editor.form.result(), int(QDialog::Accepted));
    QCOMPARE(editor.form.recordNumber(), position);
    QCOMPARE(editor.form.record(), row);
    QVERIFY(editor.dialogs.messages.isEmpty());
}

void TestForm3::prepareEditRefusesUnreadableRow_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");

    QTest::newRow("one-digit month") << u"2007年2月7日"_s << u" 3時間 5分30秒"_s;
    QTest::newRow("no year marker") << u"2007/02/07"_s << u" 3時間 5分30秒"_s;
    QTest::newRow("year before the list") << u"1979年02月07日"_s << u" 3時間 5分30秒"_s;
    QTest::newRow("no minutes marker") << u"2007年02月07日"_s << u"3時間"_s;
    QTest::newRow("hours beyond the list") << u"2007年02月07日"_s << u"25時間 0分 0秒"_s;
    QTest::newRow("minutes without their blank") << u"2007年02月07日"_s << u"  5分30秒"_s;
}

void TestForm3::prepareEditRefusesUnreadableRow()
{
    QFETCH(QString, date);
    QFETCH(QString, time);

    Editor editor;
    editor.form.prepareNew(4, QDate(2010, 5, 6));
    const RaceRecord before = editor.form.record();

    RaceRecord row = workedExample();
    row.raceDate = date;
    row.raceTime = time;
    QVERIFY(!editor.form.prepareEdit(2, row));

    QCOMPARE(editor.form.record(), before);
    QVERIFY(editor.dialogs.messages.isEmpty());
}

// Only OK and the user's own edits check the distance; opening shows the row as it is.
void TestForm3::fillingNeverChecks_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("onOk");

    QTest::newRow("not a number") << u"abckm"_s << u"abc"_s << QStringList{kNotANumber};
    QTest::newRow("above the mile bound")
        << u"20000ﾏｲﾙ"_s << u"20000"_s << QStringList{kAboveMiles};
    QTest::newRow("empty distance stays empty until OK") << u"km"_s << QString() << QStringList();
}

void TestForm3::fillingNeverChecks()
{
    QFETCH(QString, cell);
    QFETCH(QString, shown);
    QFETCH(QStringList, onOk);

    Editor editor;
    RaceRecord row = workedExample();
    row.distance = cell;
    QVERIFY(editor.form.prepareEdit(1, row));
    editor.form.show();
    QCOMPARE(editor.distance()->text(), shown);
    QVERIFY(editor.dialogs.messages.isEmpty());

    editor.button(u"OkButton"_s)->click();
    QCOMPARE(editor.dialogs.messageTexts(), onOk);
    QCOMPARE(editor.form.isVisible(), !onOk.isEmpty());
}

void TestForm3::okComposesWorkedExample()
{
    Editor editor;
    editor.form.prepareNew(5, QDate(2007, 2, 7));
    editor.form.show();
    editor.field(u"Text1"_s)->insert(u"市民マラソン,第3回"_s);
    editor.pick(u"Combo2(0)"_s, u" 3"_s);
    editor.pick(u"Combo2(1)"_s, u" 5"_s);
    editor.pick(u"Combo2(2)"_s, u"30"_s);
    editor.field(u"Text2"_s)->insert(u"自己ベスト"_s);
    editor.field(u"FileText"_s)->insert(u"C:\\run\\2007.csv"_s);

    editor.button(u"OkButton"_s)->click();

    QVERIFY(!editor.form.isVisible());
    QCOMPARE(editor.form.result(), int(QDialog::Accepted));
    QCOMPARE(editor.form.recordNumber(), 6);
    QCOMPARE(editor.form.record(), workedExample());
    QVERIFY(editor.dialogs.messages.isEmpty());
}

void TestForm3::emptyDistanceBecomesZero_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("cell");

    QTest::newRow("km") << u"km"_s << u"0km"_s;
    QTest::newRow("m") << u"m"_s << u"0m"_s;
    QTest::newRow("mile") << u"ﾏｲﾙ"_s << u"0ﾏｲﾙ"_s;
}

void TestForm3::emptyDistanceBecomesZero()
{
    QFETCH(QString, unit);
    QFETCH(QString, cell);

    Editor editor;
    editor.openNew();
    editor.setUnit(unit);
    editor.distance()->selectAll();
    QTest::keyClick(editor.distance(), Qt::Key_Backspace);

    QCOMPARE(editor.distance()->text(), u"0"_s);
    QVERIFY(editor.dialogs.messages.isEmpty());

    editor.button(u"OkButton"_s)->click();
    QCOMPARE(editor.form.result(), int(QDialog::Accepted));
    QCOMPARE(editor.form.record().distance, cell);
}

void TestForm3::typingShowsOneMessagePerKeystroke_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("letters, one message each")
        << u"km"_s << u"ab"_s << QStringList{kNotANumber, kNotANumber};
    QTest::newRow("grouping comma is no number")
        << u"km"_s << u"1,5"_s << QStringList{kNotANumber, kNotANumber};
    QTest::newRow("km bound is inclusive") << u"km"_s << u"10000"_s << QStringList();
    QTest::newRow("above the km bound") << u"km"_s << u"100001"_s << QStringList{kAboveKm};
    QTest::newRow("above the m bound") << u"m"_s << u"1000001"_s << QStringList{kAboveMetres};
    QTest::newRow("above the mile bound") << u"ﾏｲﾙ"_s << u"10001"_s << QStringList{kAboveMiles};
}

void TestForm3::typingShowsOneMessagePerKeystroke()
{
    QFETCH(QString, unit);
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);

    Editor editor;
    editor.openNew();
    editor.setUnit(unit);
    editor.typeDistance(typed);

    QCOMPARE(editor.dialogs.messageTexts(), messages);
    for (const auto& shown : editor.dialogs.messages) {
        QCOMPARE(shown.icon, Dialogs::Icon::Information);
        QCOMPARE(shown.buttons, Dialogs::Buttons::Ok);
    }
    QCOMPARE(editor.distance()->text(), typed);
}

void TestForm3::unitChangeIsCheckedOnOk()
{
    Editor editor;
    editor.openNew();
    editor.setUnit(u"m"_s);
    editor.typeDistance(u"20000"_s);
    editor.setUnit(u"ﾏｲﾙ"_s);
    QVERIFY(editor.dialogs.messages.isEmpty());

    editor.button(u"OkButton"_s)->click();

    QCOMPARE(editor.dialogs.messageTexts(), QStringList{kAboveMiles});
    QVERIFY(editor.form.isVisible());
    QCOMPARE(editor.form.result(), int(QDialog::Rejected));
    QCOMPARE(editor.form.focusWidget(), editor.picker(u"Combo3"_s));
}

void TestForm3::fieldsBesideTheirLabels_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");

    QTest::newRow("日時 labels the date") << u"Combo1(0)"_s << u"日時"_s;
    QTest::newRow("大会名 labels the race name") << u"Text1"_s << u"大会名"_s;
    QTest::newRow("距離 labels the distance") << u"Combo3"_s << u"距離"_s;
    QTest::newRow("記録 labels the time") << u"Combo2(0)"_s << u"記録"_s;
    QTest::newRow("備考 labels the remarks") << u"Text2"_s << u"備考"_s;
    QTest::newRow("データ labels the data file") << u"FileText"_s << u"データ"_s;
}

// The editor's labels are not the list's captions (the time is "記録" here): each field must
// sit in the row of its own label.
void TestForm3::fieldsBesideTheirLabels()
{
    QFETCH(QString, field);
    QFETCH(QString, label);

    Editor editor;
    auto* grid =
        qobject_cast<QGridLayout*>(editor.form.findChild<QGroupBox*>(u"Frame1"_s)->layout());
    QVERIFY(grid);
    QWidget* widget = editor.form.findChild<QWidget*>(field);
    QVERIFY(widget);
    std::optional<int> fieldRow;
    for (int row = 0; row < grid->rowCount(); ++row) {
        QLayoutItem* item = grid->itemAtPosition(row, 1);
        if (item &&
            (item->widget() == widget || (item->layout() && item->layout()->indexOf(widget) >= 0)))
            fieldRow = row;
    }
    QVERIFY(fieldRow);
    QLayoutItem* beside = grid->itemAtPosition(*fieldRow, 0);
    auto* shown = beside ? qobject_cast<QLabel*>(beside->widget()) : nullptr;
    QVERIFY(shown);
    QCOMPARE(shown->text(), label);
}

void TestForm3::unstorableCharacterRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("character");

    QTest::newRow("emoji in the race name") << u"Text1"_s << u"大会名"_s << u"\U0001F600"_s;
    QTest::newRow("kanji outside the code page in the remarks")
        << u"Text2"_s << u"備考"_s << u"\U00020BB7"_s;
    QTest::newRow("wave dash in the data path, kept as typed")
        << u"FileText"_s << u"データ"_s << u"\u301C"_s;
}

void TestForm3::unstorableCharacterRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, label);
    QFETCH(QString, character);

    Editor editor;
    editor.openNew();
    QLineEdit* edit = editor.field(field);
    edit->insert(u"ab"_s + character + u"c"_s);

    editor.button(u"OkButton"_s)->click();

    QCOMPARE(editor.dialogs.messages.size(), 1);
    const QString text = editor.dialogs.messages.first().text;
    QVERIFY2(text.startsWith(label) && text.contains(character), qPrintable(text));
    QVERIFY(editor.form.isVisible());
    QCOMPARE(editor.form.focusWidget(), edit);
    QCOMPARE(edit->selectedText(), character);
}

void TestForm3::textIsCleanedAsEntered_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("cursor");

    QTest::newRow("race name: pasted lines and a wave dash")
        << u"Text1"_s << u"1\r\n2\u301C"_s << u"x12\uFF5Ey"_s << 4;
    QTest::newRow("remarks: tab and minus sign")
        << u"Text2"_s << u"\t\u2212"_s << u"x\uFF0Dy"_s << 2;
    QTest::newRow("distance: line feed") << u"Combo3"_s << u"5\n"_s << u"x5y"_s << 2;
    QTest::newRow("data path: line feed goes, wave dash stays")
        << u"FileText"_s << u"\n\u301C"_s << u"x\u301Cy"_s << 2;
}

void TestForm3::textIsCleanedAsEntered()
{
    QFETCH(QString, field);
    QFETCH(QString, inserted);
    QFETCH(QString, shown);
    QFETCH(int, cursor);

    Editor editor;
    editor.openNew();
    QLineEdit* edit = field == u"Combo3"_s ? editor.picker(field)->lineEdit() : editor.field(field);
    edit->setText(u"xy"_s);
    edit->setCursorPosition(1);
    edit->insert(inserted);

    QCOMPARE(edit->text(), shown);
    QCOMPARE(edit->cursorPosition(), cursor);
}

void TestForm3::browse_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");

    QTest::newRow("cancelled chooser keeps the path") << QString() << u"/old/run.csv"_s;
    QTest::newRow("chosen file replaces it") << u"/new/a,b.csv"_s << u"/new/a,b.csv"_s;
}

void TestForm3::browse()
{
    QFETCH(QString, answer);
    QFETCH(QString, shown);

    Editor editor;
    editor.openNew();
    editor.field(u"FileText"_s)->setText(u"/old/run.csv"_s);
    editor.browseAnswers.append(answer);

    editor.button(u"Command1"_s)->click();

    QCOMPARE(editor.browseCalls.size(), 1);
    QCOMPARE(editor.browseCalls.first().first, &editor.form);
    QCOMPARE(editor.browseCalls.first().second, u"/old/run.csv"_s);
    QCOMPARE(editor.field(u"FileText"_s)->text(), shown);
}

void TestForm3::cancelAndCloseWriteNothing()
{
    Editor editor;
    editor.openNew();
    editor.field(u"Text1"_s)->insert(u"x"_s);
    editor.button(u"CancelButton"_s)->click();
    QVERIFY(!editor.form.isVisible());
    QCOMPARE(editor.form.result(), int(QDialog::Rejected));

    editor.form.show();
    editor.form.close();
    QVERIFY(!editor.form.isVisible());
    QCOMPARE(editor.form.result(), int(QDialog::Rejected));
    QVERIFY(editor.dialogs.messages.isEmpty());
}

void TestForm3::enterDoesWhatOkDoes_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("viaInputMethod"); // its Enter only confirms what was typed
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("race name") << u"Text1"_s << u"abc"_s << false << true << u"42.195km"_s
                               << QStringList();
    QTest::newRow("remarks") << u"Text2"_s << u"x"_s << false << true << u"42.195km"_s
                             << QStringList();
    QTest::newRow("data file") << u"FileText"_s << u"/tmp/a"_s << false << true << u"42.195km"_s
                               << QStringList();
    QTest::newRow("distance") << u"Combo3"_s << u"10"_s << false << true << u"10km"_s
                              << QStringList();
    QTest::newRow("year picker") << u"Combo1(0)"_s << QString() << false << true << u"42.195km"_s
                                 << QStringList();
    QTest::newRow("refused distance keeps the dialog open")
        << u"Combo3"_s << u"10001"_s << false << false << u"10001km"_s
        << QStringList{kAboveKm, kAboveKm};
    QTest::newRow("input method confirming a race name")
        << u"Text1"_s << u"東京"_s << true << false << u"42.195km"_s << QStringList();
}

void TestForm3::enterDoesWhatOkDoes()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(bool, viaInputMethod);
    QFETCH(bool, accepted);
    QFETCH(QString, distance);
    QFETCH(QStringList, messages);

    Editor editor;
    editor.openNew();
    editor.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor.form));
    // A button that had the focus once must not take Enter afterwards.
    editor.button(u"kmButton"_s)->setFocus();
    editor.form.findChild<QWidget*>(field)->setFocus();
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);

    if (viaInputMethod) {
        QInputMethodEvent composing(typed, {});
        QApplication::sendEvent(focused, &composing);
        QInputMethodEvent confirmed;
        confirmed.setCommitString(typed);
        QApplication::sendEvent(focused, &confirmed);
    } else {
        if (field == u"Combo3"_s)
            editor.distance()->selectAll();
        QTest::keyClicks(focused, typed);
        QTest::keyClick(focused, Qt::Key_Return);
    }

    QCOMPARE(editor.form.isVisible(), !accepted);
    QCOMPARE(editor.form.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(editor.form.record().distance, distance);
    QCOMPARE(editor.dialogs.messageTexts(), messages);
}

void TestForm3::distanceListFollowsText_data()
{
    QTest::addColumn<QString>("cell");  // null: a new record
    QTest::addColumn<QString>("typed"); // null: nothing typed
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("afterDown");

    QTest::newRow("new record's distance") << QString() << QString() << 0 << u"30"_s;
    QTest::newRow("typed preset") << QString() << u"10"_s << 4 << u"5 "_s;
    QTest::newRow("typed text of no preset: Down starts at the first")
        << QString() << u"7"_s << -1 << u"42.195"_s;
    QTest::newRow("opened row's preset") << u"21.0975km"_s << QString() << 2 << u"20"_s;
}

void TestForm3::distanceListFollowsText()
{
    QFETCH(QString, cell);
    QFETCH(QString, typed);
    QFETCH(int, entry);
    QFETCH(QString, afterDown);

    Editor editor;
    if (cell.isNull()) {
        editor.openNew();
    } else {
        RaceRecord row = workedExample();
        row.distance = cell;
        QVERIFY(editor.form.prepareEdit(1, row));
        editor.form.show();
    }
    if (!typed.isNull())
        editor.typeDistance(typed);
    QComboBox* picker = editor.picker(u"Combo3"_s);
    QCOMPARE(picker->currentIndex(), entry);

    QTest::keyClick(picker, Qt::Key_Down);
    QCOMPARE(picker->currentText(), afterDown);
    QVERIFY(editor.dialogs.messages.isEmpty());
}

void TestForm3::typedDigitsPickTheirEntry_data()
{
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("picked");

    QTest::newRow("one digit names an hour with a leading blank")
        << u"Combo2(0)"_s << u"3"_s << u" 3"_s;
    QTest::newRow("two digits name one minute") << u"Combo2(1)"_s << u"45"_s << u"45"_s;
    QTest::newRow("a digit that names nothing more starts again")
        << u"Combo2(2)"_s << u"79"_s << u" 9"_s;
    QTest::newRow("a full-width digit from an input method")
        << u"Combo2(0)"_s << u"５"_s << u" 5"_s;
    QTest::newRow("a month padded with a zero") << u"Combo1(1)"_s << u"7"_s << u"07"_s;
    QTest::newRow("a zero typed before the day") << u"Combo1(2)"_s << u"03"_s << u"03"_s;
    QTest::newRow("a year typed whole") << u"Combo1(0)"_s << u"2024"_s << u"2024"_s;
}

void TestForm3::typedDigitsPickTheirEntry()
{
    QFETCH(QString, picker);
    QFETCH(QString, typed);
    QFETCH(QString, picked);

    Editor editor;
    editor.openNew();
    QComboBox* combo = editor.picker(picker);
    QSignalSpy activated(combo, &QComboBox::textActivated);
    combo->setFocus();
    for (const QChar digit : typed)
        QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, QString(digit), Qt::NoModifier);
    QCOMPARE(combo->currentText(), picked);
    QVERIFY(!activated.isEmpty());
    QCOMPARE(activated.last().first().toString(), picked);
}

// A desktop that puts access keys into captions changes neither the row number, nor the
// unit, nor its bound.
void TestForm3::accessKeysInCaptionsChangeNothing()
{
    Editor editor;
    QVERIFY(editor.form.prepareEdit(6, workedExample()));
    editor.form.show();
    test::addAccessKeys(&editor.form);
    editor.button(u"OkButton"_s)->click();
    QCOMPARE(editor.form.result(), int(QDialog::Accepted));
    QCOMPARE(editor.form.recordNumber(), 6);
    QCOMPARE(editor.form.record(), workedExample());

    editor.openNew();
    test::addAccessKeys(&editor.form);
    for (int press = 0; press < 2; ++press) {
        editor.button(u"kmButton"_s)->click();
        test::addAccessKeys(&editor.form);
    }
    editor.typeDistance(u"10001"_s);
    QCOMPARE(editor.dialogs.messageTexts(), QStringList{kAboveMiles});
    QCOMPARE(editor.form.record().distance, u"10001ﾏｲﾙ"_s);
    QCOMPARE(editor.form.record().no, u"1"_s);
}

} // namespace torvanu

QTEST_MAIN(torvanu::TestForm3)
#include "tst_form3.moc"
