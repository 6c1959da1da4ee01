#include "report/docx/document_data.h"

#include "report/docx/wordml.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>

namespace veltron::docx {

using pugi::xml_node;
using namespace wml;

namespace {

struct StringWriter : pugi::xml_writer {
    QByteArray out;
    void write(const void* data, size_t size) override
    {
        out.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

bool holdsTable(xml_node node)
{
    return is(node, "w:tbl") || findFirst(node, [](xml_node n) { return is(n, "w:tbl"); });
}

// The run properties of the first run among the nodes, or of the nearest run
// before `from` in its paragraph, or of the paragraph mark.
xml_node formatSource(const std::vector<xml_node>& removed, xml_node from)
{
    for (xml_node n : removed) {
        xml_node run = is(n, "w:r") ? n : findFirst(n, [](xml_node c) { return is(c, "w:r"); });
        if (run)
            return run.child("w:rPr");
    }
    for (xml_node n = from.previous_sibling(); n; n = n.previous_sibling()) {
        if (is(n, "w:r"))
            return n.child("w:rPr");
        if (is(n, "w:hyperlink") || is(n, "w:smartTag")) {
            xml_node last;
            forEachElement(n, [&](xml_node c) {
                if (is(c, "w:r"))
                    last = c;
            });
            if (last)
                return last.child("w:rPr");
        }
    }
    return from.parent().child("w:pPr").child("w:rPr");
}

}  // namespace

DocumentData::DocumentData(Package pkg, const QString& documentKind)
    : package(std::move(pkg)), kind(documentKind)
{
    const QByteArray& bytes = package.part("word/document.xml");
    const auto result = xml.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                                        pugi::parse_default | pugi::parse_declaration
                                            | pugi::parse_ws_pcdata_single,
                                        pugi::encoding_utf8);
    if (!result)
        throw DocxError(QStringLiteral("Документ «%1» поврежден: ошибка разметки в word/document.xml (%2, позиция %3).")
                            .arg(fileName(), QString::fromUtf8(result.description()))
                            .arg(result.offset));
    if (!body())
        throw DocxError(QStringLiteral("Документ «%1» поврежден: в нем нет текста документа (w:body).")
                            .arg(fileName()));
}

QString DocumentData::fileName() const
{
    return QFileInfo(package.path()).fileName();
}

xml_node DocumentData::body() const
{
    return xml.document_element().child("w:body");
}

BookmarkIndex& DocumentData::bookmarkIndex() const
{
    if (!index_) {
        index_.emplace();
        forEachElement(xml.document_element(), [&](xml_node n) {
            if (pugi::xml_attribute id = n.attribute("w:id"))
                index_->maxId = std::max(index_->maxId, id.as_llong(-1));
        });
        forEachElement(body(), [&](xml_node n) { remember(n); });
    }
    return *index_;
}

void DocumentData::remember(xml_node marker) const
{
    if (!index_)
        return;  // built from the document when first needed
    if (is(marker, "w:bookmarkStart"))
        index_->starts.try_emplace(marker.attribute("w:name").value(), marker);
    else if (is(marker, "w:bookmarkEnd"))
        index_->ends.try_emplace(marker.attribute("w:id").value(), marker);
}

void DocumentData::forget(xml_node marker) const
{
    if (!index_)
        return;
    const auto drop = [](auto& map, const std::string& key, xml_node node) {
        const auto it = map.find(key);
        if (it != map.end() && it->second == node)
            map.erase(it);
    };
    if (is(marker, "w:bookmarkStart"))
        drop(index_->starts, marker.attribute("w:name").value(), marker);
    else if (is(marker, "w:bookmarkEnd"))
        drop(index_->ends, marker.attribute("w:id").value(), marker);
}

xml_node DocumentData::findBookmarkStart(const QString& name) const
{
    const BookmarkIndex& index = bookmarkIndex();
    const auto it = index.starts.find(name.toStdString());
    return it == index.starts.end() ? xml_node() : it->second;
}

std::pair<xml_node, xml_node> DocumentData::bookmark(const QString& name) const
{
    const xml_node start = findBookmarkStart(name);
    if (!start)
        throw DocxError(QStringLiteral("В документе «%1» нет закладки «%2».").arg(fileName(), name));
    const auto found = bookmarkIndex().ends.find(start.attribute("w:id").value());
    const xml_node end = found == bookmarkIndex().ends.end() ? xml_node() : found->second;
    if (!end)
        throw DocxError(QStringLiteral("Закладка «%1» в документе «%2» повреждена: у нее нет конца.")
                            .arg(name, fileName()));
    return {start, end};
}

QStringList DocumentData::bookmarkNames() const
{
    QStringList names;
    forEachElement(body(), [&](xml_node n) {
        if (is(n, "w:bookmarkStart"))
            names << QString::fromUtf8(n.attribute("w:name").value());
    });
    return names;
}

QString DocumentData::bookmarkText(const QString& name) const
{
    const auto [start, end] = bookmark(name);
    QString out;
    bool inside = false;
    bool done = false;
    // Recursive walk: text of w:t and m:t, tabs, breaks, and a line end after
    // each paragraph that closes inside the bookmark.
    std::function<void(xml_node)> visit = [&](xml_node n) {
        for (xml_node c = n.first_child(); c && !done; c = c.next_sibling()) {
            if (c == start)
                inside = true;
            if (c == end) {
                done = true;
                return;
            }
            if (inside) {
                if (is(c, "w:t") || is(c, "m:t"))
                    out += QString::fromUtf8(c.text().get());
                else if (is(c, "w:tab"))
                    out += QLatin1Char('\t');
                else if (is(c, "w:br") || is(c, "w:cr"))
                    out += QLatin1Char('\n');
            }
            if (!is(c, "w:t") && !is(c, "m:t"))
                visit(c);
            if (inside && !done && is(c, "w:p"))
                out += QLatin1Char('\n');
        }
    };
    visit(body());
    return out;
}

namespace {

// Brings both ends of a bookmark into paragraphs: a marker that stands
// between paragraphs moves into the paragraph next to it.
void normalizeBookmark(xml_node& start, xml_node& end, const QString& name, const QString& file)
{
    auto unsupported = [&]() {
        return DocxError(QStringLiteral("Закладка «%1» в документе «%2» стоит там, где текст заменить нельзя.")
                             .arg(name, file));
    };
    if (!is(start.parent(), "w:p") && !is(end.parent(), "w:p")) {
        if (!isBlockContainer(start.parent()) || start.parent() != end.parent())
            throw unsupported();
        if (nextElement(start) == end) {
            xml_node p = start.parent().insert_child_before("w:p", start);
            p.append_move(start);
            p.append_move(end);
            return;
        }
    }
    if (!is(start.parent(), "w:p")) {
        if (!isBlockContainer(start.parent()))
            throw unsupported();
        xml_node next = nextElement(start);
        while (next && isRangeMarkup(next) && next != end)
            next = nextElement(next);
        if (!is(next, "w:p"))
            throw unsupported();
        xml_node props = next.child("w:pPr");
        if (props)
            next.insert_move_after(start, props);
        else
            next.prepend_move(start);
    }
    if (!is(end.parent(), "w:p")) {
        if (!isBlockContainer(end.parent()))
            throw unsupported();
        xml_node previous = previousElement(end);
        while (previous && isRangeMarkup(previous))
            previous = previousElement(previous);
        if (!is(previous, "w:p"))
            throw unsupported();
        previous.append_move(end);
    }
    xml_node first = start.parent();
    xml_node last = end.parent();
    if (first == last) {
        for (xml_node n = start; n; n = n.next_sibling())
            if (n == end)
                return;
        throw unsupported();
    }
    if (first.parent() != last.parent())
        throw unsupported();
    for (xml_node n = first; n; n = n.next_sibling())
        if (n == last)
            return;
    throw unsupported();
}

}  // namespace

void DocumentData::setBookmarkText(const QString& name, const QString& text)
{
    auto [start, end] = bookmark(name);
    normalizeBookmark(start, end, name, fileName());
    xml_node first = start.parent();
    xml_node last = end.parent();

    std::vector<xml_node> removed;
    if (first == last) {
        for (xml_node n = start.next_sibling(); n != end; n = n.next_sibling())
            removed.push_back(n);
    } else {
        for (xml_node n = start.next_sibling(); n; n = n.next_sibling())
            removed.push_back(n);
        for (xml_node n = first.next_sibling(); n != last; n = n.next_sibling())
            removed.push_back(n);
        for (xml_node n = last.first_child(); n != end; n = n.next_sibling())
            if (!is(n, "w:pPr"))
                removed.push_back(n);
    }
    for (xml_node n : removed)
        if (holdsTable(n))
            throw DocxError(QStringLiteral("Закладка «%1» в документе «%2» охватывает таблицу, ее текст заменить нельзя.")
                                .arg(name, fileName()));

    // Bookmarks wholly inside the replaced range go with it; a marker whose
    // partner lies outside is kept next to the new text.
    std::map<std::string, int> seen;
    std::vector<xml_node> markers;
    for (xml_node n : removed) {
        auto note = [&](xml_node c) {
            if (is(c, "w:bookmarkStart") || is(c, "w:bookmarkEnd")) {
                seen[c.attribute("w:id").value()] += 1;
                markers.push_back(c);
            }
        };
        note(n);
        forEachElement(n, note);
    }
    pugi::xml_document keep;
    for (xml_node m : markers)
        if (seen[m.attribute("w:id").value()] == 1)
            keep.append_copy(m);

    pugi::xml_document format;
    if (xml_node props = formatSource(removed, start))
        format.append_copy(props);

    for (xml_node m : markers)
        forget(m);
    for (xml_node n : removed)
        n.parent().remove_child(n);

    xml_node anchor = start;
    for (xml_node m : keep.children())
        if (is(m, "w:bookmarkEnd")) {
            anchor = anchor.parent().insert_copy_after(m, anchor);
            remember(anchor);
        }
    if (!text.isEmpty()) {
        xml_node run = anchor.parent().insert_child_after("w:r", anchor);
        if (xml_node props = format.first_child())
            run.append_copy(props);
        cleanRunProps(run.child("w:rPr"));
        writeRunText(run, text);
        anchor = run;
    }
    for (xml_node m : keep.children())
        if (is(m, "w:bookmarkStart")) {
            anchor = anchor.parent().insert_copy_after(m, anchor);
            remember(anchor);
        }

    if (first != last) {
        // The two paragraphs become one; the second keeps its paragraph
        // properties, which may close the section.
        xml_node before = end;
        for (xml_node n = first.first_child(); n;) {
            xml_node next = n.next_sibling();
            if (!is(n, "w:pPr"))
                last.insert_move_before(n, before);
            n = next;
        }
        first.parent().remove_child(first);
    }
}

xml_node DocumentData::firstTable() const
{
    return findFirst(body(), [](xml_node n) { return is(n, "w:tbl"); });
}

xml_node DocumentData::cell(xml_node table, int row, int column, const QString& tableName) const
{
    xml_node tr;
    int r = 0;
    for (xml_node n = table.child("w:tr"); n; n = n.next_sibling("w:tr"))
        if (++r == row) {
            tr = n;
            break;
        }
    xml_node tc;
    int c = 0;
    if (tr)
        for (xml_node n = tr.child("w:tc"); n; n = n.next_sibling("w:tc"))
            if (++c == column) {
                tc = n;
                break;
            }
    if (!tc)
        throw DocxError(QStringLiteral("В %1 нет ячейки (%2, %3).").arg(tableName).arg(row).arg(column));
    return tc;
}

void DocumentData::appendToCell(xml_node tc, const QString& text)
{
    xml_node p = tc.last_child();
    while (p && !is(p, "w:p"))
        p = p.previous_sibling();
    if (!p)
        p = tc.append_child("w:p");
    if (text.isEmpty())
        return;
    xml_node props;
    for (xml_node n = p.last_child(); n && !props; n = n.previous_sibling())
        if (is(n, "w:r"))
            props = n.child("w:rPr");
    if (!props)
        props = p.child("w:pPr").child("w:rPr");
    xml_node run = p.append_child("w:r");
    if (props)
        run.append_copy(props);
    cleanRunProps(run.child("w:rPr"));
    writeRunText(run, text);
}

QByteArray DocumentData::serialize() const
{
    StringWriter writer;
    xml.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.out;
}

void writeRunText(xml_node run, const QString& text)
{
    QString pending;
    auto flush = [&]() {
        if (pending.isEmpty())
            return;
        xml_node t = run.append_child("w:t");
        t.append_attribute("xml:space") = "preserve";
        t.text().set(pending.toUtf8().constData());
        pending.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        const char16_t u = ch.unicode();
        if (u == '\t') {
            flush();
            run.append_child("w:tab");
        } else if (u == '\n' || u == '\r') {
            flush();
            run.append_child("w:br");
            if (u == '\r' && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (ch.isHighSurrogate()) {
            if (i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                pending += ch;
                pending += text.at(++i);
            }
        } else if (u < 0x20 || ch.isLowSurrogate() || u == 0xFFFE || u == 0xFFFF) {
            // not representable in XML 1.0
        } else {
            pending += ch;
        }
    }
    flush();
}

}  // namespace veltron::docx
