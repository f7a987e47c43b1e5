#pragma once

#include "shell/save_folders.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

class QWidget;

namespace torvanu {

class Dialogs;

// What became of one save: a CSV, a PDF, a picture. The window shows one message for every
// failure.
struct CsvSaveResult
{
    enum class Status
    {
        Saved,
        Cancelled,   // the chooser was cancelled, or the replace question answered No
        WriteFailed, // making, opening, writing or committing the file failed; any old file is
                     // intact
        Unencodable, // the text holds a character Shift_JIS cannot store; nothing was asked
    };

    Status status = Status::Cancelled;
    QString path;           // the file written or attempted; empty when none was chosen
    QString detail;         // WriteFailed: the system's reason, if it gave one
    char32_t character = 0; // Unencodable: the first character that cannot be stored
};

// One kind of file as its save chooser asks for it.
struct SaveRequest
{
    QString title;
    QStringList filters;    // the first one is selected
    QStringView suffix;     // ".csv", in lower case: added to a name that does not end so
    SaveFolders::Kind kind; // whose folder is remembered for the next chooser
    QString folder;         // where the chooser starts
    QString fileName;       // the name it offers
};

// The bytes of the file, made once a name is chosen; nothing when they cannot be made.
using FileBytes = std::function<std::optional<QByteArray>()>;

// Every export's way to a file: asks for a name, adds the suffix when the name lacks it,
// remembers the folder, asks before replacing the file the completed name would replace
// (the chooser asked about the name as typed), and writes the bytes atomically.
CsvSaveResult saveThroughChooser(Dialogs& dialogs, QWidget* owner, SaveFolders& folders,
                                 const SaveRequest& request, const FileBytes& bytes);

} // namespace torvanu
