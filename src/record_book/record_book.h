#pragma once

#include "records/log_line.h"
#include "records/race_record.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QDate;
class QPushButton;
class QWidget;

namespace torvanu {

class Dialogs;
class Form3;
class LogFile;
struct LogFileError;
class RecordJournal;
class RecordListView;
class RecordModel;
struct RecordChange;
struct JournalError;

// The race record book below the calculator: the list, its buttons, the editor and log.dat.
// The list is the only store of the records while the program runs; log.dat is read at start
// and written at close.
class RecordBook : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        Dialogs& dialogs;
        std::function<QString(QWidget* owner, const QString& current)> browseDataFile;
        std::function<void(const QString& target)> shellOpen;
        std::function<QDate()> today;
    };

    // log.dat is read from readFolder and saved to writeFolder.
    RecordBook(QWidget* client, Services services, const QString& readFolder,
               const QString& writeFolder, const QString& recoveryFolder);
    ~RecordBook() override;

    RecordListView* listView() const { return m_listView; }
    RecordModel& model() const { return *m_model; }
    QPushButton* newButton() const { return m_newButton; }
    QPushButton* editButton() const { return m_editButton; }
    QPushButton* deleteButton() const { return m_deleteButton; }
    QPushButton* upButton() const { return m_upButton; }
    QPushButton* downButton() const { return m_downButton; }
    Form3* editor() const { return m_editor; }

    bool logFileExists() const;
    void LoadLogData();
    // Compares, asks and writes at close. False: the user chose to keep the window open (the
    // file changed outside, or nothing could be saved), and the close must not go on.
    bool SaveLogData();
    // After loading: the changes a crash left unsaved are offered back, and the journal of
    // this session begins.
    void RestoreUnsavedChanges();

    // The book is read from and saved to folder from now on; only before LoadLogData.
    void useFolder(const QString& folder);

    void NewButton_Click();
    void EditButton_Click();
    void DeleteButton_Click();
    void UpButton_Click();
    void DownButton_Click();
    // column: 0-based, as the header reports it.
    void ListView1_ColumnClick(int column);
    void ListView1_MouseDown(Qt::MouseButton button);

    // Rows made elsewhere (a whole history read at once), appended and journalled one by one
    // exactly as the editor's new rows are.
    void appendRecords(const QList<RaceRecord>& records);

    std::optional<int> selectedRow() const;
    void selectRow(int row);

private:
    // A failed write: which file and why, in the user's words.
    struct WriteFailure
    {
        QString path;
        QString reason;
    };
    enum class OutsideDecision
    {
        Write,      // rows now hold the merged list, or the file is to be kept aside first
        LeaveFile,  // the user changed nothing: the newer file stays as it is
        Unreadable, // the changed file cannot be read: it is not replaced unseen
        StayOpen,
    };

    OutsideDecision resolveOutsideChange(QList<LogLine>& rows, std::optional<QDateTime>& aside);
    std::optional<WriteFailure> writeOnce(const QList<LogLine>& rows,
                                          std::optional<QDateTime>& aside);
    // Writes the book, or else a recovery copy, or else asks what to do; true when the close
    // may go on. Without replaceBook, log.dat is not written before the user says retry.
    bool writeWithChoices(const QList<LogLine>& rows, std::optional<QDateTime> aside,
                          bool listDiffers, bool replaceBook = true);
    bool saveElsewhere(const QList<LogLine>& rows);
    WriteFailure failureOf(const LogFileError& error, const QString& path) const;
    void buildControls(QWidget* client);
    void connectControls();
    void moveSelected(int step);
    void applyEditorResult(bool accepted);
    // Every change of the list passes here: applied, then kept in the journal at once.
    void commitChange(const RecordChange& change);
    // The journal's failure is shown once; the list works on.
    void reportJournalError(const std::optional<JournalError>& error);
    bool applyChange(const RecordChange& change);
    void showSortMarks();
    void discardJournal();
    Form3& editorDialog();

    Services m_services;
    QWidget* m_window = nullptr;
    RecordModel* m_model = nullptr;
    RecordListView* m_listView = nullptr;
    QPushButton* m_newButton = nullptr;
    QPushButton* m_editButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_downButton = nullptr;
    Form3* m_editor = nullptr;
    // The column the list was last sorted by and in which order; the header's marks are
    // drawn from these.
    std::optional<int> m_sortColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    std::unique_ptr<LogFile> m_logFile;
    QList<LogLine> m_readLines; // the book as read at start: what a merge is measured against
    std::unique_ptr<RecordJournal> m_journal;
    bool m_journalFailureShown = false;
    QString m_writeFolder;
    QString m_recoveryFolder;
};

} // namespace torvanu
