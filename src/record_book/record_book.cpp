#include "record_book.h"

#include "form3.h"
#include "journal_texts.h"
#include "record_book/book_error_text.h"
#include "records/book_merge.h"
#include "records/book_permissions.h"
#include "records/log_file.h"
#include "record_book_texts.h"
#include "record_list_view.h"
#include "records/record_change.h"
#include "records/record_journal.h"
#include "records/record_model.h"
#include "shell/dialogs.h"
#include "shell/failure_texts.h"
#include "storage/openable_file.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPushButton>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

RecordBook::RecordBook(QWidget* client, Services services, const QString& readFolder,
                       const QString& writeFolder, const QString& recoveryFolder)
    : QObject(client), m_services(std::move(services)), m_window(client->window()),
      m_logFile(std::make_unique<LogFile>(readFolder)),
      m_journal(std::make_unique<RecordJournal>(writeFolder)), m_writeFolder(writeFolder),
      m_recoveryFolder(recoveryFolder)
{
    buildControls(client);
    connectControls();
}

void RecordBook::buildControls(QWidget* client)
{
    m_model = new RecordModel(this);
    m_listView = new RecordListView(client);
    m_listView->setModel(m_model);

    m_newButton = makeButton(client, u"NewButton"_s, kNewCaption.toString());
    m_editButton = makeButton(client, u"EditButton"_s, kEditCaption.toString());
    m_deleteButton = makeButton(client, u"DeleteButton"_s, kDeleteCaption.toString());
    m_upButton = makeButton(client, u"UpButton"_s, kUpCaption.toString());
    m_downButton = makeButton(client, u"DownButton"_s, kDownCaption.toString());
}

void RecordBook::connectControls()
{
    connect(m_newButton, &QPushButton::clicked, this, [this] { NewButton_Click(); });
    connect(m_editButton, &QPushButton::clicked, this, [this] { EditButton_Click(); });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { DeleteButton_Click(); });
    connect(m_upButton, &QPushButton::clicked, this, [this] { UpButton_Click(); });
    connect(m_downButton, &QPushButton::clicked, this, [this] { DownButton_Click(); });
    connect(m_listView, &RecordListView::columnClicked, this,
            [this](int column) { ListView1_ColumnClick(column); });
    connect(m_listView, &RecordListView::mouseDown, this,
            [this](Qt::MouseButton button) { ListView1_MouseDown(button); });
    connect(m_listView, &RecordListView::doubleClickedAnywhere, this,
            [this] { EditButton_Click(); });
}

RecordBook::~RecordBook() = default;

bool RecordBook::logFileExists() const
{
    return m_logFile->exists();
}

void RecordBook::useFolder(const QString& folder)
{
    m_logFile->setFolder(folder);
    m_writeFolder = folder;
}

void RecordBook::LoadLogData()
{
    LogLoadResult loaded = m_logFile->load();
    m_readLines = loaded.lines;
    m_model->setRecords(std::move(loaded.lines));
    if (loaded.error)
        m_services.dialogs.messageWithDetail(
            m_window, kReadFailedMessage.toString(),
            kNotReadMessage.toString().arg(QDir::toNativeSeparators(m_logFile->filePath()),
                                           logFileErrorReason(*loaded.error)),
            Dialogs::Icon::Stop);
    else if (loaded.hiddenLines > 0)
        m_services.dialogs.message(m_window, kHiddenLinesMessage.toString().arg(loaded.hiddenLines),
                                   Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

bool RecordBook::SaveLogData()
{
    QList<LogLine> rows = m_model->lines();
    const LogCompareResult compared = m_logFile->compare(rows);
    // The book is compared with the file it was read from; a book that moves to the user's
    // own folder is written there from the first save on.
    m_logFile->setFolder(m_writeFolder);

    if (compared.error) {
        // What stands at the place of log.dat cannot be read, so it is not replaced: the rows
        // go to a copy the user can put back by hand.
        return writeWithChoices(rows, std::nullopt, true);
    }

    const LogFileState now = m_logFile->currentState();
    if (!now.error && m_logFile->changedSince(now)) {
        std::optional<QDateTime> aside;
        switch (resolveOutsideChange(rows, aside)) {
        case OutsideDecision::StayOpen:
            return false;
        case OutsideDecision::LeaveFile:
            discardJournal();
            return true;
        case OutsideDecision::Write:
            return writeWithChoices(rows, aside, true);
        case OutsideDecision::Unreadable:
            return writeWithChoices(rows, std::nullopt, true, false);
        }
    }

    const bool changed = compared.comparison == LogComparison::Changed;
    if (changed) {
        const QString question =
            kChangedQuestionFirst.toString() + u"\r\n"_s + kChangedQuestionSecond.toString();
        if (m_services.dialogs.message(m_window, question, Dialogs::Icon::Information,
                                       Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes) {
            discardJournal();
            return true;
        }
    }
    return writeWithChoices(rows, std::nullopt, compared.comparison != LogComparison::Unchanged);
}

RecordBook::OutsideDecision RecordBook::resolveOutsideChange(QList<LogLine>& rows,
                                                             std::optional<QDateTime>& aside)
{
    // Nothing of the user's to save: the file another program wrote is the newer book.
    if (sameRows(rows, m_readLines))
        return OutsideDecision::LeaveFile;

    LogFile outside(m_writeFolder);
    const LogLoadResult theirs = outside.load();
    if (theirs.error) {
        // Unreadable now: it is not replaced unseen, and the rows are kept as after a failed
        // save.
        return OutsideDecision::Unreadable;
    }
    const BookMerge keeping = mergeBooks(m_readLines, theirs.lines, rows, false);
    const QDateTime when = QDateTime::currentDateTime();
    const QString asidePath = QDir::toNativeSeparators(m_logFile->asidePath(when));

    QString text =
        kOutsideChangeMessage.toString().arg(QDir::toNativeSeparators(m_logFile->filePath())) +
        u"\r\n\r\n"_s + kOutsideGained.toString().arg(keeping.gained);
    if (keeping.lost > 0)
        text += u"\r\n"_s + kOutsideLost.toString().arg(keeping.lost);
    text += u"\r\n\r\n"_s + kOutsideMergeHelp.toString();
    QStringList choices{kMergeChoice.toString()};
    if (keeping.lost > 0) {
        text += u"\r\n"_s + kOutsideMergeDropHelp.toString();
        choices.append(kMergeDropChoice.toString());
    }
    text += u"\r\n"_s + kOutsideKeepBothHelp.toString().arg(asidePath) + u"\r\n"_s +
            kOutsideCancelHelp.toString();
    choices.append({kKeepBothChoice.toString(), kCancelChoice.toString()});
    const int cancel = static_cast<int>(choices.size()) - 1;

    const int choice =
        m_services.dialogs.choose(m_window, text, Dialogs::Icon::Information, choices, 0, cancel);
    if (choice < 0 || choice == cancel)
        return OutsideDecision::StayOpen;
    if (choice == cancel - 1) {
        aside = when;
        return OutsideDecision::Write;
    }

    // From here on the file as the other program left it is the book as read: a retry after a
    // failed write does not ask again.
    const bool dropLost = keeping.lost > 0 && choice == 1;
    BookMerge merged = dropLost ? mergeBooks(m_readLines, theirs.lines, rows, true) : keeping;
    m_logFile->adoptReading(outside);
    m_readLines = theirs.lines;
    rows = merged.lines;
    m_model->setRecords(std::move(merged.lines));
    return OutsideDecision::Write;
}

RecordBook::WriteFailure RecordBook::failureOf(const LogFileError& error, const QString& path) const
{
    return {QDir::toNativeSeparators(path), logFileErrorReason(error)};
}

std::optional<RecordBook::WriteFailure> RecordBook::writeOnce(const QList<LogLine>& rows,
                                                              std::optional<QDateTime>& aside)
{
    if (aside) {
        // The other program's version goes beside the book before the book is replaced.
        const LogRecoveryResult kept = m_logFile->keepCurrentAside(*aside);
        if (kept.error)
            return failureOf(*kept.error, m_logFile->asidePath(*aside));
        aside.reset();
    }
    const LogSaveResult saved = m_logFile->save(rows);
    if (!saved.error)
        return std::nullopt;
    return failureOf(*saved.error, saved.error->kind == LogFileError::Kind::Backup
                                       ? m_logFile->backupFilePath()
                                       : m_logFile->filePath());
}

bool RecordBook::writeWithChoices(const QList<LogLine>& rows, std::optional<QDateTime> aside,
                                  bool listDiffers, bool replaceBook)
{
    while (true) {
        const std::optional<WriteFailure> failure =
            replaceBook ? writeOnce(rows, aside)
                        : WriteFailure{QDir::toNativeSeparators(m_logFile->filePath()),
                                       kUnreadableReason.toString()};
        // A retry is the user's word that the book may now be replaced.
        replaceBook = true;
        // The journal goes once the book holds the list, or the user let the changes go; after
        // a failed save it stays, so the next start offers the changes back.
        if (!failure) {
            discardJournal();
            return true;
        }

        QString text = kSaveFailedMessage.toString();
        const QString notWritten =
            kNotWrittenMessage.toString().arg(failure->path, failure->reason);
        if (!listDiffers) {
            // The file already holds every row: nothing is lost by closing.
            m_services.dialogs.messageWithDetail(m_window, text, notWritten, Dialogs::Icon::Stop);
            discardJournal();
            return true;
        }
        const LogRecoveryResult recovery = m_logFile->writeRecoveryCopy(m_recoveryFolder, rows);
        if (!recovery.error) {
            text += u"\r\n\r\n"_s + kRecoveredAtMessage.toString() + u"\r\n"_s +
                    QDir::toNativeSeparators(recovery.path);
            m_services.dialogs.messageWithDetail(m_window, text, notWritten, Dialogs::Icon::Stop);
            return true;
        }

        // Neither the book nor a copy of it could be written: the close waits for the user.
        const WriteFailure noCopy = failureOf(*recovery.error, m_recoveryFolder);
        text += u"\r\n\r\n"_s + notWritten + u"\r\n\r\n"_s +
                kNoRecoveryMessage.toString().arg(noCopy.path, noCopy.reason) + u"\r\n\r\n"_s +
                kUnsavedWarning.toString();
        const QStringList choices{kRetryChoice.toString(), kSaveElsewhereChoice.toString(),
                                  kQuitChoice.toString()};
        while (true) {
            const int choice =
                m_services.dialogs.choose(m_window, text, Dialogs::Icon::Stop, choices, 0, -1);
            if (choice == 0)
                break;
            if (choice == 1) {
                if (saveElsewhere(rows))
                    return true;
                continue;
            }
            if (choice == 2) {
                if (m_services.dialogs.message(m_window, kQuitQuestion.toString(),
                                               Dialogs::Icon::Information,
                                               Dialogs::Buttons::YesNo) == Dialogs::Answer::Yes) {
                    discardJournal();
                    return true;
                }
                continue;
            }
            // Escape or the close box: back to the window, nothing lost.
            return false;
        }
    }
}

bool RecordBook::saveElsewhere(const QList<LogLine>& rows)
{
    const QString path =
        m_services.dialogs.saveFileName(m_window, {kSaveElsewhereTitle.toString(),
                                                   {kSaveElsewhereFilter.toString()},
                                                   QDir::homePath(),
                                                   LogFile::kFileName.toString()});
    if (path.isEmpty())
        return false;
    if (const std::optional<LogFileError> error = m_logFile->writeCopy(path, rows)) {
        const WriteFailure failure = failureOf(*error, path);
        m_services.dialogs.message(
            m_window,
            kSaveFailedMessage.toString() + u"\r\n\r\n"_s +
                kNotWrittenMessage.toString().arg(failure.path, failure.reason),
            Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
        return false;
    }
    m_services.dialogs.message(
        m_window, kSavedElsewhereMessage.toString().arg(QDir::toNativeSeparators(path)),
        Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    return true;
}

bool RecordBook::applyChange(const RecordChange& change)
{
    if (!applyRecordChange(*m_model, change))
        return false;
    if (change.kind == RecordChange::Kind::Sort) {
        m_sortColumn = change.column;
        m_sortOrder = change.descending ? Qt::DescendingOrder : Qt::AscendingOrder;
        showSortMarks();
    }
    return true;
}

void RecordBook::commitChange(const RecordChange& change)
{
    if (!applyChange(change))
        return;
    reportJournalError(m_journal->append(change));
}

void RecordBook::reportJournalError(const std::optional<JournalError>& error)
{
    if (!error || m_journalFailureShown)
        return;
    // Once: the list works on, and every later change is tried again.
    m_journalFailureShown = true;
    m_services.dialogs.messageWithDetail(
        m_window, kJournalWriteFailed.toString(),
        kNotWrittenMessage.toString().arg(QDir::toNativeSeparators(m_journal->filePath()),
                                          journalErrorReason(*error)),
        Dialogs::Icon::Stop);
}

void RecordBook::discardJournal()
{
    // Left behind, it would only offer changes the book already holds or the user declined.
    if (const auto error = m_journal->remove())
        qWarning("the journal was not removed: %s", qPrintable(error->detail));
}

void RecordBook::RestoreUnsavedChanges()
{
    const QString bookPath = m_logFile->filePath();
    // The journal is as private as the book; with no book yet, the umask decides.
    const QFileDevice::Permissions permissions = bookPermissions(bookPath).value_or(
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
        QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther);
    const BookFingerprint base = BookFingerprint::of(bookPath);
    m_journal->setBase(base, permissions);
    if (!m_journal->exists())
        return;

    const JournalReadResult read = RecordJournal::read(m_journal->filePath());
    if (!read.error && read.changes.isEmpty()) {
        discardJournal();
        return;
    }
    const auto setAside = [this](const QString& why) {
        const JournalSetAside kept = m_journal->setAside();
        QString text = why;
        if (!kept.error) {
            if (!text.isEmpty())
                text += u"\r\n\r\n"_s;
            text +=
                kUnsavedChangesKept.toString() + u"\r\n"_s + QDir::toNativeSeparators(kept.path);
        }
        if (text.isEmpty())
            return;
        m_services.dialogs.message(m_window, text, Dialogs::Icon::Information,
                                   Dialogs::Buttons::Ok);
    };
    if (read.error) {
        setAside(kJournalUnreadable.toString() + u"\r\n"_s +
                 kNotReadMessage.toString().arg(QDir::toNativeSeparators(m_journal->filePath()),
                                                journalErrorReason(*read.error)));
        return;
    }
    QString found = kUnsavedChangesFound.toString().arg(read.changes.size());
    if (read.cut)
        found += u"\r\n"_s + kUnsavedChangesTorn.toString();
    if (read.base != base) {
        setAside(found + u"\r\n"_s + kBookChangedSince.toString());
        return;
    }
    if (m_services.dialogs.message(m_window, found + u"\r\n"_s + kRestoreQuestion.toString(),
                                   Dialogs::Icon::Information,
                                   Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes) {
        setAside(QString());
        return;
    }
    qsizetype applied = 0;
    while (applied < read.changes.size() && applyChange(read.changes[applied]))
        ++applied;
    // The restored changes stay in the journal until the book is saved, so a second crash
    // loses them no more than the first.
    if (applied == read.changes.size()) {
        if (const auto error = m_journal->continueAfter(read))
            qWarning("the journal cannot go on: %s", qPrintable(error->detail));
        return;
    }
    // A change that no longer fits the list ends the restore; the journal starts again from
    // what was restored, so that the next change is not written after one that never applies.
    discardJournal();
    for (qsizetype i = 0; i < applied; ++i) {
        if (const auto error = m_journal->append(read.changes[i])) {
            qWarning("the journal cannot go on: %s", qPrintable(error->detail));
            break;
        }
    }
    m_services.dialogs.message(m_window,
                               kRestoredPartly.toString().arg(read.changes.size()).arg(applied),
                               Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

std::optional<int> RecordBook::selectedRow() const
{
    const QModelIndexList rows = m_listView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().row();
}

void RecordBook::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_listView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    m_listView->scrollTo(index);
}

Form3& RecordBook::editorDialog()
{
    if (!m_editor)
        m_editor = new Form3(m_services.dialogs, m_services.browseDataFile, m_window);
    return *m_editor;
}

void RecordBook::NewButton_Click()
{
    Form3& editor = editorDialog();
    editor.prepareNew(m_model->rowCount(), m_services.today());
    applyEditorResult(editor.exec() == QDialog::Accepted);
}

void RecordBook::EditButton_Click()
{
    const std::optional<int> row = selectedRow();
    const bool readable = row && !m_model->line(*row).no().isEmpty() &&
                          editorDialog().prepareEdit(*row + 1, m_model->record(*row));
    if (!readable) {
        m_services.dialogs.message(m_window, kEditNoSelectionMessage.toString(),
                                   Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
        return;
    }
    applyEditorResult(m_editor->exec() == QDialog::Accepted);
}

void RecordBook::applyEditorResult(bool accepted)
{
    if (!accepted)
        return;
    const int number = m_editor->recordNumber();
    RaceRecord record = m_editor->record();
    const bool added = number > m_model->rowCount();
    if (added)
        record.no = QString::number(number);
    const RecordChange change =
        added ? RecordChange::added(record) : RecordChange::changed(number - 1, record);
    commitChange(change);
    selectRow(change.kind == RecordChange::Kind::Add ? m_model->rowCount() - 1 : change.row);
}

void RecordBook::appendRecords(const QList<RaceRecord>& records)
{
    // Applied one by one as the editor's rows are, and journalled with one flush: hundreds of
    // flushes would keep the user waiting seconds for a single click.
    QList<RecordChange> changes;
    for (RaceRecord record : records) {
        record.no = QString::number(m_model->rowCount() + 1);
        RecordChange change = RecordChange::added(record);
        if (applyChange(change))
            changes.append(std::move(change));
    }
    if (!changes.isEmpty())
        reportJournalError(m_journal->append(changes));
}

void RecordBook::DeleteButton_Click()
{
    const std::optional<int> row = selectedRow();
    if (!row || m_model->line(*row).no().isEmpty()) {
        m_services.dialogs.message(m_window, kDeleteNoSelectionMessage.toString(),
                                   Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
        return;
    }
    if (m_services.dialogs.message(m_window, kDeleteQuestion.toString(), Dialogs::Icon::Information,
                                   Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    commitChange(RecordChange::removed(*row));
    // No row is chosen for the user after a deletion.
    m_listView->selectionModel()->clear();
}

void RecordBook::UpButton_Click()
{
    moveSelected(-1);
}

void RecordBook::DownButton_Click()
{
    moveSelected(+1);
}

void RecordBook::moveSelected(int step)
{
    const std::optional<int> row = selectedRow();
    if (!row)
        return;
    const int neighbour = *row + step;
    if (neighbour < 0 || neighbour >= m_model->rowCount())
        return;
    commitChange(RecordChange::swapped(*row, neighbour));
    selectRow(neighbour);
}

void RecordBook::ListView1_ColumnClick(int column)
{
    if (column == RecordModel::NoColumn)
        return;
    const bool descending = m_sortColumn == column && m_sortOrder == Qt::AscendingOrder;
    commitChange(RecordChange::sorted(
        column, descending,
        m_model->sortPermutation(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder)));
}

void RecordBook::showSortMarks()
{
    for (int i = 0; i < RecordColumnCount; ++i) {
        QString caption = RecordModel::plainCaption(i);
        if (i == m_sortColumn)
            caption +=
                (m_sortOrder == Qt::DescendingOrder ? kDescendingMark : kAscendingMark).toString();
        m_model->setHeaderCaption(i, caption);
    }
}

void RecordBook::ListView1_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    const std::optional<int> row = selectedRow();
    if (!row)
        return;
    const QString path = m_model->line(*row).dataPath().toString();
    if (isOpenableFile(path))
        m_services.shellOpen(path);
}

} // namespace torvanu
