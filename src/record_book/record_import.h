#pragma once

#include "calc/units.h"

#include <QObject>
#include <QStringList>
#include <QTimeZone>

#include <array>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace torvanu {

class Dialogs;

// The editor's fields a data file fills, and the one that names the file.
struct RecordFields
{
    std::array<QComboBox*, 3> date{}; // year, month, day
    QComboBox* distance = nullptr;
    std::function<Unit()> unit; // the editor holds its unit as a value
    std::function<void(Unit)> setUnit;
    std::array<QComboBox*, 3> time{}; // hours, minutes, seconds
    QLineEdit* file = nullptr;
};

// Fills the record editor from the data file named in it. The fields as the editor showed
// them when it opened count as untouched; a field the user has changed since is replaced
// only after a question.
class RecordImport : public QObject
{
    Q_OBJECT

public:
    RecordImport(QWidget* editor, Dialogs& dialogs, const RecordFields& fields,
                 const QTimeZone& zone = QTimeZone::systemTimeZone());

    void ImportButton_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Texts
    {
        QStringList date;
        QStringList distance; // the number and the unit
        QStringList time;
    };

    Texts texts() const;
    void message(const QString& text, bool stop);

    QWidget* m_editor;
    Dialogs& m_dialogs;
    RecordFields m_fields;
    QTimeZone m_zone;
    Texts m_untouched;
};

} // namespace torvanu
