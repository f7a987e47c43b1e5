#pragma once

#include <QString>

#include <string>
#include <string_view>

// The calculator's UTF-16 texts as QString, for comparing and printing.
inline QString qs(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}
