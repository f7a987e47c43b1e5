#pragma once

#include "shell/dialogs.h"

namespace torvanu {

// The Dialogs of the running program: Qt message boxes, Qt's own (non-native) file
// chooser and the desktop's launcher. The non-native chooser is used on every desktop so
// that the filter captions, the offered name and the replace question look and behave the
// same whatever file-chooser portal the desktop happens to provide.
class QtDialogs : public Dialogs
{
public:
    Answer message(QWidget* owner, const QString& text, Icon icon, Buttons buttons) override;
    void messageWithDetail(QWidget* owner, const QString& text, const QString& detail,
                           Icon icon) override;
    int choose(QWidget* owner, const QString& text, Icon icon, const QStringList& choices,
               int defaultChoice, int escapeChoice) override;
    QString saveFileName(QWidget* owner, const FileRequest& request) override;
    QString openFileName(QWidget* owner, const FileRequest& request) override;
    QString folderName(QWidget* owner, const FileRequest& request) override;
    void openUrl(const QUrl& url) override;
    int chooseItem(QWidget* owner, const QString& text, const QStringList& items,
                   int preselected) override;
};

} // namespace torvanu
