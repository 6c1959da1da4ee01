// Column widths of the tables the report adds, fitted to their content.
//
// Word fits such tables itself, but LibreOffice lays a table out by the
// widths written in the file, so the builder writes them: every column gets
// the width of its longest line when the page allows it, otherwise at least
// its longest word or number, and the room left is shared in proportion to
// what each column still lacks, so that the widest text columns wrap at
// spaces. When even the longest words of all columns do not fit the text
// width, the table's font is made smaller, half a point at a time, until they
// do: a number or a word is never broken inside a cell. Rotated header cells
// need the width of their lines across the column and raise their row to the
// length of their text.

#include "report/docx/document_data.h"
#include "report/docx/font_metrics.h"
#include "report/docx/wordml.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace veltron::docx {

using pugi::xml_node;
using namespace wml;

namespace {

constexpr double kLineHeight = 1.2;       // of the font size
constexpr double kSafety = 1.04;          // rounding of the reader's layout
constexpr double kSansFactor = 1.15;      // sans faces are wider than Times
// Smallest font of a table on upright pages; a table that needs a smaller
// one gets landscape pages, where it may go down to the smallest of all.
constexpr double kSmallestPortraitFont = 10;  // points
constexpr double kSmallestFont = 7;
constexpr int kHorizontalPadding = 85 * 2 + 30;
constexpr int kVerticalPadding = 120;
constexpr int kMaxRotatedHeight = 4535;   // 8 cm; longer rotated text wraps
constexpr int kMinColumn = 300;

// Widths in ems of one cell's text.
struct CellText {
    double longestLine = 0;
    double longestWord = 0;
    int lines = 0;
    bool rotated = false;
};

CellText measure(xml_node tc)
{
    CellText result;
    QString text;
    bool bold = false;
    for (xml_node p = tc.child("w:p"); p; p = p.next_sibling("w:p")) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        forEachElement(p, [&](xml_node n) {
            if (is(n, "w:t"))
                text += QString::fromUtf8(n.text().get());
            else if (is(n, "w:br") || is(n, "w:cr"))
                text += QLatin1Char('\n');
            else if (is(n, "w:tab"))
                text += QStringLiteral("    ");
            else if (is(n, "w:b") && is(n.parent(), "w:rPr") && is(n.parent().parent(), "w:r"))
                bold = bold || QByteArray(n.attribute("w:val").value()) != "0";
        });
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    result.lines = static_cast<int>(lines.size());
    for (const QString& line : lines) {
        result.longestLine = std::max(result.longestLine, textWidthEm(line, bold));
        for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            result.longestWord = std::max(result.longestWord, textWidthEm(word, bold));
    }
    result.rotated = QByteArray(tc.child("w:tcPr").child("w:textDirection").attribute("w:val").value()) == "btLr";
    return result;
}

// The width between the margins of the document's pages, upright or turned.
int textWidth(xml_node section, bool landscape)
{
    const xml_node size = section.child("w:pgSz");
    const int width = size.attribute("w:w").as_int(11906);
    const int height = size.attribute("w:h").as_int(16838);
    const int page = landscape ? std::max(width, height) : std::min(width, height);
    const xml_node margins = section.child("w:pgMar");
    return std::max(page - margins.attribute("w:left").as_int(1701) - margins.attribute("w:right").as_int(850), 2000);
}

// How much wider than Times New Roman the document's default font runs.
double fontFactor(const Package& package)
{
    const QByteArray& styles = package.part("word/styles.xml");
    pugi::xml_document doc;
    if (styles.isEmpty() || !doc.load_buffer(styles.constData(), static_cast<size_t>(styles.size())))
        return kSansFactor;
    const QString font = QString::fromUtf8(doc.child("w:styles")
                                               .child("w:docDefaults")
                                               .child("w:rPrDefault")
                                               .child("w:rPr")
                                               .child("w:rFonts")
                                               .attribute("w:ascii")
                                               .value());
    for (const char* serif : {"Times", "Serif", "Cambria", "Georgia", "Garamond", "Book Antiqua"})
        if (font.contains(QLatin1String(serif), Qt::CaseInsensitive))
            return 1.0;
    return kSansFactor;
}

// The cells' texts, measured once; widths follow for any font size.
struct Measured {
    std::vector<std::vector<CellText>> rows;
    size_t columns = 0;
};

Measured measureTable(xml_node table)
{
    Measured m;
    for (xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
        std::vector<CellText> row;
        for (xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc"))
            row.push_back(measure(tc));
        m.columns = std::max(m.columns, row.size());
        m.rows.push_back(std::move(row));
    }
    return m;
}

long long sum(const std::vector<int>& v)
{
    return std::accumulate(v.begin(), v.end(), 0LL);
}

// Column widths and row heights (twips) of a measured table at a font size.
struct Widths {
    std::vector<int> natural;
    std::vector<int> minimum;
    std::vector<int> rowHeights;
};

Widths widthsAt(const Measured& m, double fontSize, double factor)
{
    const double em = fontSize * 20 * factor * kSafety;  // twips
    const double lineHeight = fontSize * 20 * kLineHeight;
    Widths w;
    w.natural.assign(m.columns, kMinColumn);
    w.minimum.assign(m.columns, kMinColumn);
    for (const auto& row : m.rows) {
        int rowHeight = 0;
        for (size_t c = 0; c < row.size(); ++c) {
            const CellText& text = row[c];
            int natural = 0;
            int minimum = 0;
            if (text.rotated) {
                const int length = static_cast<int>(std::ceil(text.longestLine * em)) + kVerticalPadding;
                const int wraps = (length + kMaxRotatedHeight - 1) / kMaxRotatedHeight;
                rowHeight = std::max(rowHeight, std::min(length, kMaxRotatedHeight));
                natural = minimum = static_cast<int>(std::ceil(text.lines * wraps * lineHeight)) + kHorizontalPadding;
            } else {
                natural = static_cast<int>(std::ceil(text.longestLine * em)) + kHorizontalPadding;
                minimum = static_cast<int>(std::ceil(text.longestWord * em)) + kHorizontalPadding;
            }
            w.natural[c] = std::max(w.natural[c], natural);
            w.minimum[c] = std::max(w.minimum[c], minimum);
        }
        w.rowHeights.push_back(rowHeight);
    }
    return w;
}

std::vector<int> columnWidths(const Widths& w, int available)
{
    const long long naturalSum = sum(w.natural);
    const long long minimumSum = sum(w.minimum);
    if (naturalSum <= available)
        return w.natural;
    std::vector<int> widths(w.natural.size());
    for (size_t c = 0; c < widths.size(); ++c) {
        if (minimumSum >= available)
            widths[c] = w.minimum[c];
        else
            widths[c] = w.minimum[c]
                + static_cast<int>(static_cast<long long>(w.natural[c] - w.minimum[c]) * (available - minimumSum)
                                   / (naturalSum - minimumSum));
    }
    return widths;
}

void writeRowHeights(xml_node table, const std::vector<int>& heights)
{
    size_t r = 0;
    for (xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr"), ++r) {
        xml_node rowProps = tr.child("w:trPr");
        if (rowProps)
            while (xml_node old = rowProps.child("w:trHeight"))
                rowProps.remove_child(old);
        if (r < heights.size() && heights[r] > 0) {
            rowProps = ensureProps(tr, "w:trPr");
            xml_node height = rowProps.append_child("w:trHeight");
            setAttr(height, "w:val", heights[r]);
            setAttr(height, "w:hRule", "atLeast");
        } else if (rowProps && !rowProps.first_child()) {
            tr.remove_child(rowProps);
        }
    }
}

void writeColumnWidths(xml_node table, const std::vector<int>& widths)
{
    size_t column = 0;
    for (xml_node col = table.child("w:tblGrid").child("w:gridCol"); col;
         col = col.next_sibling("w:gridCol"), ++column)
        if (column < widths.size())
            setAttr(col, "w:w", widths[column]);
    for (xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
        column = 0;
        for (xml_node tc = tr.child("w:tc"); tc && column < widths.size(); tc = tc.next_sibling("w:tc"), ++column) {
            xml_node width = ensureChild(ensureProps(tc, "w:tcPr"), "w:tcW", schema::kCellProps);
            setAttr(width, "w:w", widths[column]);
            setAttr(width, "w:type", "dxa");
        }
    }
}


// The widths at the largest font size, from the table's own down to the
// smallest one given, at which the longest words of all columns fit.
struct Fit {
    double fontSize = 12;
    Widths widths;
    bool fits = false;
};

Fit fitTable(const Measured& measured, double fontSize, double smallest, int available, double factor)
{
    Fit fit;
    fit.fontSize = fontSize;
    fit.widths = widthsAt(measured, fontSize, factor);
    while (sum(fit.widths.minimum) > available && fit.fontSize - 0.5 >= smallest) {
        fit.fontSize -= 0.5;
        fit.widths = widthsAt(measured, fit.fontSize, factor);
    }
    fit.fits = sum(fit.widths.minimum) <= available;
    return fit;
}

bool onLandscapePages(xml_node table)
{
    xml_node after = table.next_sibling();
    while (after && after.type() != pugi::node_element)
        after = after.next_sibling();
    return is(after, "w:p")
        && QByteArray(after.child("w:pPr").child("w:sectPr").child("w:pgSz").attribute("w:orient").value())
               == "landscape";
}

// Puts the table on pages of its own in landscape orientation: the
// paragraph before it (its heading, when it has one of a line) ends the
// portrait section, an empty paragraph after it ends the landscape one.
void putOnLandscapePages(xml_node table, xml_node bodySection)
{
    xml_node before = table.previous_sibling();
    while (before && before.type() != pugi::node_element)
        before = before.previous_sibling();
    xml_node anchor = table;
    if (is(before, "w:p") && !before.child("w:pPr").child("w:sectPr")) {
        QString text;
        forEachElement(before, [&](xml_node n) {
            if (is(n, "w:t"))
                text += QString::fromUtf8(n.text().get());
        });
        if (!text.trimmed().isEmpty() && text.size() <= 120)
            anchor = before;
    }
    xml_node portraitEnd = table.parent().insert_child_before("w:p", anchor);
    portraitEnd.append_child("w:pPr").append_copy(bodySection);

    xml_node landscapeEnd = table.parent().insert_child_after("w:p", table);
    setLandscape(landscapeEnd.append_child("w:pPr").append_copy(bodySection));
}

}  // namespace

void DocumentData::layOutTables()
{
    if (tables.empty())
        return;
    const xml_node section = body().child("w:sectPr");
    // A document whose own pages are turned lays its tables out on them and
    // never needs pages of other sections.
    const bool turned = QByteArray(section.child("w:pgSz").attribute("w:orient").value()) == "landscape";
    const int portrait = textWidth(section, turned);
    const int landscape = textWidth(section, true);
    const double factor = fontFactor(package);
    for (OwnedTable& owned : tables) {
        const Measured measured = measureTable(owned.table);
        const bool ownPages = is(owned.table.parent(), "w:body") && section && !turned;
        Fit fit = fitTable(measured, owned.fontSize, ownPages ? kSmallestPortraitFont : kSmallestFont, portrait,
                           factor);
        int available = portrait;
        if (!fit.fits && ownPages) {
            fit = fitTable(measured, owned.fontSize, kSmallestFont, landscape, factor);
            available = landscape;
            // A document written a second time keeps the pages it got the first time.
            if (!onLandscapePages(owned.table))
                putOnLandscapePages(owned.table, section);
        }
        if (fit.fontSize != owned.fontSize) {
            owned.fontSize = fit.fontSize;
            setTableFont(owned.table, fit.fontSize);
        }
        writeRowHeights(owned.table, fit.widths.rowHeights);
        writeColumnWidths(owned.table, columnWidths(fit.widths, available));
    }
}

void DocumentData::flattenClosingParagraph()
{
    xml_node last = body().child("w:sectPr").previous_sibling();
    while (last && last.type() != pugi::node_element)
        last = last.previous_sibling();
    if (!is(last, "w:p") || last.child("w:r") || last.find_child([](xml_node n) { return is(n, "w:bookmarkStart"); }))
        return;
    xml_node before = last.previous_sibling();
    while (before && before.type() != pugi::node_element)
        before = before.previous_sibling();
    if (!is(before, "w:tbl"))
        return;
    xml_node props = ensureProps(last, "w:pPr");
    xml_node spacing = ensureChild(props, "w:spacing", schema::kParagraphProps);
    setAttr(spacing, "w:before", "0");
    setAttr(spacing, "w:after", "0");
    setAttr(spacing, "w:line", "20");
    setAttr(spacing, "w:lineRule", "exact");
    xml_node mark = ensureChild(props, "w:rPr", schema::kParagraphProps);
    setAttr(ensureChild(mark, "w:sz", schema::kRunProps), "w:val", "2");
}

}  // namespace veltron::docx
