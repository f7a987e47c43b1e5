#include "activity/xml_document.h"

#include "activity/xml_text.h"

#include <algorithm>
#include <cstring>

namespace torvanu {

namespace {

// Escapes and CDATA are read, for the names; line ends are left as they are, and comments,
// processing instructions and the document type are read past without a node.
constexpr unsigned kParseOptions =
    pugi::parse_escapes | pugi::parse_cdata | pugi::parse_embed_pcdata;

// Whether an element lies deeper than the limit below the document, without recursion. The
// whole tree is walked, with as few calls into pugixml a node as can be: it is the one pass
// over the nodes the readers do not look at.
bool tooDeep(const pugi::xml_node& document)
{
    int depth = 1;
    pugi::xml_node node = document.first_child();
    while (node) {
        // A text below an element at the limit is no deeper than that element.
        if (depth > kMaxXmlDepth && node.type() == pugi::node_element)
            return true;
        if (const pugi::xml_node child = node.first_child()) {
            node = child;
            ++depth;
            continue;
        }
        pugi::xml_node next = node.next_sibling();
        while (!next) {
            node = node.parent();
            --depth;
            if (!node || node == document)
                return false;
            next = node.next_sibling();
        }
        node = next;
    }
    return false;
}

} // namespace

std::optional<ActivityError> XmlDocument::parse(QByteArrayView bytes, ActivityFormat format)
{
    m_document.reset();
    const std::optional<QByteArray> text = xmlUtf8(bytes);
    if (!text || text->isEmpty())
        return damagedAt(bytes, 0, format);
    // The parser writes into the text it parses: a copy in the text arena's huge pages.
    auto* copy = static_cast<char*>(m_textArena.allocate(static_cast<std::size_t>(text->size())));
    if (!copy)
        return activityError(ActivityError::Kind::XmlTooLarge, format);
    std::memcpy(copy, text->constData(), static_cast<std::size_t>(text->size()));

    m_treeArena.activate();
    const pugi::xml_parse_result result = m_document.load_buffer_inplace(
        copy, static_cast<std::size_t>(text->size()), kParseOptions, pugi::encoding_utf8);
    m_treeArena.deactivate();
    if (m_treeArena.exceeded() || result.status == pugi::status_out_of_memory) {
        // What was parsed before the memory ran out tells a deep file from a wide one.
        const bool deep = tooDeep(m_document);
        return activityError(
            deep ? ActivityError::Kind::XmlTooDeep : ActivityError::Kind::XmlTooLarge, format);
    }
    if (!result)
        return damagedAt(bytes, result.offset, format);
    // One document element, and nothing after it but comments and blanks.
    int elements = 0;
    for (const pugi::xml_node& node : m_document.children()) {
        if (node.type() == pugi::node_element && ++elements > 1)
            return damagedAt(bytes, node.offset_debug(), format);
    }
    if (elements == 0)
        return damagedAt(bytes, text->size(), format);
    if (tooDeep(m_document))
        return activityError(ActivityError::Kind::XmlTooDeep, format);
    return std::nullopt;
}

// The parse writes into its text: the line is counted in a fresh copy, on this rare road only.
ActivityError XmlDocument::damagedAt(QByteArrayView bytes, std::ptrdiff_t offset,
                                     ActivityFormat format)
{
    ActivityError error = activityError(ActivityError::Kind::XmlDamaged, format);
    const QByteArray text = xmlUtf8(bytes).value_or(QByteArray());
    const qsizetype end = std::clamp<qsizetype>(offset, 0, text.size());
    error.line = 1 + std::count(text.cbegin(), text.cbegin() + end, '\n');
    error.offset = end;
    return error;
}

} // namespace torvanu
