#pragma once

#include "activity/activity.h"
#include "activity/xml_memory.h"

#include <QByteArray>
#include <QByteArrayView>

#include <pugixml.hpp>

#include <limits>
#include <optional>

namespace torvanu {

// Elements nested deeper than this are refused: no real GPX or TCX file comes near it.
constexpr int kMaxXmlDepth = 64;

// A GPX or TCX file parsed whole into a tree, in its own UTF-8 copy of the bytes; one parse
// per document. Only the
// five predefined entities and character references are expanded, so no entity a file
// declares can make it grow; the parse takes time linear in the bytes, and its tree is
// held to XmlMemoryBudget's limit.
class XmlDocument
{
public:
    // An error, with the line where the file stops being XML, or nothing once the tree holds
    // the file's one document element.
    std::optional<ActivityError> parse(QByteArrayView bytes, ActivityFormat format);

    pugi::xml_node root() const { return m_document.document_element(); }

private:
    static ActivityError damagedAt(QByteArrayView bytes, std::ptrdiff_t offset,
                                   ActivityFormat format);

    XmlArena m_textArena{std::numeric_limits<std::size_t>::max()}; // the text the tree points into
    XmlArena m_treeArena;
    pugi::xml_document m_document; // freed before the arenas that hold it
};

} // namespace torvanu
