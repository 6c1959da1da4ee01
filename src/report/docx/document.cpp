#include "report/docx/document.h"

#include "report/docx/document_data.h"
#include "report/docx/wordml.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace veltron::docx {

using pugi::xml_node;
using namespace wml;

namespace {

constexpr int kCellMargin = 85;  // twips, left and right of every cell text

std::string halfPoints(double points)
{
    return std::to_string(std::lround(std::clamp(points, 1.0, 1638.0) * 2));
}

const char* jcValue(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Center: return "center";
    case Alignment::Right: return "right";
    case Alignment::Justify: return "both";
    case Alignment::Left: break;
    }
    return "left";
}

void setRunSize(xml_node props, double points)
{
    const std::string value = halfPoints(points);
    setAttr(ensureChild(props, "w:sz", schema::kRunProps), "w:val", value.c_str());
    setAttr(ensureChild(props, "w:szCs", schema::kRunProps), "w:val", value.c_str());
}

void setRunBold(xml_node props, bool bold)
{
    setAttr(ensureChild(props, "w:b", schema::kRunProps), "w:val", bold ? "1" : "0");
    setAttr(ensureChild(props, "w:bCs", schema::kRunProps), "w:val", bold ? "1" : "0");
}

bool isContent(xml_node node)
{
    return node.type() == pugi::node_element && !is(node, "w:pPr") && !isRangeMarkup(node);
}

// A new paragraph before p with p's properties (without a section end) and
// every child of p that stands before `at`.
xml_node splitParagraph(xml_node p, xml_node at)
{
    xml_node head = p.parent().insert_child_before("w:p", p);
    if (xml_node props = p.child("w:pPr")) {
        xml_node copy = head.append_copy(props);
        while (xml_node sect = copy.child("w:sectPr"))
            copy.remove_child(sect);
        while (xml_node change = copy.child("w:pPrChange"))
            copy.remove_child(change);
    }
    for (xml_node n = p.first_child(); n && n != at;) {
        xml_node next = n.next_sibling();
        if (!is(n, "w:pPr"))
            head.append_move(n);
        n = next;
    }
    return head;
}

xml_node paragraphHolding(xml_node end, const QString& name, const QString& file)
{
    xml_node parent = end.parent();
    if (is(parent, "w:p") || isBlockContainer(parent))
        return parent;
    throw DocxError(QStringLiteral("Закладка «%1» в документе «%2» стоит там, куда нельзя вставить абзац или таблицу.")
                        .arg(name, file));
}

// Where block content (tables, fragment paragraphs) goes at the end of a
// bookmark: the parent and the node to insert before, plus the markers that
// must move into the first new paragraph so that the bookmark still encloses
// what is inserted.
struct BlockSlot {
    xml_node parent;
    xml_node before;
    std::vector<xml_node> leadingMarkers;
};

BlockSlot blockSlot(xml_node end, const QString& name, const QString& file)
{
    xml_node holder = paragraphHolding(end, name, file);
    if (!is(holder, "w:p"))
        return {holder, end, {}};
    bool content = false;
    std::vector<xml_node> markers;
    for (xml_node n = holder.first_child(); n != end; n = n.next_sibling()) {
        if (isContent(n))
            content = true;
        else if (isRangeMarkup(n))
            markers.push_back(n);
    }
    if (content) {
        splitParagraph(holder, end);
        return {holder.parent(), holder, {}};
    }
    return {holder.parent(), holder, markers};
}

void moveMarkersInto(const std::vector<xml_node>& markers, xml_node firstBlock)
{
    if (markers.empty())
        return;
    xml_node p = is(firstBlock, "w:p") ? firstBlock
                                             : findFirst(firstBlock, [](xml_node n) { return is(n, "w:p"); });
    if (!p)
        return;
    xml_node anchor = p.child("w:pPr");
    for (xml_node m : markers)
        anchor = anchor ? p.insert_move_after(m, anchor) : p.prepend_move(m);
}

const char* borderName(BorderSide side)
{
    switch (side) {
    case BorderSide::Top: return "w:top";
    case BorderSide::Left: return "w:left";
    case BorderSide::Bottom: return "w:bottom";
    case BorderSide::Right: return "w:right";
    case BorderSide::InsideHorizontal: return "w:insideH";
    case BorderSide::InsideVertical: return "w:insideV";
    }
    return "w:top";
}

const char* lineValue(LineStyle style)
{
    switch (style) {
    case LineStyle::None: return "nil";
    case LineStyle::Single: return "single";
    case LineStyle::Double: return "double";
    case LineStyle::Dotted: return "dotted";
    case LineStyle::Dashed: return "dashed";
    }
    return "single";
}

void writeBorder(xml_node table, BorderSide side, const BorderLine& line)
{
    xml_node props = ensureProps(table, "w:tblPr");
    xml_node borders = ensureChild(props, "w:tblBorders", schema::kTableProps);
    xml_node border = ensureChild(borders, borderName(side), schema::kTableBorders);
    border.remove_attributes();
    setAttr(border, "w:val", lineValue(line.style));
    if (line.style != LineStyle::None) {
        setAttr(border, "w:sz", std::lround(std::clamp(line.width, 0.25, 12.0) * 8));
        setAttr(border, "w:space", "0");
        // Anything but six hex digits (with or without "#") means automatic.
        QString color = line.color.trimmed();
        if (color.startsWith(QLatin1Char('#')))
            color = color.mid(1);
        static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
        const QByteArray value = hex.match(color).hasMatch() ? color.toUpper().toLatin1() : QByteArray("auto");
        setAttr(border, "w:color", value.constData());
    }
}

}  // namespace

void setTableFont(xml_node table, double points)
{
    for (xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr"))
        for (xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc"))
            for (xml_node p = tc.child("w:p"); p; p = p.next_sibling("w:p")) {
                setRunSize(ensureChild(ensureProps(p, "w:pPr"), "w:rPr", schema::kParagraphProps), points);
                for (xml_node r = p.child("w:r"); r; r = r.next_sibling("w:r"))
                    setRunSize(ensureProps(r, "w:rPr"), points);
            }
}

// ---- Table -------------------------------------------------------------

int Table::rowCount() const
{
    int n = 0;
    for (xml_node tr = data_->tables[static_cast<size_t>(index_)].table.child("w:tr"); tr;
         tr = tr.next_sibling("w:tr"))
        ++n;
    return n;
}

int Table::columnCount() const
{
    int n = 0;
    for (xml_node col = data_->tables[static_cast<size_t>(index_)].table.child("w:tblGrid").child("w:gridCol");
         col; col = col.next_sibling("w:gridCol"))
        ++n;
    return n;
}

void Table::fillCell(int row, int column, const QString& text)
{
    const xml_node table = data_->tables[static_cast<size_t>(index_)].table;
    data_->appendToCell(data_->cell(table, row, column, QStringLiteral("таблице отчета")), text);
}

void Table::rotateCell(int row, int column)
{
    const xml_node table = data_->tables[static_cast<size_t>(index_)].table;
    xml_node props = ensureProps(data_->cell(table, row, column, QStringLiteral("таблице отчета")), "w:tcPr");
    setAttr(ensureChild(props, "w:textDirection", schema::kCellProps), "w:val", "btLr");
    setAttr(ensureChild(props, "w:vAlign", schema::kCellProps), "w:val", "center");
}

void Table::setBorder(BorderSide side, const BorderLine& line)
{
    writeBorder(data_->tables[static_cast<size_t>(index_)].table, side, line);
}

void Table::setFontSize(double points)
{
    OwnedTable& owned = data_->tables[static_cast<size_t>(index_)];
    owned.fontSize = points;
    setTableFont(owned.table, points);
}

void Table::keepRowsWhole()
{
    const xml_node table = data_->tables[static_cast<size_t>(index_)].table;
    for (xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr"))
        ensureChild(ensureChild(tr, "w:trPr", schema::kRow), "w:cantSplit", {"w:cantSplit", "w:tblHeader"});
}

void Table::keepTogether()
{
    keepRowsWhole();
    const xml_node table = data_->tables[static_cast<size_t>(index_)].table;
    for (xml_node tr = table.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
        if (!tr.next_sibling("w:tr"))
            break;
        for (xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc"))
            for (xml_node p = tc.child("w:p"); p; p = p.next_sibling("w:p"))
                ensureChild(ensureProps(p, "w:pPr"), "w:keepNext", schema::kParagraphProps);
    }
}

void Table::repeatFirstRow()
{
    const xml_node first = data_->tables[static_cast<size_t>(index_)].table.child("w:tr");
    ensureChild(ensureChild(first, "w:trPr", schema::kRow), "w:tblHeader", {"w:cantSplit", "w:tblHeader"});
}

void Table::markHeadingRow()
{
    repeatFirstRow();
    const xml_node first = data_->tables[static_cast<size_t>(index_)].table.child("w:tr");
    for (xml_node tc = first.child("w:tc"); tc; tc = tc.next_sibling("w:tc")) {
        xml_node shading = ensureChild(ensureProps(tc, "w:tcPr"), "w:shd", schema::kCellProps);
        setAttr(shading, "w:val", "clear");
        setAttr(shading, "w:color", "auto");
        setAttr(shading, "w:fill", "E7E6E6");
        // Text filled in later takes the run properties of the paragraph mark.
        for (xml_node p = tc.child("w:p"); p; p = p.next_sibling("w:p"))
            setRunBold(ensureChild(ensureProps(p, "w:pPr"), "w:rPr", schema::kParagraphProps), true);
    }
}

// ---- Fragment ----------------------------------------------------------

Fragment::Fragment(std::unique_ptr<DocumentData> data) : data_(std::move(data)) {}
Fragment::Fragment(Fragment&&) noexcept = default;
Fragment& Fragment::operator=(Fragment&&) noexcept = default;
Fragment::~Fragment() = default;

Fragment Fragment::open(const QString& path)
{
    const QString kind = QStringLiteral("фрагмент");
    return Fragment(std::make_unique<DocumentData>(Package::read(path, kind), kind));
}

QString Fragment::fileName() const
{
    return data_->fileName();
}

void Fragment::fillCell(int row, int column, const QString& text)
{
    const xml_node table = data_->firstTable();
    if (!table)
        throw DocxError(QStringLiteral("Во фрагменте «%1» нет таблицы.").arg(fileName()));
    data_->appendToCell(
        data_->cell(table, row, column, QStringLiteral("таблице фрагмента «%1»").arg(fileName())), text);
}

void Fragment::setBookmarkText(const QString& name, const QString& text)
{
    data_->setBookmarkText(name, text);
}

QString Fragment::bookmarkText(const QString& name) const
{
    return data_->bookmarkText(name);
}

void Fragment::insertHeading(const QString& text)
{
    xml_node body = data_->body();
    xml_node first = body.first_child();
    while (first && first.type() != pugi::node_element)
        first = first.next_sibling();
    xml_node heading = first ? body.insert_child_before("w:p", first) : body.append_child("w:p");
    xml_node runProps;
    if (is(first, "w:p")) {
        if (xml_node props = first.child("w:pPr")) {
            xml_node copy = heading.append_copy(props);
            while (xml_node sect = copy.child("w:sectPr"))
                copy.remove_child(sect);
            while (xml_node numbering = copy.child("w:numPr"))
                copy.remove_child(numbering);
        }
        for (xml_node r = first.child("w:r"); r && !runProps; r = r.next_sibling("w:r"))
            runProps = r.child("w:rPr");
        if (!runProps)
            runProps = first.child("w:pPr").child("w:rPr");
    } else if (is(first, "w:sectPr")) {
        // an empty fragment: the heading is its only paragraph
    }
    xml_node run = heading.append_child("w:r");
    if (runProps)
        run.append_copy(runProps);
    cleanRunProps(run.child("w:rPr"));
    writeRunText(run, text);
}

// ---- Document ----------------------------------------------------------

Document::Document(std::unique_ptr<DocumentData> data) : data_(std::move(data)) {}
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;
Document::~Document() = default;

Document Document::open(const QString& templatePath)
{
    const QString kind = QStringLiteral("шаблон");
    return Document(std::make_unique<DocumentData>(Package::read(templatePath, kind), kind));
}

QString Document::templateName() const
{
    return data_->fileName();
}

bool Document::hasBookmark(const QString& name) const
{
    return bool(data_->findBookmarkStart(name));
}

QStringList Document::bookmarkNames() const
{
    return data_->bookmarkNames();
}

QString Document::bookmarkText(const QString& name) const
{
    return data_->bookmarkText(name);
}

void Document::setBookmarkText(const QString& name, const QString& text)
{
    data_->setBookmarkText(name, text);
}

void Document::appendParagraph(const QString& bookmark, const QString& text, const ParagraphFormat& format)
{
    const auto [start, end] = data_->bookmark(bookmark);
    xml_node holder = paragraphHolding(end, bookmark, data_->fileName());
    xml_node p = is(holder, "w:p") ? splitParagraph(holder, end) : holder.insert_child_before("w:p", end);

    // As in Word, the size, weight and alignment apply to the whole paragraph
    // that receives the text, including text of the template before the
    // bookmark.
    xml_node props = ensureProps(p, "w:pPr");
    if (format.keepWithNext)
        ensureChild(props, "w:keepNext", schema::kParagraphProps);
    setAttr(ensureChild(props, "w:jc", schema::kParagraphProps), "w:val", jcValue(format.alignment));
    xml_node mark = ensureChild(props, "w:rPr", schema::kParagraphProps);
    setRunSize(mark, format.fontSize);
    setRunBold(mark, format.bold);
    xml_node lastRunProps;
    for (xml_node r = p.child("w:r"); r; r = r.next_sibling("w:r")) {
        xml_node runProps = ensureProps(r, "w:rPr");
        setRunSize(runProps, format.fontSize);
        setRunBold(runProps, format.bold);
        lastRunProps = runProps;
    }
    xml_node run = p.append_child("w:r");
    run.append_copy(lastRunProps ? lastRunProps : mark);
    cleanRunProps(run.child("w:rPr"));
    writeRunText(run, text);
}

void Document::appendStyledParagraph(const QString& bookmark, const QString& text, const QString& style)
{
    const auto [start, end] = data_->bookmark(bookmark);
    xml_node holder = paragraphHolding(end, bookmark, data_->fileName());
    xml_node p = is(holder, "w:p") ? splitParagraph(holder, end) : holder.insert_child_before("w:p", end);
    setAttr(ensureChild(ensureProps(p, "w:pPr"), "w:pStyle", schema::kParagraphProps), "w:val",
            style.toUtf8().constData());
    writeRunText(p.append_child("w:r"), text);
}

Table Document::addTable(const QString& bookmark, int rows, int columns, const TableFormat& format)
{
    if (rows < 1 || columns < 1 || rows > 32767 || columns > 63)
        throw DocxError(QStringLiteral("Таблица %1 × %2 у закладки «%3» не может быть создана: "
                                       "нужно от 1 строки и от 1 до 63 столбцов.")
                            .arg(rows)
                            .arg(columns)
                            .arg(bookmark));
    const auto [start, end] = data_->bookmark(bookmark);
    BlockSlot slot = blockSlot(end, bookmark, data_->fileName());

    xml_node table = slot.parent.insert_child_before("w:tbl", slot.before);
    xml_node props = table.append_child("w:tblPr");
    xml_node width = props.append_child("w:tblW");
    setAttr(width, "w:w", "0");
    setAttr(width, "w:type", "auto");
    for (BorderSide side : {BorderSide::Top, BorderSide::Left, BorderSide::Bottom, BorderSide::Right,
                            BorderSide::InsideHorizontal, BorderSide::InsideVertical})
        writeBorder(table, side, BorderLine{});
    xml_node margins = ensureChild(props, "w:tblCellMar", schema::kTableProps);
    for (const char* side : {"w:left", "w:right"}) {
        xml_node m = margins.append_child(side);
        setAttr(m, "w:w", kCellMargin);
        setAttr(m, "w:type", "dxa");
    }
    xml_node look = ensureChild(props, "w:tblLook", schema::kTableProps);
    setAttr(look, "w:val", "04A0");

    xml_node grid = table.append_child("w:tblGrid");
    const int share = 9355 / columns;
    for (int c = 0; c < columns; ++c)
        setAttr(grid.append_child("w:gridCol"), "w:w", share);
    for (int r = 0; r < rows; ++r) {
        xml_node tr = table.append_child("w:tr");
        for (int c = 0; c < columns; ++c) {
            xml_node tc = tr.append_child("w:tc");
            xml_node cellWidth = tc.append_child("w:tcPr").append_child("w:tcW");
            setAttr(cellWidth, "w:w", share);
            setAttr(cellWidth, "w:type", "dxa");
            xml_node p = tc.append_child("w:p");
            xml_node spacing = p.append_child("w:pPr").append_child("w:spacing");
            setAttr(spacing, "w:before", "0");
            setAttr(spacing, "w:after", "0");
        }
    }
    setTableFont(table, format.fontSize);
    moveMarkersInto(slot.leadingMarkers, table);

    data_->tables.push_back({table, format.fontSize});
    return Table(data_.get(), static_cast<int>(data_->tables.size() - 1));
}

void Document::addPicture(const QString& bookmark, const QByteArray& png, const PictureFormat& format)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (!png.startsWith(signature))
        throw DocxError(QStringLiteral("Рисунок у закладки «%1» не является изображением PNG.").arg(bookmark));
    if (!(format.widthMm > 0) || !(format.heightMm > 0) || format.widthMm > 1000 || format.heightMm > 1000)
        throw DocxError(QStringLiteral("Рисунок у закладки «%1» не может иметь размер %2 × %3 мм.")
                            .arg(bookmark)
                            .arg(format.widthMm)
                            .arg(format.heightMm));
    const auto [start, end] = data_->bookmark(bookmark);
    BlockSlot slot = blockSlot(end, bookmark, data_->fileName());

    // The image part, its relationship and its content type.
    int number = 1;
    while (data_->package.has("word/media/image" + std::to_string(number) + ".png"))
        ++number;
    const std::string file = "image" + std::to_string(number) + ".png";
    data_->package.setPart("word/media/" + file, png);
    const std::string rel = data_->package.addDocumentRelationship(
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image", "media/" + file);
    data_->package.ensureDefaultContentType("png", "image/png");

    xml_node root = data_->xml.document_element();
    for (const auto& [prefix, uri] :
         {std::pair<const char*, const char*>{"xmlns:r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"},
          {"xmlns:wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"}})
        if (!root.attribute(prefix))
            root.append_attribute(prefix) = uri;
    // Drawing objects of a document need ids of their own.
    long long docPrId = 0;
    forEachElement(data_->body(), [&](xml_node n) {
        if (is(n, "wp:docPr"))
            docPrId = std::max(docPrId, n.attribute("id").as_llong());
    });
    ++docPrId;

    const std::string cx = std::to_string(std::llround(format.widthMm * 36000));
    const std::string cy = std::to_string(std::llround(format.heightMm * 36000));
    const std::string name = "Рисунок " + std::to_string(docPrId);
    const std::string description = format.description.toStdString();

    xml_node p = slot.parent.insert_child_before("w:p", slot.before);
    xml_node props = p.append_child("w:pPr");
    if (format.keepWithNext)
        props.append_child("w:keepNext");
    xml_node spacing = props.append_child("w:spacing");
    setAttr(spacing, "w:before", "120");
    setAttr(spacing, "w:after", "60");
    setAttr(props.append_child("w:jc"), "w:val", jcValue(format.alignment));

    xml_node inlined = p.append_child("w:r").append_child("w:drawing").append_child("wp:inline");
    for (const char* distance : {"distT", "distB", "distL", "distR"})
        setAttr(inlined, distance, "0");
    xml_node extent = inlined.append_child("wp:extent");
    setAttr(extent, "cx", cx.c_str());
    setAttr(extent, "cy", cy.c_str());
    xml_node effect = inlined.append_child("wp:effectExtent");
    for (const char* side : {"l", "t", "r", "b"})
        setAttr(effect, side, "0");
    xml_node docPr = inlined.append_child("wp:docPr");
    setAttr(docPr, "id", docPrId);
    setAttr(docPr, "name", name.c_str());
    setAttr(docPr, "descr", description.c_str());
    xml_node locks = inlined.append_child("wp:cNvGraphicFramePr").append_child("a:graphicFrameLocks");
    setAttr(locks, "xmlns:a", "http://schemas.openxmlformats.org/drawingml/2006/main");
    setAttr(locks, "noChangeAspect", "1");
    xml_node graphic = inlined.append_child("a:graphic");
    setAttr(graphic, "xmlns:a", "http://schemas.openxmlformats.org/drawingml/2006/main");
    xml_node graphicData = graphic.append_child("a:graphicData");
    setAttr(graphicData, "uri", "http://schemas.openxmlformats.org/drawingml/2006/picture");
    xml_node pic = graphicData.append_child("pic:pic");
    setAttr(pic, "xmlns:pic", "http://schemas.openxmlformats.org/drawingml/2006/picture");
    xml_node nvPicPr = pic.append_child("pic:nvPicPr");
    xml_node cNvPr = nvPicPr.append_child("pic:cNvPr");
    setAttr(cNvPr, "id", "0");
    setAttr(cNvPr, "name", file.c_str());
    setAttr(cNvPr, "descr", description.c_str());
    nvPicPr.append_child("pic:cNvPicPr");
    xml_node blipFill = pic.append_child("pic:blipFill");
    setAttr(blipFill.append_child("a:blip"), "r:embed", rel.c_str());
    blipFill.append_child("a:stretch").append_child("a:fillRect");
    xml_node spPr = pic.append_child("pic:spPr");
    xml_node xfrm = spPr.append_child("a:xfrm");
    xml_node off = xfrm.append_child("a:off");
    setAttr(off, "x", "0");
    setAttr(off, "y", "0");
    xml_node ext = xfrm.append_child("a:ext");
    setAttr(ext, "cx", cx.c_str());
    setAttr(ext, "cy", cy.c_str());
    xml_node geometry = spPr.append_child("a:prstGeom");
    setAttr(geometry, "prst", "rect");
    geometry.append_child("a:avLst");

    moveMarkersInto(slot.leadingMarkers, p);
}

void Document::endSection(const QString& bookmark, bool landscape)
{
    const xml_node bodySection = data_->body().child("w:sectPr");
    if (!bodySection)
        throw DocxError(QStringLiteral("В документе «%1» нет свойств раздела: раздел у закладки «%2» не может быть "
                                       "закончен.")
                            .arg(data_->fileName(), bookmark));
    const auto [start, end] = data_->bookmark(bookmark);
    BlockSlot slot = blockSlot(end, bookmark, data_->fileName());
    if (!is(slot.parent, "w:body"))
        throw DocxError(QStringLiteral("Закладка «%1» в документе «%2» стоит внутри таблицы или рамки: там раздел не "
                                       "может закончиться.")
                            .arg(bookmark, data_->fileName()));
    xml_node p = slot.parent.insert_child_before("w:p", slot.before);
    xml_node section = p.append_child("w:pPr").append_copy(bodySection);
    if (landscape)
        setLandscape(section);
    moveMarkersInto(slot.leadingMarkers, p);
}

void Document::setParagraphFontSize(const QString& bookmark, double points)
{
    const auto [start, end] = data_->bookmark(bookmark);
    xml_node p = end.parent();
    if (!is(p, "w:p"))
        throw DocxError(QStringLiteral("Закладка «%1» в документе «%2» стоит вне абзаца.")
                            .arg(bookmark, data_->fileName()));
    setRunSize(ensureChild(ensureProps(p, "w:pPr"), "w:rPr", schema::kParagraphProps), points);
    for (xml_node r = p.child("w:r"); r; r = r.next_sibling("w:r"))
        setRunSize(ensureProps(r, "w:rPr"), points);
}

void Document::dropEmptyParagraph(const QString& bookmark)
{
    const auto [start, end] = data_->bookmark(bookmark);
    xml_node p = end.parent();
    if (!is(p, "w:p") || p.child("w:pPr").child("w:sectPr"))
        return;
    for (xml_node n = p.first_child(); n; n = n.next_sibling())
        if (isContent(n))
            return;
    xml_node previous = previousElement(p);
    if (!is(previous, "w:p") || previous.child("w:pPr").child("w:sectPr"))
        return;
    for (xml_node n = p.first_child(); n;) {
        xml_node next = n.next_sibling();
        if (isRangeMarkup(n))
            previous.append_move(n);
        n = next;
    }
    p.parent().remove_child(p);
}

void Document::insertFragment(const QString& bookmark, const Fragment& fragment)
{
    DocumentData& source = *fragment.data_;
    std::vector<xml_node> blocks;
    for (xml_node n = source.body().first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && !is(n, "w:sectPr"))
            blocks.push_back(n);

    // Pictures, links, notes and comments live in other parts of the
    // fragment's package; copying only the text would leave dangling
    // references that make Word repair the report.
    for (xml_node block : blocks) {
        bool foreign = false;
        auto check = [&](xml_node n) {
            for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
                if (std::strncmp(a.name(), "r:", 2) == 0)
                    foreign = true;
            if (is(n, "w:footnoteReference") || is(n, "w:endnoteReference") || is(n, "w:commentReference")
                || is(n, "w:drawing") || is(n, "w:pict") || is(n, "w:object"))
                foreign = true;
        };
        check(block);
        forEachElement(block, check);
        if (foreign)
            throw DocxError(QStringLiteral("Фрагмент «%1» содержит рисунки, ссылки или примечания; "
                                           "такой фрагмент вставить в отчет нельзя.")
                                .arg(fragment.fileName()));
    }

    const auto [start, end] = data_->bookmark(bookmark);

    // Ids and names already in the report, before the copy arrives.
    BookmarkIndex& index = data_->bookmarkIndex();
    long long& maxId = index.maxId;

    BlockSlot slot = blockSlot(end, bookmark, data_->fileName());
    std::vector<xml_node> copies;
    for (xml_node block : blocks)
        copies.push_back(slot.parent.insert_copy_before(block, slot.before));

    std::map<std::string, long long> newIds;
    for (xml_node copy : copies) {
        // A section end inside the fragment would break the report's page
        // layout where the copy stands.
        std::vector<xml_node> sections;
        forEachElement(copy, [&](xml_node n) {
            if (is(n, "w:sectPr") && is(n.parent(), "w:pPr"))
                sections.push_back(n);
        });
        for (xml_node n : sections)
            n.parent().remove_child(n);

        std::vector<xml_node> all{copy};
        forEachElement(copy, [&](xml_node n) { all.push_back(n); });
        for (xml_node n : all) {
            if (pugi::xml_attribute id = n.attribute("w:id")) {
                auto [it, added] = newIds.try_emplace(id.value(), maxId + 1);
                if (added)
                    ++maxId;
                id.set_value(std::to_string(it->second).c_str());
            }
            if (is(n, "w:bookmarkStart")) {
                const std::string original = n.attribute("w:name").value();
                std::string unique = original;
                for (int k = 2; index.starts.count(unique); ++k)
                    unique = original + "_" + std::to_string(k);
                n.attribute("w:name").set_value(unique.c_str());
            }
            data_->remember(n);
        }
    }
    if (!copies.empty())
        moveMarkersInto(slot.leadingMarkers, copies.front());
}

QByteArray Document::documentXml() const
{
    data_->layOutTables();
    data_->flattenClosingParagraph();
    return data_->serialize();
}

QByteArray Document::toDocx() const
{
    Package package = data_->package;
    package.setPart("word/document.xml", documentXml());
    package.setApplication(QStringLiteral("Вельтрон"), QStringLiteral(VELTRON_VERSION));
    return package.toZip();
}

void Document::save(const QString& path) const
{
    const QByteArray bytes = toDocx();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DocxError(QStringLiteral("Не удалось сохранить отчет в файл «%1»: %2.").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw DocxError(QStringLiteral("Не удалось сохранить отчет в файл «%1»: %2.").arg(path, file.errorString()));
}

}  // namespace veltron::docx
