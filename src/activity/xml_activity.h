#pragma once

#include "activity/activity.h"

#include <QStringView>
#include <QXmlStreamReader>

namespace torvanu {

// What the GPX and TCX readers share: the error of a reader that stopped, and the name of
// the first element, which tells the two apart.
ActivityError xmlError(const QXmlStreamReader& reader, ActivityFormat format);

// The local name of the document's first element; empty when there is none.
QString rootElementName(QByteArrayView bytes);

// A number from an element's text or an attribute; nothing when it is not one, or not finite.
std::optional<double> xmlNumber(QStringView text);

// Elements nested deeper than this are read past unread, so that no file can make a reader
// recurse without end.
constexpr int kMaxXmlDepth = 32;

} // namespace torvanu
