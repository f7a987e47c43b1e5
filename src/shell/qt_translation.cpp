#include "shell/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <string_view>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

struct MissingText
{
    std::string_view context;
    std::string_view source;
    QStringView japanese;
};

// Texts Qt shows that its Japanese translation lacks: the file chooser's type column names
// folders through a class the translation does not cover yet. Worded as the translation
// words the same things elsewhere ("新しいフォルダの作成").
constexpr MissingText kMissingTexts[] = {
    {"QAbstractFileIconProvider", "Folder", u"フォルダ"},
    {"QAbstractFileIconProvider", "Alias", u"リンク"},
    {"QAbstractFileIconProvider", "Drive", u"ドライブ"},
};

class MissingQtTexts final : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override
    {
        if (!context || !sourceText)
            return {};
        for (const MissingText& text : kMissingTexts) {
            if (text.context == context && text.source == sourceText)
                return text.japanese.toString();
        }
        return {};
    }

    bool isEmpty() const override { return false; }
};

} // namespace

std::optional<QtTranslationError> installQtTranslation(QCoreApplication& app)
{
    // Installed first, so that it is asked last: Qt's own translation wins wherever it has a text.
    QCoreApplication::installTranslator(new MissingQtTexts(&app));

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
