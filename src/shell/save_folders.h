#pragma once

#include <QString>

#include <array>

namespace torvanu {

// Where the save choosers of the newer windows start: in the folder the user last saved that
// kind of file to while the program runs, else in the user's Documents folder. Kept in
// memory only; the program keeps no settings.
class SaveFolders
{
public:
    enum class Kind
    {
        Csv,
        Pdf,
        Image,
    };

    QString startFolder(Kind kind) const;
    void remember(Kind kind, const QString& savedPath);

private:
    std::array<QString, 3> m_last;
};

// The user's Documents folder, else the home folder: never the folder the program was
// started from, which a chooser given no folder would show.
QString documentsFolder();

// The user's home folder, for a chooser whose own folder is missing.
QString homeFolder();

} // namespace torvanu
