#include "record_book.h"

#include "form3.h"
#include "records/log_file.h"
#include "record_book_texts.h"
#include "record_list_view.h"
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
      m_logFile(std::make_unique<LogFile>(readFolder)), m_writeFolder(writeFolder),
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
                                           Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
                return;
        }
        // The book is compared with the file it was read from; a book that moves to the
        // user's own folder is written there from the first save on.
        m_logFile->setFolder(m_writeFolder);
        failure = m_logFile->save(rows).error;
    }
    if (!failure)
        return;

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
    int target = number - 1;
    if (number > m_model->rowCount()) {
        record.no = QString::number(number);
        m_model->appendRecord(record);
        target = m_model->rowCount() - 1;
    } else {
        m_model->setRecord(target, record);
    }
    selectRow(target);
    m_model->renumber();
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
    m_model->removeRecord(*row);
    m_model->renumber();
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
    m_model->swapContents(*row, neighbour);
    selectRow(neighbour);
}

void RecordBook::ListView1_ColumnClick(int column)
{
    if (column == RecordModel::NoColumn)
        return;
    const bool descending = m_sortColumn == column && m_sortOrder == Qt::AscendingOrder;
    m_sortColumn = column;
    m_sortOrder = descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    for (int i = 0; i < RecordColumnCount; ++i) {
        QString caption = RecordModel::plainCaption(i);
        if (i == column)
            caption += (descending ? kDescendingMark : kAscendingMark).toString();
        m_model->setHeaderCaption(i, caption);
    }
    m_model->sortByColumn(column, m_sortOrder);
    m_model->renumber();
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
