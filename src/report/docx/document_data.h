#pragma once

// Internal: one parsed document.xml with the operations that reports and
// fragments share. Not part of the builder's interface.

#include "report/docx/document.h"
#include "report/docx/package.h"

#include <pugixml.hpp>

#include <QString>

#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace veltron::docx {

struct OwnedTable {
    pugi::xml_node table;
    double fontSize = 12;
};

// Where the bookmark markers of a document stand, so that a bookmark is
// found without walking the whole body: starts by name and ends by id (the
// first in document order), and the largest w:id of the document.
struct BookmarkIndex {
    std::unordered_map<std::string, pugi::xml_node> starts;
    std::unordered_map<std::string, pugi::xml_node> ends;
    long long maxId = -1;
};

class DocumentData {
public:
    // kind: "шаблон" or "фрагмент", used in messages.
    DocumentData(Package package, const QString& kind);

    QString fileName() const;
    pugi::xml_node body() const;

    // The bookmark's start and end elements. Throws DocxError when missing.
    std::pair<pugi::xml_node, pugi::xml_node> bookmark(const QString& name) const;
    pugi::xml_node findBookmarkStart(const QString& name) const;
    QStringList bookmarkNames() const;
    QString bookmarkText(const QString& name) const;
    void setBookmarkText(const QString& name, const QString& text);

    // The index, built on first use. Operations that remove or copy bookmark
    // markers keep it up to date with forget() and remember(); moving a
    // node keeps it valid.
    BookmarkIndex& bookmarkIndex() const;
    void remember(pugi::xml_node marker) const;
    void forget(pugi::xml_node marker) const;

    pugi::xml_node firstTable() const;
    // Cell (row, column), both from 1, of the table; Throws DocxError.
    pugi::xml_node cell(pugi::xml_node table, int row, int column, const QString& tableName) const;
    void appendToCell(pugi::xml_node cell, const QString& text);

    // Sets column widths and heights of rotated rows of the tables that
    // addTable made, from their content.
    void layOutTables();
    // The empty paragraph that must follow a table ending the document is
    // made a hair high, so that a table filling its page brings no blank
    // page after it.
    void flattenClosingParagraph();
    QByteArray serialize() const;

    Package package;
    QString kind;
    pugi::xml_document xml;
    std::vector<OwnedTable> tables;

private:
    mutable std::optional<BookmarkIndex> index_;
};

// Sets the font size of every cell text of the table.
void setTableFont(pugi::xml_node table, double points);

// Text of a run: "\n" becomes a line break, "\t" a tab; characters XML
// cannot carry are dropped.
void writeRunText(pugi::xml_node run, const QString& text);

}  // namespace veltron::docx
