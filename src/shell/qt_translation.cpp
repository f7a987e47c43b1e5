#include "shell/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace torvanu {

std::optional<QtTranslationError> installQtTranslation(QCoreApplication& app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Japanese whatever the user's locale: the interface around these texts is Japanese only.
    const QString name = u"qtbase_ja"_s;
    auto* translator = new QTranslator(&app);
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return QtTranslationError{folder + u'/' + name + u".qm"_s};
    }
    return std::nullopt;
}

} // namespace torvanu
