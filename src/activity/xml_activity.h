#pragma once

#include "activity/activity.h"

#include <QStringView>

#include <pugixml.hpp>

#include <optional>
#include <string_view>

namespace torvanu {

// The local name of the document's first element; empty when there is none.
QString rootElementName(QByteArrayView bytes);

// An element's name without the prefix of its namespace, whatever prefix that is.
std::string_view localName(const pugi::xml_node& node);

// Whether an element has this local name.
bool hasLocalName(const pugi::xml_node& node, std::string_view name);

// The first child element with this local name; an empty node when there is none.
pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name);

// A number from an element's text or an attribute; nothing when it is not one, or not finite.
std::optional<double> xmlNumber(QStringView text);
std::optional<double> xmlNumber(std::string_view utf8);

// A time from an element's text or an attribute, as parseXmlTime reads it.
std::optional<double> xmlTime(std::string_view utf8);

} // namespace torvanu
