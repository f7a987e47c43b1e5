#pragma once

#include <QDialog>
#include <QString>

#include <functional>

namespace torvanu {

// The files of the record book this run, as full paths.
struct BookFiles
{
    QString readFrom; // the book shown since the start
    QString saveTo;   // the book the next close writes
};

// Says where the record book is, so that a user can find it to back it up or move it, and
// opens its folder in the desktop's file manager.
class BookLocationWindow : public QDialog
{
    Q_OBJECT

public:
    // openFolder receives the folder of saveTo when the user asks for it.
    BookLocationWindow(const BookFiles& files, std::function<void(const QString&)> openFolder,
                       QWidget* parent = nullptr);

private:
    std::function<void(const QString&)> m_openFolder;
};

} // namespace torvanu
