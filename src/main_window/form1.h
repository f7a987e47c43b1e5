#pragma once

#include "calc/pace.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QCheckBox;
class QLabel;

namespace torvanu {

class AboutBox;
class AnalysisWindow;
class CalculatorPanel;
class Dialogs;
class DragBar;
class LapTablePanel;
class Module1;
class RecordBook;

// Where the program finds its files. The record book is read from dataFolder and saved to
// dataWriteFolder (the same folder when empty); a record book that could not be saved is kept
// in recoveryFolder.
struct Form1Folders
{
    QString programFolder;
    QString dataFolder;
    QString recoveryFolder;
    QString dataWriteFolder;

    QString saveFolder() const { return dataWriteFolder.isEmpty() ? dataFolder : dataWriteFolder; }
};

// The main window: the calculator, the lap table and the race record book below them.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    Form1(Dialogs& dialogs, Form1Folders folders, QWidget* parent = nullptr);
    ~Form1() override;

    // Runs once before the window is first shown.
    void Form_Load();

    void UpdateResults(Mode mode);
    void FullMarathonMatrix(Mode mode);
    void CSVFileSave();

    bool detailMode() const;
    // Window sizes as the program sets them: outer sizes in twips. On a screen too low for
    // the height, the window shown is only as tall as the screen's free area.
    int windowWidthTwips() const { return m_outerWidthTw; }
    int windowHeightTwips() const { return m_outerHeightTw; }
    int detailHeightTwips() const { return m_detailHeightTw; }
    int clientHeightTwips() const;

    CalculatorPanel& calculator() const { return *m_calculator; }
    LapTablePanel& lapTable() const { return *m_lapTable; }
    RecordBook& recordBook() const { return *m_recordBook; }
    Module1& module1() const { return *m_module1; }

    // The drag bar's handler, with y in twips from the bar's top.
    void Picture4_MouseMove(Qt::MouseButtons buttons, int yTwips);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void buildMenus();
    void showAnalysisWindow();
    void bringToFront();
    void buildRecordArea(QWidget* client);
    void Check1_Click();
    void mnInfo_Click(bool checked);
    void mnPaceBand_Click();
    // False: the close is not to go on.
    bool Form_QueryUnload();
    void setOuterSize(int widthTw, int heightTw);
    void applyOuterSize();
    int shownOuterHeightTwips() const;
    void keepOnScreen();
    QSize frameExtent() const;
    void placeDragBar();
    void fitListToDragBar();
    void setRecordAreaVisible(bool visible);

    Dialogs& m_dialogs;
    Form1Folders m_folders;
    std::unique_ptr<Module1> m_module1;
    std::unique_ptr<AboutBox> m_aboutBox;
    AnalysisWindow* m_analysisWindow = nullptr; // made on first use, owned as a child
    LapTablePanel* m_lapTable = nullptr;
    CalculatorPanel* m_calculator = nullptr;
    RecordBook* m_recordBook = nullptr;
    QCheckBox* m_check1 = nullptr;
    QAction* m_mnInfo = nullptr;
    DragBar* m_dragBar = nullptr;
    QList<QWidget*> m_recordArea;

    int m_outerWidthTw = 0;
    int m_outerHeightTw = 0;
    int m_detailHeightTw = 10000;
    int m_dragBarTopTw = 0;
    QSize m_appliedFrame{-1, -1};
    bool m_unloading = false;
};

} // namespace torvanu
