#pragma once

// Word-like operations on a .docx report: the template's whole content
// becomes the report, bookmarks are filled, paragraphs, tables and filled
// fragment documents are put at bookmarks, the result is saved. Every
// failure (missing file or bookmark, unwritable target) throws DocxError
// with a Russian message; nothing here touches the clipboard or any office
// program.
//
// Bookmarks keep their names through every operation: a bookmark whose text
// was set still encloses that text, and a bookmark that received paragraphs,
// tables or fragments encloses all of them, so a finished report can be read
// back (bookmarkText) and filled again by its bookmarks.

#include "report/docx/docx_error.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace veltron::docx {

enum class Alignment { Left, Center, Right, Justify };

// The paragraph style of the closing lines of a report (its signature
// block): kept on one page, and standing on the last page of a wide table
// that ends the document instead of moving the table to pages of its own.
inline constexpr char kClosingStyle[] = "Signature";

struct ParagraphFormat {
    double fontSize = 12;  // points
    bool bold = false;
    Alignment alignment = Alignment::Left;
    bool keepWithNext = false;  // on the page of what follows, as a caption of a table
};

enum class BorderSide { Top, Left, Bottom, Right, InsideHorizontal, InsideVertical };
enum class LineStyle { None, Single, Double, Dotted, Dashed };

struct BorderLine {
    LineStyle style = LineStyle::Single;
    double width = 0.5;       // points; Word offers 0.25 … 6
    QString color = "auto";   // "auto" or RRGGBB
};

// A picture on the page: its size there, and the text that stands for it
// where it is not shown.
struct PictureFormat {
    double widthMm = 0;
    double heightMm = 0;
    Alignment alignment = Alignment::Center;
    bool keepWithNext = true;  // on the page of what follows, its caption
    QString description;
};

struct TableFormat {
    double fontSize = 12;  // points, every cell
};

class DocumentData;

// A table that Document::addTable made. Rows and columns count from 1, as in
// Word. The handle stays valid as long as its document.
class Table {
public:
    int rowCount() const;
    int columnCount() const;

    // Appends text to the cell (new cells are empty, so it becomes the cell's
    // text). "\n" starts a new line inside the cell.
    void fillCell(int row, int column, const QString& text);
    // The cell's text runs bottom to top and is centred across the column.
    void rotateCell(int row, int column);
    // A new table has a single 0.5 pt line on every side and between cells.
    void setBorder(BorderSide side, const BorderLine& line);
    void setFontSize(double points);
    // Rows stay on one page, with the table's start: for short tables whose
    // header must not stand alone at the foot of a page.
    void keepTogether();
    // No row is split between two pages.
    void keepRowsWhole();
    // Row 1 is repeated at the top of every page the table runs over; its
    // look stays as it is.
    void repeatFirstRow();
    // Row 1 is a heading: bold, shaded, and repeated at the top of every
    // page the table runs over. Call it before filling row 1.
    void markHeadingRow();

private:
    friend class Document;
    Table(DocumentData* data, int index) : data_(data), index_(index) {}
    DocumentData* data_;
    int index_;
};

// A fragment document, opened afresh for each copy, filled and then inserted
// into a report with Document::insertFragment.
class Fragment {
public:
    // Throws DocxError when the file is missing or not a .docx.
    static Fragment open(const QString& path);
    Fragment(Fragment&&) noexcept;
    Fragment& operator=(Fragment&&) noexcept;
    ~Fragment();

    QString fileName() const;
    // Appends text to cell (row, column) of the fragment's first table.
    void fillCell(int row, int column, const QString& text);
    void setBookmarkText(const QString& name, const QString& text);
    QString bookmarkText(const QString& name) const;
    // A paragraph with the text before the fragment's content, formatted as
    // the fragment's first paragraph.
    void insertHeading(const QString& text);

private:
    friend class Document;
    explicit Fragment(std::unique_ptr<DocumentData> data);
    std::unique_ptr<DocumentData> data_;
};

class Document {
public:
    // Opens a template; its whole content, styles and bookmarks become the
    // report. The template file is not changed. Throws DocxError.
    static Document open(const QString& templatePath);
    Document(Document&&) noexcept;
    Document& operator=(Document&&) noexcept;
    ~Document();

    QString templateName() const;
    bool hasBookmark(const QString& name) const;
    QStringList bookmarkNames() const;  // in document order
    // The text inside the bookmark; paragraphs are separated by "\n".
    QString bookmarkText(const QString& name) const;

    // Replaces whatever the bookmark encloses with the text, formatted as the
    // text it replaces (or as the text just before it). "\n" is a line break.
    void setBookmarkText(const QString& name, const QString& text);

    // A paragraph with the text after what the bookmark already holds; the
    // next paragraph, table or fragment at the bookmark lands after it.
    void appendParagraph(const QString& bookmark, const QString& text,
                         const ParagraphFormat& format = {});
    // The same with a paragraph style of the template, by its id
    // ("Heading1"), which decides the paragraph's whole look.
    void appendStyledParagraph(const QString& bookmark, const QString& text, const QString& style);

    // An empty table after what the bookmark already holds. Its columns are
    // fitted to their content when the document is written.
    Table addTable(const QString& bookmark, int rows, int columns, const TableFormat& format = {});

    // A PNG picture in a paragraph of its own after what the bookmark already
    // holds, inline with the text at the size of `format`. The image becomes
    // a part of the document. Throws DocxError for bytes that are not a PNG
    // image or a size that is not positive.
    void addPicture(const QString& bookmark, const QByteArray& png, const PictureFormat& format);

    // An empty paragraph after what the bookmark already holds that ends a
    // section: what stands before it, back to the previous section end, is
    // laid out on pages of the document's own size and margins, turned to
    // landscape when asked; what follows starts on a new page.
    void endSection(const QString& bookmark, bool landscape);

    // The font size of the paragraph that holds the end of the bookmark: the
    // paragraph that stays after a table put at the bookmark.
    void setParagraphFontSize(const QString& bookmark, double points);

    // When the paragraph that holds the end of the bookmark has no text and
    // follows another paragraph, its bookmark markers move to the end of that
    // paragraph and the empty one goes, so that a place that received
    // nothing, or only text and fragments, leaves no blank line. After a
    // table the empty paragraph stays: it keeps the table apart from what
    // follows.
    void dropEmptyParagraph(const QString& bookmark);

    // The fragment's content after what the bookmark already holds, so that
    // copies inserted one after another stand in the order of the calls. The
    // fragment's bookmarks come along with fresh ids; a name the report
    // already has gets the suffix "_2", "_3", ….
    void insertFragment(const QString& bookmark, const Fragment& fragment);

    // The WordprocessingML of the report body as it would be saved.
    QByteArray documentXml() const;
    // The whole .docx.
    QByteArray toDocx() const;
    // Writes the .docx; an existing file is replaced only when the new one is
    // complete. Throws DocxError when the file cannot be written.
    void save(const QString& path) const;

private:
    explicit Document(std::unique_ptr<DocumentData> data);
    std::unique_ptr<DocumentData> data_;
};

}  // namespace veltron::docx
