#include "program_font.h"

#include <QFontDatabase>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// Naming an installed family directly spares every new font the substitution search,
// which is a good part of the program's start.
QString& resolvedFamily()
{
    static QString family;
    return family;
}

} // namespace

void installFontSubstitutions()
{
    const QStringList installed{u"IPAGothic"_s,        u"IPAゴシック"_s, u"Noto Sans Mono CJK JP"_s,
                                u"Noto Sans CJK JP"_s, u"VL Gothic"_s,   u"TakaoGothic"_s};
    QFont::insertSubstitutions(kProgramFontFamily.toString(), installed);
    for (const QString& family : installed) {
        if (QFontDatabase::hasFamily(family)) {
            resolvedFamily() = family;
            return;
        }
    }
}

QFont programFont(qreal points, bool bold)
{
    const QString& resolved = resolvedFamily();
    QFont font(resolved.isEmpty() ? kProgramFontFamily.toString() : resolved);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace torvanu
