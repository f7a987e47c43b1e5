#pragma once

#include <QString>

#include <optional>

class QCoreApplication;

namespace torvanu {

struct QtTranslationError
{
    QString file; // the translation that could not be loaded
};

// Loads Qt's own Japanese texts (the file chooser's columns, side panel and tool tips, the
// context menu of text fields) from the folder where Qt keeps its translations, and installs
// them in app. The program's own texts are set in Japanese directly and need none of this.
std::optional<QtTranslationError> installQtTranslation(QCoreApplication& app);

} // namespace torvanu
