#include "shell/qt_translation.h"
#include "support/test_environment.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

#include <memory>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// A Latin word of two letters or more: what an untranslated Qt text shows.
bool hasEnglishWord(const QString& text)
{
    static const QRegularExpression word(u"[A-Za-z]{2,}"_s);
    return word.match(text).hasMatch();
}

} // namespace

class TstQtTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void fileChooserTexts_data();
    void fileChooserTexts();
    void textFieldMenuIsJapanese();

private:
    test::TestEnvironment m_environment;
};

void TstQtTranslation::initTestCase()
{
    const auto error = installQtTranslation(*QCoreApplication::instance());
    QVERIFY2(!error, qPrintable(error ? error->file : QString()));
}

void TstQtTranslation::fileChooserTexts_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("column headers") << u"header"_s;
    QTest::newRow("labels") << u"labels"_s;
    QTest::newRow("buttons") << u"buttons"_s;
    QTest::newRow("tool tips") << u"tooltips"_s;
    // A file's type and size follow the desktop's locale; a folder's type is Qt's own text.
    QTest::newRow("type of a folder") << u"folder"_s;
}

void TstQtTranslation::fileChooserTexts()
{
    QFETCH(QString, part);
    QVERIFY(QDir().mkpath(m_environment.filePath(u"大会"_s)));
    QFileDialog dialog(nullptr, u"名前を付けて保存"_s, m_environment.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QStringList texts;
    if (part == u"header") {
        auto* tree = dialog.findChild<QTreeView*>(u"treeView"_s);
        QVERIFY(tree);
        const QAbstractItemModel* model = tree->header()->model();
        for (int column = 0; column < model->columnCount(); ++column)
            texts.append(model->headerData(column, Qt::Horizontal).toString());
        QCOMPARE(texts.size(), 4);
    } else if (part == u"folder") {
        auto* tree = dialog.findChild<QTreeView*>(u"treeView"_s);
        const QAbstractItemModel* model = tree->model();
        // The folder holds only folders: the environment's home and 大会.
        QTRY_COMPARE(model->rowCount(tree->rootIndex()), 2);
        for (int row = 0; row < 2; ++row)
            texts.append(model->index(row, 2, tree->rootIndex()).data().toString());
    } else if (part == u"labels") {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts.append(label->text());
    } else if (part == u"buttons") {
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            texts.append(button->text());
    } else {
        for (const QWidget* widget : dialog.findChildren<QWidget*>())
            texts.append(widget->toolTip());
    }
    texts.removeAll(QString());
    QVERIFY(!texts.isEmpty());
    for (const QString& text : texts)
        QVERIFY2(!hasEnglishWord(text), qPrintable(text));
}

void TstQtTranslation::textFieldMenuIsJapanese()
{
    QLineEdit field(u"大会"_s);
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts.append(action->text().section(u'\t', 0, 0)); // not the key names
    }
    QVERIFY(texts.size() >= 6);
    for (const QString& text : texts)
        QVERIFY2(!hasEnglishWord(text), qPrintable(text));
}

} // namespace torvanu

QTEST_MAIN(torvanu::TstQtTranslation)
#include "tst_qt_translation.moc"
