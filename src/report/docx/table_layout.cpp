// Column widths of the tables the report adds, fitted to their content.
//
// Word fits such tables itself, but LibreOffice lays a table out by the
// widths written in the file, so the builder estimates them: every column
// gets the width of its longest line when the page allows it, otherwise at
// least its longest word, and the room left is shared in proportion to what
// each column still lacks. Rotated header cells need the width of their lines
// across the column and raise their row to the length of their text.

#include "report/docx/document_data.h"
#include "report/docx/wordml.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace veltron::docx {

using pugi::xml_node;
using namespace wml;

namespace {

// Average character width as a share of the font size, chosen generously:
// Times-like serif faces and the wider sans faces LibreOffice falls back to.
constexpr double kSerifCharWidth = 0.56;
constexpr double kSansCharWidth = 0.66;
constexpr double kLineHeight = 1.25;    // of the font size
constexpr int kHorizontalPadding = 85 * 2 + 40;
constexpr int kVerticalPadding = 120;
constexpr int kMaxRotatedHeight = 4535;  // 8 cm; longer rotated text wraps
constexpr int kMinColumn = 300;

struct CellText {
    int longestLine = 0;  // characters
    int longestWord = 0;
    int lines = 0;
    bool rotated = false;
};

CellText measure(xml_node tc)
{
    CellText result;
    QString text;
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
        });
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    result.lines = static_cast<int>(lines.size());
    for (const QString& line : lines) {
        result.longestLine = std::max(result.longestLine, static_cast<int>(line.size()));
        for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            result.longestWord = std::max(result.longestWord, static_cast<int>(word.size()));
    }
    result.rotated = QByteArray(tc.child("w:tcPr").child("w:textDirection").attribute("w:val").value()) == "btLr";
    return result;
}

int textWidth(xml_node body)
{
    const xml_node section = body.child("w:sectPr");
    const int page = section.child("w:pgSz").attribute("w:w").as_int(11906);
    const xml_node margins = section.child("w:pgMar");
    const int width = page - margins.attribute("w:left").as_int(1701) - margins.attribute("w:right").as_int(850);
    return std::max(width, 2000);
}

// The share for the document's default font, read from its styles.
double charShare(const Package& package)
{
    const QByteArray& styles = package.part("word/styles.xml");
    pugi::xml_document doc;
    if (styles.isEmpty() || !doc.load_buffer(styles.constData(), static_cast<size_t>(styles.size())))
        return kSansCharWidth;
    const QString font = QString::fromUtf8(doc.child("w:styles")
                                               .child("w:docDefaults")
                                               .child("w:rPrDefault")
                                               .child("w:rPr")
                                               .child("w:rFonts")
                                               .attribute("w:ascii")
                                               .value());
    for (const char* serif : {"Times", "Serif", "Cambria", "Georgia", "Garamond", "Book Antiqua"})
        if (font.contains(QLatin1String(serif), Qt::CaseInsensitive))
            return kSerifCharWidth;
    return kSansCharWidth;
}

void layOut(xml_node table, double fontSize, double share, int available)
{
    const double charWidth = fontSize * 20 * share;
    const double lineHeight = fontSize * 20 * kLineHeight;

    std::vector<int> natural;
    std::vector<int> minimum;
    auto widen = [&](size_t column, int nat, int min) {
        if (natural.size() <= column) {
            natural.resize(column + 1, kMinColumn);
            minimum.resize(column + 1, kMinColumn);
        }
        natural[column] = std::max(natural[column], nat);
        minimum[column] = std::max(minimum[column], min);
    };

    for (xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
        int rowHeight = 0;
        size_t column = 0;
        for (xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc"), ++column) {
            const CellText text = measure(tc);
            if (text.rotated) {
                const int length = static_cast<int>(std::ceil(text.longestLine * charWidth)) + kVerticalPadding;
                const int height = std::min(length, kMaxRotatedHeight);
                const int wraps = (length + kMaxRotatedHeight - 1) / kMaxRotatedHeight;
                const int across = static_cast<int>(std::ceil(text.lines * wraps * lineHeight)) + kHorizontalPadding;
                rowHeight = std::max(rowHeight, height);
                widen(column, across, across);
            } else {
                widen(column, static_cast<int>(std::ceil(text.longestLine * charWidth)) + kHorizontalPadding,
                      static_cast<int>(std::ceil(text.longestWord * charWidth)) + kHorizontalPadding);
            }
        }
        // Row height: only rows with rotated text get one, tall enough for it.
        xml_node rowProps = tr.child("w:trPr");
        if (rowProps)
            while (xml_node old = rowProps.child("w:trHeight"))
                rowProps.remove_child(old);
        if (rowHeight > 0) {
            rowProps = ensureProps(tr, "w:trPr");
            xml_node height = rowProps.append_child("w:trHeight");
            setAttr(height, "w:val", rowHeight);
            setAttr(height, "w:hRule", "atLeast");
        } else if (rowProps && !rowProps.first_child()) {
            tr.remove_child(rowProps);
        }
    }

    long long naturalSum = 0;
    long long minimumSum = 0;
    for (size_t c = 0; c < natural.size(); ++c) {
        naturalSum += natural[c];
        minimumSum += minimum[c];
    }
    std::vector<int> widths(natural.size());
    for (size_t c = 0; c < natural.size(); ++c) {
        if (naturalSum <= available)
            widths[c] = natural[c];
        else if (minimumSum >= available)
            widths[c] = static_cast<int>(static_cast<long long>(minimum[c]) * available / minimumSum);
        else
            widths[c] = minimum[c]
                + static_cast<int>(static_cast<long long>(natural[c] - minimum[c]) * (available - minimumSum)
                                   / (naturalSum - minimumSum));
    }

    xml_node grid = table.child("w:tblGrid");
    size_t column = 0;
    for (xml_node col = grid.child("w:gridCol"); col; col = col.next_sibling("w:gridCol"), ++column)
        if (column < widths.size())
            setAttr(col, "w:w", widths[column]);
    for (xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
        column = 0;
        for (xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc"), ++column) {
            if (column >= widths.size())
                break;
            xml_node width = ensureChild(ensureProps(tc, "w:tcPr"), "w:tcW", schema::kCellProps);
            setAttr(width, "w:w", widths[column]);
            setAttr(width, "w:type", "dxa");
        }
    }
}

}  // namespace

void DocumentData::layOutTables()
{
    if (tables.empty())
        return;
    const int available = textWidth(body());
    const double share = charShare(package);
    for (const OwnedTable& owned : tables)
        layOut(owned.table, owned.fontSize, share, available);
}

}  // namespace veltron::docx
