#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;

namespace torvanu {

// The About box: the program's name and version, its makers and a link to its web page.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    // linkAddress is the link's caption, and openLink receives it when the link is clicked.
    Form2(const QString& linkAddress, std::function<void(const QString&)> openLink,
          QWidget* parent = nullptr);

    // True once the box was closed by its close box rather than hidden by OK: its owner
    // then discards it and builds a new one next time.
    bool closedByCloseBox() const { return m_closedByCloseBox; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Command1_Click();
    void urlLabel_Click();

    std::function<void(const QString&)> m_openLink;
    QLabel* m_label1 = nullptr;
    QLabel* m_urlLabel = nullptr;
    bool m_closedByCloseBox = false;
};

} // namespace torvanu
