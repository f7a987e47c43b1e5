#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace torvanu {

// An XML file's bytes as UTF-8, the one encoding the parser is given: UTF-8 as it is (a
// byte-order mark left for the parser to skip), UTF-16 and UTF-32 by their byte-order mark or
// their first '<', and an encoding the declaration names (Shift_JIS from older Japanese
// devices, ISO-8859-1, ...) through Qt's converters. Nothing for an encoding Qt does not know.
// Bytes that are UTF-8 already are not copied: the result lives no longer than they do.
std::optional<QByteArray> xmlUtf8(QByteArrayView bytes);

} // namespace torvanu
