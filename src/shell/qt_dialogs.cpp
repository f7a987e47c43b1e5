#include "qt_dialogs.h"

#include "shell/replace_question.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kCaption = u"Torvanu";

// The captions keep the Windows-style pattern "*.*", which on Linux would hide every name
// without a dot (README, Makefile, most data files). The chooser therefore gets each caption
// followed by the patterns it really filters with, in a second pair of brackets, and hides
// that second part again (HideNameFilterDetails shows the text before the last bracket
// pair). The user sees the caption unchanged; "*.*" filters as "*".
QString chooserFilter(const QString& caption)
{
    static const QRegularExpression patternsInBrackets(u"^.*\\(([^()]*)\\)$"_s);
    const QRegularExpressionMatch match = patternsInBrackets.match(caption);
    QStringList patterns =
        (match.hasMatch() ? match.captured(1) : caption).split(u' ', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
        if (pattern == u"*.*")
            pattern = u"*"_s;
    }
    if (patterns.isEmpty())
        patterns.append(u"*"_s);
    return caption + u" ("_s + patterns.join(u' ') + u')';
}

void applyFilters(QFileDialog& dialog, const QStringList& captions)
{
    QStringList filters;
    for (const QString& caption : captions)
        filters.append(chooserFilter(caption));
    if (filters.isEmpty())
        return;
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
}

QString chosenPath(const QFileDialog& dialog)
{
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}

} // namespace

Dialogs::Answer QtDialogs::message(QWidget* owner, const QString& text, Icon icon, Buttons buttons)
{
    // The program's texts break lines with CR LF, as its files do; the label wants LF alone.
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    QMessageBox box(icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::Information,
                    kCaption.toString(), shown, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(u"はい(&Y)"_s);
    box.button(QMessageBox::No)->setText(u"いいえ(&N)"_s);
    box.setDefaultButton(QMessageBox::Yes);
    // Escape and the close box must mean No: No is the answer that changes nothing.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtDialogs::messageWithDetail(QWidget* owner, const QString& text, const QString& detail,
                                  Icon icon)
{
    QString shown = detail;
    shown.replace(u"\r\n"_s, u"\n"_s);
    QMessageBox box(icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::Information,
                    kCaption.toString(), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(shown);
    // A path or a system's wording is never markup.
    if (auto* label = box.findChild<QLabel*>(u"qt_msgbox_informativelabel"_s))
        label->setTextFormat(Qt::PlainText);
    box.exec();
}

int QtDialogs::choose(QWidget* owner, const QString& text, Icon icon, const QStringList& choices,
                      int defaultChoice, int escapeChoice)
{
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    QMessageBox box(icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::Information,
                    kCaption.toString(), shown, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    QList<QPushButton*> buttons;
    for (const QString& choice : choices)
        buttons.append(box.addButton(choice, QMessageBox::ActionRole));
    if (defaultChoice >= 0 && defaultChoice < buttons.size())
        box.setDefaultButton(buttons[defaultChoice]);
    if (escapeChoice >= 0 && escapeChoice < buttons.size())
        box.setEscapeButton(buttons[escapeChoice]);
    box.exec();
    const auto pressed = buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    return pressed < 0 ? escapeChoice : static_cast<int>(pressed);
}

QString QtDialogs::saveFileName(QWidget* owner, const FileRequest& request)
{
    QFileDialog dialog(owner, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The question comes from message() below, so that it is worded like every other
    // question of the program.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    applyFilters(dialog, request.filters);

    // The offered name may be the full path of the last file saved: the chooser then starts
    // in that file's folder, provided it still exists, with the bare name in the name field.
    QString folder = request.folder;
    QString name = request.fileName;
    if (!name.isEmpty() && QDir::isAbsolutePath(name)) {
        const QFileInfo offered(name);
        if (offered.absoluteDir().exists())
            folder = offered.absolutePath();
        name = offered.fileName();
    }
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!name.isEmpty())
        dialog.selectFile(name);

    while (dialog.exec() == QDialog::Accepted) {
        const QString path = chosenPath(dialog);
        if (path.isEmpty())
            return {};
        const QFileInfo chosen(path);
        if (!chosen.exists() || chosen.isDir())
            return path;
        if (message(&dialog, replaceQuestion(path), Icon::Information, Buttons::YesNo) ==
            Answer::Yes)
            return path;
        // No: back to the chooser with the name still in place, as a native chooser does.
    }
    return {};
}

QString QtDialogs::folderName(QWidget* owner, const FileRequest& request)
{
    QFileDialog dialog(owner, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    const QFileInfo start(request.folder);
    if (!request.folder.isEmpty() && start.isAbsolute())
        dialog.setDirectory(start.isDir() ? start.absoluteFilePath() : start.absolutePath());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return chosenPath(dialog);
}

QString QtDialogs::openFileName(QWidget* owner, const FileRequest& request)
{
    QFileDialog dialog(owner, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    applyFilters(dialog, request.filters);

    // The starting point is whatever the caller's field holds: a folder is used as it is; a
    // file path starts in its folder with that file selected; anything else (empty, a
    // relative or vanished path) leaves the platform's default folder.
    if (!request.folder.isEmpty()) {
        const QFileInfo start(request.folder);
        if (start.isDir()) {
            dialog.setDirectory(start.absoluteFilePath());
        } else if (start.isAbsolute() && start.absoluteDir().exists()) {
            dialog.setDirectory(start.absolutePath());
            if (start.exists())
                dialog.selectFile(start.fileName());
        }
    }

    if (dialog.exec() != QDialog::Accepted)
        return {};
    return chosenPath(dialog);
}

void QtDialogs::openUrl(const QUrl& url)
{
    // Hands over and forgets: a missing handler is the desktop's matter, not the program's.
    QDesktopServices::openUrl(url);
}

int QtDialogs::chooseItem(QWidget* owner, const QString& text, const QStringList& items,
                          int preselected)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(kCaption.toString());
    dialog.setLabelText(text);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    if (preselected >= 0 && preselected < items.size())
        dialog.setTextValue(items[preselected]);
    dialog.setOkButtonText(u"OK"_s);
    dialog.setCancelButtonText(u"キャンセル"_s);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return static_cast<int>(items.indexOf(dialog.textValue()));
}

} // namespace torvanu
