#include "shell/picker_entry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace torvanu {

namespace {

void selectEntryOf(QComboBox* picker, const QString& text)
{
    const int entry = picker->findText(text);
    if (entry == picker->currentIndex())
        return;
    QLineEdit* field = picker->lineEdit();
    const int cursor = field->cursorPosition();
    // The text stays what it is: no change of it may be announced, or the tab would be
    // recalculated for a text that did not change.
    const QSignalBlocker pickerQuiet(picker);
    const QSignalBlocker fieldQuiet(field);
    picker->setCurrentIndex(entry);
    // Choosing no entry empties an editable picker's text; it is put back as it was.
    if (field->text() != text) {
        field->setText(text);
        field->setCursorPosition(cursor);
    }
}

} // namespace

void followTextWithEntry(QComboBox* picker)
{
    QObject::connect(picker, &QComboBox::editTextChanged, picker,
                     [picker](const QString& text) { selectEntryOf(picker, text); });
    selectEntryOf(picker, picker->currentText());
}

} // namespace torvanu
