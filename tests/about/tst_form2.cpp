#include "about/about_box.h"
#include "about/form2.h"
#include "about/help_links.h"
#include "shell/module1.h"
#include "program_version.h"
#include "support/file_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using torvanu::AboutBox;
using torvanu::Form2;
using torvanu::Module1;
using torvanu::test::ScriptedDialogs;
using torvanu::test::TestEnvironment;

namespace {

struct Showing
{
    QString version;
    QPointer<Form2> form;
    bool modalOverOwner = false;
};

// Shows the box through the opener and ends the showing with OK or the close box.
Showing showOnce(AboutBox& box, QWidget* owner, bool closeBox)
{
    Showing showing;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* form = qobject_cast<Form2*>(QApplication::activeModalWidget());
        if (!form || !form->isVisible())
            return;
        poll.stop();
        showing.form = form;
        showing.version = form->findChild<QLabel*>(u"Label1"_s)->text();
        showing.modalOverOwner = form->isModal() && form->parentWidget() == owner;
        if (closeBox)
            form->close();
        else
            QTest::mouseClick(form->findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    });
    poll.start();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->hide();
    });
    guard.start(10000);
    box.show();
    return showing;
}

} // namespace

class TstForm2 : public QObject
{
    Q_OBJECT

private slots:
    void reopeningShowsVersionAgain_data();
    void reopeningShowsVersionAgain();
    void linkClickOpensItsCaption();
    void helpMenuTargets_data();
    void helpMenuTargets();
    void iconIsBuiltIn();
};

void TstForm2::reopeningShowsVersionAgain_data()
{
    QTest::addColumn<bool>("closeBox");

    QTest::newRow("OK hides the box for reuse") << false;
    QTest::newRow("close box discards the box") << true;
}

void TstForm2::reopeningShowsVersionAgain()
{
    QFETCH(bool, closeBox);
    ScriptedDialogs dialogs;
    QWidget owner;
    owner.show();
    const Module1 module(dialogs, &owner);
    AboutBox box(module, u"/usr/share/torvanu/help/index.html"_s, &owner);

    const Showing first = showOnce(box, &owner, closeBox);
    const bool firstKept = !first.form.isNull();
    const Showing second = showOnce(box, &owner, false);

    QCOMPARE(first.version, u"Torvanu ver"_s + torvanu::kProgramVersion.toString());
    QCOMPARE(second.version, u"Torvanu ver"_s + torvanu::kProgramVersion.toString());
    QVERIFY(first.modalOverOwner);
    QVERIFY(second.modalOverOwner);
    QCOMPARE(firstKept, !closeBox);
    QCOMPARE(second.form == first.form, !closeBox);
    QCOMPARE(box.form(), second.form.data());
    QVERIFY(!second.form->isVisible());
}

void TstForm2::linkClickOpensItsCaption()
{
    TestEnvironment env;
    const QString page = env.filePath(u"help/index.html"_s);
    QVERIFY(QDir().mkpath(env.filePath(u"help"_s)));
    QVERIFY(torvanu::test::writeFile(page, "<html></html>"));
    ScriptedDialogs dialogs;
    const Module1 module(dialogs, nullptr);
    Form2 form(page, [&module](const QString& target) { module.ShellOpen(target); });
    form.show();
    auto* link = form.findChild<QLabel*>(u"urlLabel"_s);

    QTest::mouseClick(link, Qt::RightButton);
    QCOMPARE(dialogs.openedUrls.size(), 0);
    QTest::mouseClick(link, Qt::LeftButton);

    QCOMPARE(link->text(), page);
    QCOMPARE(dialogs.openedUrls, QList<QUrl>{QUrl::fromLocalFile(link->text())});
}

void TstForm2::helpMenuTargets_data()
{
    QTest::addColumn<bool>("onlineHelp");
    QTest::addColumn<QStringList>("files"); // made under the root before the menu is used
    QTest::addColumn<QString>("opened");    // relative to the root; empty: nothing opened

    // The program sits in <root>/lib/torvanu, as an installed copy does under its prefix.
    const QString program = u"lib/torvanu/"_s;
    QTest::newRow("help page beside a built program")
        << true << QStringList{program + u"help/index.html"_s} << program + u"help/index.html"_s;
    QTest::newRow("installed help page under the prefix")
        << true << QStringList{u"share/torvanu/help/index.html"_s}
        << u"share/torvanu/help/index.html"_s;
    QTest::newRow("no help page opens nothing") << true << QStringList() << QString();
    QTest::newRow("readme beside the program")
        << false << QStringList{program + u"readme.txt"_s} << program + u"readme.txt"_s;
    QTest::newRow("missing readme opens nothing") << false << QStringList() << QString();
}

void TstForm2::helpMenuTargets()
{
    QFETCH(bool, onlineHelp);
    QFETCH(QStringList, files);
    QFETCH(QString, opened);
    TestEnvironment env;
    const QString root = env.filePath(u"root"_s);
    const QString program = root + u"/lib/torvanu"_s;
    QVERIFY(QDir().mkpath(program));
    for (const QString& file : files) {
        QVERIFY(QDir().mkpath(QFileInfo(root + u'/' + file).absolutePath()));
        QVERIFY(torvanu::test::writeFile(root + u'/' + file, "x"));
    }
    ScriptedDialogs dialogs;
    const Module1 module(dialogs, nullptr);

    if (onlineHelp)
        torvanu::openOnlineHelp(module, program);
    else
        torvanu::openReadme(module, program);

    const QList<QUrl> expected =
        opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(root + u'/' + opened)};
    QCOMPARE(dialogs.openedUrls, expected);
    QVERIFY(dialogs.messages.isEmpty());
}

void TstForm2::iconIsBuiltIn()
{
    Form2 form(QString(), nullptr);
    const QPixmap icon = form.findChild<QLabel*>(u"Picture1"_s)->pixmap();

    QCOMPARE(icon.size(), QSize(32, 32));
}

QTEST_MAIN(TstForm2)
#include "tst_form2.moc"
