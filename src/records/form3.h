#pragma once

#include "records/race_record.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

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
    void OkButton_Click();
    void Command1_Click();
    void kmButton_Click();
    void Combo3_Change();
    void Combo3_Click();
    bool CheckRecordInputs();
    bool checkStorable();

    QString recordNumberText() const;
    void setRecordNumber(int number);
    void setDistance(const QString& distance);

    Dialogs& m_dialogs;
    BrowseDataFile m_browseDataFile;

    QGroupBox* m_frame1 = nullptr;
    std::array<QComboBox*, 3> m_combo1{}; // year, month, day
    QLineEdit* m_text1 = nullptr;         // race name
    QComboBox* m_combo3 = nullptr;        // distance
    QPushButton* m_kmButton = nullptr;
    std::array<QComboBox*, 3> m_combo2{}; // hours, minutes, seconds
    QLineEdit* m_text2 = nullptr;         // remarks
    QLineEdit* m_fileText = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace torvanu
