#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QStringView>
#include <QWidget>

namespace torvanu {

class Dialogs;

// What became of one CSV export. The window shows one message for every failure.
struct CsvSaveResult
{
    enum class Status
    {
        Saved,
        Cancelled,   // the chooser was cancelled, or the replace question answered No
        WriteFailed, // opening, writing or committing the file failed; any old file is intact
        Unencodable, // the text holds a character Shift_JIS cannot store; nothing was asked
    };

    Status status = Status::Cancelled;
    QString path;           // the file written or attempted; empty when none was chosen
    QString detail;         // WriteFailed: the system's reason
    char32_t character = 0; // Unencodable: the first character that cannot be stored
};

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
    CsvSaveResult SaveAsCSV(const QString& text);

    // Asks for a file name, completes it with ".pdf", and writes the bytes as they are.
    CsvSaveResult SaveAsPDF(const QByteArray& bytes);

    // Asks for an existing file; the chooser starts from the field's text, handed over
    // unchanged. Returns the full path, or an empty text on cancel.
    QString BrowseDataFile(QWidget* owner, const QString& currentFileText);

    const QString& LastCSVPath() const { return m_lastCSVPath; }

private:
    struct SaveKind
    {
        QStringView filter;
        QStringView suffix;
        QString& lastPath; // the name offered next time
    };
    CsvSaveResult saveChosen(const QByteArray& bytes, const SaveKind& kind);

    Dialogs& m_dialogs;
    QPointer<QWidget> m_owner;
    QString m_lastCSVPath;
    QString m_lastPDFPath;
    bool m_unloading = false;
};

} // namespace torvanu
