#pragma once

#include "calc/units.h"
#include "records/race_record.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QDate;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace torvanu {

class Dialogs;

// The record editor. It writes no list and no file: the main window fills it with
// prepareNew() or prepareEdit(), runs exec(), and on acceptance takes recordNumber() and
// record(). It is created once and only hidden by OK and Cancel, so every opening must be
// prepared anew.
class Form3 : public QDialog
{
    Q_OBJECT

public:
    // Returns the chosen file's full path, or an empty text when the user cancels.
    using BrowseDataFile = std::function<QString(QWidget* owner, const QString& currentText)>;

    Form3(Dialogs& dialogs, BrowseDataFile browseDataFile, QWidget* parent = nullptr);

    // A year outside the picker's range shows its nearest entry.
    void prepareNew(int rowCount, const QDate& today);
    // False, with the dialog left as it was, when a cell does not read back into the pickers.
    bool prepareEdit(int position, const RaceRecord& record);

    // Greater than the row count: a new row; otherwise the row to overwrite, from 1.
    int recordNumber() const;
    RaceRecord record() const;

private:
    void buildFields();
    void buildLayout();
    void connectFields();

    void OkButton_Click();
    void Command1_Click();
    void kmButton_Click();
    void Combo3_Change();
    void Combo3_Click();
    bool CheckRecordInputs();
    bool checkStorable();

    RaceRecord composedRecord() const;
    void setRecordNumber(int number);
    void setUnit(Unit unit);
    void setDistance(const QString& distance);

    // A row opened by prepareEdit, and what the controls composed from it right after: a
    // cell whose controls still compose the same text is handed back as it was stored, so
    // that opening a row never cuts or cleans it.
    struct ShownRow
    {
        RaceRecord stored;
        RaceRecord composed;
    };

    Dialogs& m_dialogs;
    BrowseDataFile m_browseDataFile;
    int m_recordNumber = 1;
    Unit m_unit = Unit::Km;
    std::optional<ShownRow> m_shownRow;

    QGroupBox* m_recordFrame = nullptr;
    std::array<QComboBox*, 3> m_datePickers{}; // year, month, day
    QLineEdit* m_raceName = nullptr;
    QComboBox* m_distance = nullptr; // its text without the unit
    QPushButton* m_unitButton = nullptr;
    std::array<QComboBox*, 3> m_timePickers{}; // hours, minutes, seconds
    QLineEdit* m_remarks = nullptr;
    QLineEdit* m_dataPath = nullptr;
    QPushButton* m_browseButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace torvanu
