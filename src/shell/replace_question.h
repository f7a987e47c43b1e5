#pragma once

#include <QFileInfo>
#include <QString>

namespace torvanu {

// The one wording for "replace this file?", asked by the save chooser for the name as
// typed and by every export for the name it completes with its suffix.
inline QString replaceQuestion(const QString& path)
{
    return QStringLiteral("「%1」は既に存在します。\n置き換えますか？")
        .arg(QFileInfo(path).fileName());
}

} // namespace torvanu
