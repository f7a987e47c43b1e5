#include "record_book.h"

#include "form3.h"
#include "journal_texts.h"
#include "records/log_file.h"
#include "record_book_texts.h"
#include "record_list_view.h"
#include "records/record_change.h"
#include "records/record_journal.h"
#include "records/record_model.h"
#include "shell/dialogs.h"
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

void RecordBook::LoadLogData()
{
    LogLoadResult loaded = m_logFile->load();
    m_model->setRecords(std::move(loaded.lines));
    if (loaded.error)
        m_services.dialogs.message(m_window, kReadFailedMessage.toString(), Dialogs::Icon::Stop,
                                   Dialogs::Buttons::Ok);
}

void RecordBook::SaveLogData()
{
    const QList<LogLine>& rows = m_model->lines();
    const LogCompareResult compared = m_logFile->compare(rows);
    std::optional<LogFileError> failure = compared.error;
    if (!failure) {
        if (compared.comparison == LogComparison::Changed) {
            const QString question =
                kChangedQuestionFirst.toString() + u"\r\n"_s + kChangedQuestionSecond.toString();
            if (m_services.dialogs.message(m_window, question, Dialogs::Icon::Information,
                                           Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes) {
                discardJournal();
                return;
            }
        }
        // The book is compared with the file it was read from; a book that moves to the
        // user's own folder is written there from the first save on.
        m_logFile->setFolder(m_writeFolder);
        failure = m_logFile->save(rows).error;
    }
    if (!failure) {
        discardJournal();
        return;
    }

    // The program closes after this message whatever happens, so the rows that could not be
    // written go to a copy the user can put back by hand.
    QString text = kSaveFailedMessage.toString();
    if (compared.comparison != LogComparison::Unchanged || compared.error) {
        const LogRecoveryResult recovery = LogFile::writeRecoveryCopy(m_recoveryFolder, rows);
        if (recovery.error)
            text += u"\r\n\r\n記録の控えも保存できませんでした。"_s;
        else
            text += u"\r\n\r\n保存できなかった記録は次のファイルに控えてあります：\r\n"_s +
                    QDir::toNativeSeparators(recovery.path);
    }
    m_services.dialogs.message(m_window, text, Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
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
    const std::optional<JournalError> error = m_journal->append(change);
    if (!error || m_journalFailureShown)
        return;
    // Once: the list works on, and every later change is tried again.
    m_journalFailureShown = true;
    m_services.dialogs.message(m_window,
                               kJournalWriteFailed.toString() + u"\r\n"_s +
                                   QDir::toNativeSeparators(m_journal->filePath()),
                               Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
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
    const QFileInfo book(bookPath);
    // The journal is as private as the book; with no book yet, the umask decides.
    const QFileDevice::Permissions permissions =
        book.exists()
            ? book.permissions()
            : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                  QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
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
        setAside(kJournalUnreadable.toString());
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
