#include "shell/picker_entry.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QKeyEvent>
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

// An entry's text read as a number: without the blanks and zeros that pad it to its
// column (" 7" and "07" are 7, "0" stays 0).
QString unpadded(const QString& text)
{
    QString number = text.trimmed();
    qsizetype zeros = 0;
    while (zeros + 1 < number.size() && number[zeros] == u'0' && number[zeros + 1].isDigit())
        ++zeros;
    return number.mid(zeros);
}

// The entry a typed number names: the one whose text, padding aside, is that number, else the
// first that starts with it (typing "20" in the year list goes to 2000 on the way to 2024).
int entryNamed(const QComboBox& picker, const QString& typed)
{
    const QString number = unpadded(typed);
    int startsWith = -1;
    for (int entry = 0; entry < picker.count(); ++entry) {
        const QString text = unpadded(picker.itemText(entry));
        if (text == number)
            return entry;
        if (startsWith < 0 && text.startsWith(number))
            startsWith = entry;
    }
    return startsWith;
}

class DigitPicking : public QObject
{
public:
    explicit DigitPicking(QComboBox* picker) : QObject(picker), m_picker(picker)
    {
        picker->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_picker || event->type() != QEvent::KeyPress || m_picker->isEditable())
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const QString text = key->text();
        const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
        if (!plain || text.size() != 1 || text[0].digitValue() < 0) {
            m_typed.clear();
            return false;
        }
        if (!m_lastDigit.isValid() || m_lastDigit.hasExpired(QApplication::keyboardInputInterval()))
            m_typed.clear();
        m_lastDigit.start();

        // A full-width digit from an input method names the same entry.
        const QString digit = QString::number(text[0].digitValue());
        m_typed += digit;
        int entry = entryNamed(*m_picker, m_typed);
        if (entry < 0) {
            m_typed = digit;
            entry = entryNamed(*m_picker, m_typed);
        }
        if (entry >= 0 && entry != m_picker->currentIndex()) {
            m_picker->setCurrentIndex(entry);
            // As a pick from the list or Qt's own search announces it.
            emit m_picker->activated(entry);
            emit m_picker->textActivated(m_picker->itemText(entry));
        }
        return true;
    }

private:
    QComboBox* m_picker;
    QString m_typed;
    QElapsedTimer m_lastDigit;
};

} // namespace

void makeTypedTextPicker(QComboBox* picker)
{
    auto* field = new QLineEdit(picker);
    field->setPalette(picker->palette());
    // A field without a completer gets one of the picker's own, set up on its entries and
    // dropped by the next lines; an empty one costs far less and is dropped the same way.
    field->setCompleter(new QCompleter(field));
    picker->setLineEdit(field);
    picker->setCompleter(nullptr);
    picker->setInsertPolicy(QComboBox::NoInsert);
}

void followTextWithEntry(QComboBox* picker)
{
    QObject::connect(picker, &QComboBox::editTextChanged, picker,
                     [picker](const QString& text) { selectEntryOf(picker, text); });
    selectEntryOf(picker, picker->currentText());
}

void pickByTypedDigits(QComboBox* picker)
{
    new DigitPicking(picker);
}

} // namespace torvanu
