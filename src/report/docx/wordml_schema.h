#pragma once

// The child order that WordprocessingML prescribes for the property elements
// this project writes. Word refuses (or "repairs") a document whose property
// children stand out of order, so both the builder, which inserts properties,
// and the template packer, which checks the hand-written sources, use these
// lists. Plain C++ and pugixml only: the packer runs at build time without Qt.

#include <pugixml.hpp>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace veltron::docx::schema {

using Order = std::initializer_list<const char*>;

inline const Order kParagraph = {"w:pPr"};  // w:pPr first, content after
inline const Order kParagraphProps = {
    "w:pStyle", "w:keepNext", "w:keepLines", "w:pageBreakBefore", "w:framePr", "w:widowControl",
    "w:numPr", "w:suppressLineNumbers", "w:pBdr", "w:shd", "w:tabs", "w:suppressAutoHyphens",
    "w:kinsoku", "w:wordWrap", "w:overflowPunct", "w:topLinePunct", "w:autoSpaceDE",
    "w:autoSpaceDN", "w:bidi", "w:adjustRightInd", "w:snapToGrid", "w:spacing", "w:ind",
    "w:contextualSpacing", "w:mirrorIndents", "w:suppressOverlap", "w:jc", "w:textDirection",
    "w:textAlignment", "w:textboxTightWrap", "w:outlineLvl", "w:divId", "w:cnfStyle", "w:rPr",
    "w:sectPr", "w:pPrChange"};
inline const Order kRunProps = {
    "w:rStyle", "w:rFonts", "w:b", "w:bCs", "w:i", "w:iCs", "w:caps", "w:smallCaps", "w:strike",
    "w:dstrike", "w:outline", "w:shadow", "w:emboss", "w:imprint", "w:noProof", "w:snapToGrid",
    "w:vanish", "w:webHidden", "w:color", "w:spacing", "w:w", "w:kern", "w:position", "w:sz",
    "w:szCs", "w:highlight", "w:u", "w:effect", "w:bdr", "w:shd", "w:fitText", "w:vertAlign",
    "w:rtl", "w:cs", "w:em", "w:lang", "w:eastAsianLayout", "w:specVanish", "w:oMath",
    "w:rPrChange"};
inline const Order kTableProps = {
    "w:tblStyle", "w:tblpPr", "w:tblOverlap", "w:bidiVisual", "w:tblStyleRowBandSize",
    "w:tblStyleColBandSize", "w:tblW", "w:jc", "w:tblCellSpacing", "w:tblInd", "w:tblBorders",
    "w:shd", "w:tblLayout", "w:tblCellMar", "w:tblLook", "w:tblCaption", "w:tblDescription",
    "w:tblPrChange"};
inline const Order kSectionProps = {
    "w:headerReference", "w:footerReference", "w:footnotePr", "w:endnotePr", "w:type", "w:pgSz",
    "w:pgMar", "w:paperSrc", "w:pgBorders", "w:lnNumType", "w:pgNumType", "w:cols", "w:formProt",
    "w:vAlign", "w:noEndnote", "w:titlePg", "w:textDirection", "w:bidi", "w:rtlGutter",
    "w:docGrid", "w:printerSettings", "w:sectPrChange"};
inline const Order kTableBorders = {"w:top", "w:left", "w:start", "w:bottom", "w:right", "w:end",
                                    "w:insideH", "w:insideV"};
inline const Order kCellMargins = {"w:top", "w:left", "w:start", "w:bottom", "w:right", "w:end"};
inline const Order kTable = {"w:tblPr", "w:tblGrid"};  // rows follow
inline const Order kRow = {"w:tblPrEx", "w:trPr"};     // cells follow
inline const Order kCell = {"w:tcPr"};                 // content follows
inline const Order kCellProps = {
    "w:cnfStyle", "w:tcW", "w:gridSpan", "w:hMerge", "w:vMerge", "w:tcBorders", "w:shd",
    "w:noWrap", "w:tcMar", "w:textDirection", "w:tcFitText", "w:vAlign", "w:hideMark",
    "w:headers", "w:cellIns", "w:cellDel", "w:cellMerge", "w:tcPrChange"};

// Position of a child name in an order list; -1 when the list does not name it.
inline int rankOf(const Order& order, const char* name)
{
    int rank = 0;
    for (const char* entry : order) {
        if (std::strcmp(entry, name) == 0)
            return rank;
        ++rank;
    }
    return -1;
}

// The order list that governs the children of an element, or nullptr.
inline const Order* orderFor(const pugi::xml_node& node)
{
    const char* name = node.name();
    if (std::strcmp(name, "w:pPr") == 0)
        return &kParagraphProps;
    if (std::strcmp(name, "w:rPr") == 0)
        return &kRunProps;
    if (std::strcmp(name, "w:tblPr") == 0)
        return &kTableProps;
    if (std::strcmp(name, "w:tcPr") == 0)
        return &kCellProps;
    if (std::strcmp(name, "w:sectPr") == 0)
        return &kSectionProps;
    if (std::strcmp(name, "w:tblBorders") == 0 || std::strcmp(name, "w:tcBorders") == 0)
        return &kTableBorders;
    if (std::strcmp(name, "w:tblCellMar") == 0 || std::strcmp(name, "w:tcMar") == 0)
        return &kCellMargins;
    if (std::strcmp(name, "w:p") == 0)
        return &kParagraph;
    if (std::strcmp(name, "w:tbl") == 0)
        return &kTable;
    if (std::strcmp(name, "w:tr") == 0)
        return &kRow;
    if (std::strcmp(name, "w:tc") == 0)
        return &kCell;
    return nullptr;
}

// Checks the child order of every governed element below root and the few
// structural rules Word insists on: a table has a grid and rows, a row has
// cells, a cell ends with a paragraph. Returns one line per problem.
inline std::vector<std::string> structureProblems(const pugi::xml_node& root)
{
    std::vector<std::string> problems;
    struct Walker : pugi::xml_tree_walker {
        std::vector<std::string>* problems;
        bool for_each(pugi::xml_node& node) override
        {
            if (node.type() != pugi::node_element)
                return true;
            if (const Order* order = orderFor(node)) {
                // Listed children must keep the list's order; in containers
                // whose list names only the leading property elements
                // (paragraph, table, row, cell) those must come first.
                const bool leadingOnly = order->size() <= 2;
                int last = -1;
                bool contentSeen = false;
                for (auto child : node.children()) {
                    if (child.type() != pugi::node_element)
                        continue;
                    const int rank = rankOf(*order, child.name());
                    if (rank < 0) {
                        contentSeen = true;
                        continue;
                    }
                    if (rank < last || (leadingOnly && contentSeen))
                        problems->push_back(std::string(child.name()) + " out of order in "
                                            + node.name());
                    last = rank;
                }
            }
            const char* name = node.name();
            if (std::strcmp(name, "w:tbl") == 0) {
                if (!node.child("w:tblGrid"))
                    problems->push_back("w:tbl without w:tblGrid");
                if (!node.child("w:tr"))
                    problems->push_back("w:tbl without rows");
            } else if (std::strcmp(name, "w:tr") == 0) {
                if (!node.child("w:tc"))
                    problems->push_back("w:tr without cells");
            } else if (std::strcmp(name, "w:tc") == 0) {
                pugi::xml_node last = node.last_child();
                while (last && last.type() != pugi::node_element)
                    last = last.previous_sibling();
                if (!last || std::strcmp(last.name(), "w:p") != 0)
                    problems->push_back("w:tc does not end with a paragraph");
            }
            return true;
        }
    } walker;
    walker.problems = &problems;
    const_cast<pugi::xml_node&>(root).traverse(walker);
    return problems;
}

}  // namespace veltron::docx::schema
