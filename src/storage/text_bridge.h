#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace torvanu {

// The arithmetic speaks std::u16string; the windows speak QString. Both are UTF-16.
inline std::u16string_view toU16(QStringView text)
{
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

inline QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

} // namespace torvanu
