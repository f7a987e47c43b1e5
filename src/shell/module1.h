#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QStringView>
#include <QWidget>

#include "shell/save_flow.h"
#include "shell/save_folders.h"

namespace torvanu {

class Dialogs;

// The program's uses of the operating system: file choosers, writing the CSV file, handing
// files and web pages to the desktop, and ending the program.
class Module1
{
public:
    Module1(Dialogs& dialogs, QWidget* owner);

    // Opens an http or https address as a web page, or an existing local file or folder
    // given by its absolute path, with the desktop's associated program. Everything else is
    // ignored without a word. Never waits, never reports.
    void ShellOpen(const QString& target) const;

    // Closes every top-level window and ends the event loop, unless the owner refuses to
    // close. Safe to call from a close event (also of a window it is closing), and only the
    // first call does anything.
    void UnloadAllForms();

    // The user's desktop folder, or an empty text when it does not exist.
    QString GetDesktopPath() const;

    // Asks for a file name, completes it with ".csv", and writes text + CR LF in Shift_JIS.
    // The chooser starts in the desktop folder, else in the home folder, and offers the last
    // name saved.
    CsvSaveResult SaveAsCSV(const QString& text);

    // The same for the newer windows' CSV: the chooser starts where the last CSV went, else
    // in the Documents folder, and offers the given name.
    CsvSaveResult SaveAsCSV(const QString& text, const QString& suggestedName);

    // Asks for a file name, completes it with ".pdf", and writes the bytes as they are. The
    // chooser starts where the last PDF went, else in the Documents folder.
    CsvSaveResult SaveAsPDF(const QByteArray& bytes, const QString& suggestedName);

    SaveFolders& saveFolders() { return m_saveFolders; }

    // Asks for an existing file; the chooser starts from the field's text, handed over
    // unchanged. Returns the full path, or an empty text on cancel.
    QString BrowseDataFile(QWidget* owner, const QString& currentFileText);

    const QString& LastCSVPath() const { return m_lastCSVPath; }

private:
    struct SaveKind
    {
        QStringView filter;
        QStringView suffix;
        QString folder;              // where the chooser starts
        QString fileName;            // the name it offers
        SaveFolders::Kind kind;      // the folder remembered for the next chooser
        QString* lastPath = nullptr; // the name offered next time, where it is kept
    };
    CsvSaveResult saveChosen(const QByteArray& bytes, const SaveKind& kind);
    CsvSaveResult saveCsvText(const QString& text, const SaveKind& kind);

    Dialogs& m_dialogs;
    QPointer<QWidget> m_owner;
    QString m_lastCSVPath;
    SaveFolders m_saveFolders;
    bool m_unloading = false;
};

} // namespace torvanu
