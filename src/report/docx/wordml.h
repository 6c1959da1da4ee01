#pragma once

// Small helpers over pugixml nodes of WordprocessingML (prefix "w:").

#include "report/docx/wordml_schema.h"

#include <pugixml.hpp>

#include <algorithm>

#include <cstring>
#include <string>

namespace veltron::docx::wml {

inline bool is(const pugi::xml_node& node, const char* name)
{
    return node && node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

// Elements that hold paragraphs and tables directly.
inline bool isBlockContainer(const pugi::xml_node& node)
{
    return is(node, "w:body") || is(node, "w:tc") || is(node, "w:sdtContent")
        || is(node, "w:txbxContent") || is(node, "w:hdr") || is(node, "w:ftr");
}

// Markers that mark a position and carry no content of their own.
inline bool isRangeMarkup(const pugi::xml_node& node)
{
    return is(node, "w:bookmarkStart") || is(node, "w:bookmarkEnd") || is(node, "w:proofErr")
        || is(node, "w:permStart") || is(node, "w:permEnd") || is(node, "w:commentRangeStart")
        || is(node, "w:commentRangeEnd");
}

inline pugi::xml_node nextElement(pugi::xml_node node)
{
    node = node.next_sibling();
    while (node && node.type() != pugi::node_element)
        node = node.next_sibling();
    return node;
}

inline pugi::xml_node previousElement(pugi::xml_node node)
{
    node = node.previous_sibling();
    while (node && node.type() != pugi::node_element)
        node = node.previous_sibling();
    return node;
}

// Calls fn for every element below root (root itself excluded), in
// document order. fn must not remove nodes.
template <typename Fn>
void forEachElement(pugi::xml_node root, Fn fn)
{
    for (pugi::xml_node n = root.first_child(); n;) {
        if (n.type() == pugi::node_element)
            fn(n);
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != root && !n.next_sibling())
            n = n.parent();
        if (!n || n == root)
            break;
        n = n.next_sibling();
    }
}

// The first element below root, in document order, that pred accepts.
template <typename Pred>
pugi::xml_node findFirst(pugi::xml_node root, Pred pred)
{
    pugi::xml_node found;
    for (pugi::xml_node n = root.first_child(); n && !found;) {
        if (n.type() == pugi::node_element && pred(n)) {
            found = n;
            break;
        }
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != root && !n.next_sibling())
            n = n.parent();
        if (!n || n == root)
            break;
        n = n.next_sibling();
    }
    return found;
}

// The child `name` of parent, created at its place in the schema order when
// missing.
inline pugi::xml_node ensureChild(pugi::xml_node parent, const char* name, const schema::Order& order)
{
    if (pugi::xml_node existing = parent.child(name))
        return existing;
    const int rank = schema::rankOf(order, name);
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const int other = schema::rankOf(order, c.name());
        if (other < 0 || other > rank)
            return parent.insert_child_before(name, c);
    }
    return parent.append_child(name);
}

// The property element of a paragraph, run, table, row or cell, created
// first in its parent when missing.
inline pugi::xml_node ensureProps(pugi::xml_node parent, const char* name)
{
    if (pugi::xml_node existing = parent.child(name))
        return existing;
    return parent.prepend_child(name);
}

inline void setAttr(pugi::xml_node node, const char* name, const char* value)
{
    pugi::xml_attribute a = node.attribute(name);
    if (!a)
        a = node.append_attribute(name);
    a.set_value(value);
}

inline void setAttr(pugi::xml_node node, const char* name, long long value)
{
    setAttr(node, name, std::to_string(value).c_str());
}

// Turns the page size of a section (w:sectPr) to landscape: the longer side
// across.
inline void setLandscape(pugi::xml_node section)
{
    pugi::xml_node size = ensureChild(section, "w:pgSz", schema::kSectionProps);
    const int width = size.attribute("w:w").as_int(11906);
    const int height = size.attribute("w:h").as_int(16838);
    setAttr(size, "w:w", std::max(width, height));
    setAttr(size, "w:h", std::min(width, height));
    setAttr(size, "w:orient", "landscape");
}

// Turns the page size of a section back to portrait: the shorter side across.
inline void setPortrait(pugi::xml_node section)
{
    pugi::xml_node size = ensureChild(section, "w:pgSz", schema::kSectionProps);
    const int width = size.attribute("w:w").as_int(11906);
    const int height = size.attribute("w:h").as_int(16838);
    setAttr(size, "w:w", std::min(width, height));
    setAttr(size, "w:h", std::max(width, height));
    size.remove_attribute("w:orient");
}

// Drops the parts of copied run properties that belong to the place they
// were copied from (revision marks), keeping the look.
inline void cleanRunProps(pugi::xml_node props)
{
    if (!props)
        return;
    for (const char* name : {"w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange"})
        while (pugi::xml_node c = props.child(name))
            props.remove_child(c);
}

}  // namespace veltron::docx::wml
