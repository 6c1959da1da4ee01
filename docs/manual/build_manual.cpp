// Builds the user manual from one source, manual.html: a Word document made
// with the report builder on the template packed from template/, and an HTML
// page, both with numbered sections and pictures, a table of contents and
// the pictures of images/.
//
//   veltron_build_manual SOURCE.html TEMPLATE.docx OUT_DIR NAME
//
// writes OUT_DIR/NAME.docx, OUT_DIR/NAME.html and OUT_DIR/images/*.png.
//
// The source is well-formed XHTML whose body holds, in this order, one h1,
// paragraphs, the place of the contents (<nav id="contents"/>) and then
// sections: h2, h3, p, ul, ol, pre, table (th in its first row) and figure
// (one img and its figcaption). Inside a paragraph, a list item or a cell
// only inline markup may stand (b, i, em, strong, code, a, span, kbd); the
// Word document gets its text. Anything else stops the build with its name,
// so that no part of the text is silently left out of one of the two.
// Every "@VERSION@" of the source becomes the program's version.

#include "report/docx/document.h"

#include <pugixml.hpp>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>

namespace {

using pugi::xml_node;

struct Failure {
    QString text;
};

[[noreturn]] void fail(const QString& text)
{
    throw Failure{text};
}

bool is(xml_node n, std::string_view name)
{
    return n.type() == pugi::node_element && name == n.name();
}

// Text as a reader sees it: runs of white space become one space.
QString collapsed(const QString& text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return QString(text).replace(space, QStringLiteral(" "));
}

// The text of a paragraph, list item, cell or caption.
QString inlineText(xml_node node)
{
    static const std::set<std::string_view> inlineElements = {"b", "i", "em", "strong", "code", "a", "span", "kbd"};
    QString text;
    for (xml_node n = node.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            text += QString::fromUtf8(n.value());
        else if (n.type() == pugi::node_element) {
            if (!inlineElements.count(n.name()))
                fail(QStringLiteral("<%1> inside <%2> is not inline markup").arg(n.name(), node.name()));
            text += inlineText(n);
        }
    }
    return collapsed(text);
}

QString trimmedText(xml_node node)
{
    return inlineText(node).trimmed();
}

// The lines of a <pre>, without the first line break and the indentation
// they share.
QString preformatted(xml_node pre)
{
    QString text = QString::fromUtf8(pre.text().get());
    if (text.startsWith(QLatin1Char('\n')))
        text.remove(0, 1);
    QStringList lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    int indent = 1000;
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty())
            indent = std::min(indent, static_cast<int>(line.size() - QString(line).remove(QRegularExpression("^ +")).size()));
    for (QString& line : lines)
        line = line.mid(indent);
    return lines.join(QLatin1Char('\n'));
}

// The picture with a thin grey frame, so that a white page of a report
// stands apart from the page of the manual.
QByteArray framed(QImage image)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(150, 150, 150), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, image.width() - 2, image.height() - 2));
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

struct Picture {
    QString file;  // path of the PNG
    QSize pixels;
};

// Both outputs are written from one walk of the source.
class ManualBuilder {
public:
    ManualBuilder(const QString& sourcePath, pugi::xml_document& html, veltron::docx::Document& docx)
        : sourceDir_(QFileInfo(sourcePath).absolutePath()), html_(html), docx_(docx)
    {
    }

    void build()
    {
        xml_node body = html_.child("html").child("body");
        if (!body)
            fail(QStringLiteral("no <html><body>"));
        numberSections(body);
        for (xml_node n = body.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element)
                continue;
            block(n);
        }
    }

    const std::map<QString, Picture>& pictures() const { return pictures_; }

private:
    static constexpr const char* kPlace = "Begin";
    // Screen pixels (at 96 to the inch) are laid out at 120 to the inch, so
    // that the text of a screen prints at about 7 pt, up to the width of the
    // text. A wider screen gets a landscape page of its own with its caption.
    static constexpr double kMmPerPixel = 25.4 / 120;
    static constexpr double kTextWidthMm = 165;
    static constexpr int kWidestPortraitPixels = 1000;
    static constexpr double kLandscapeWidthMm = 250;
    static constexpr double kLandscapeHeightMm = 150;

    // Numbers h2 ("1. …") and h3 ("1.2. …") and gives them ids; the contents
    // are built from them.
    void numberSections(xml_node body)
    {
        int chapter = 0;
        int section = 0;
        for (xml_node n = body.first_child(); n; n = n.next_sibling()) {
            if (is(n, "h2")) {
                ++chapter;
                section = 0;
                const QString number = QStringLiteral("%1.").arg(chapter);
                contents_.push_back({QStringLiteral("s%1").arg(chapter), number + QLatin1Char(' ') + trimmedText(n)});
                prependNumber(n, number, QStringLiteral("s%1").arg(chapter));
            } else if (is(n, "h3")) {
                if (chapter == 0)
                    fail(QStringLiteral("<h3> «%1» before the first <h2>").arg(trimmedText(n)));
                ++section;
                prependNumber(n, QStringLiteral("%1.%2.").arg(chapter).arg(section),
                              QStringLiteral("s%1-%2").arg(chapter).arg(section));
            }
        }
    }

    static void prependNumber(xml_node heading, const QString& number, const QString& id)
    {
        heading.prepend_child(pugi::node_pcdata).set_value((number + QLatin1Char(' ')).toUtf8().constData());
        heading.append_attribute("id") = id.toUtf8().constData();
    }

    void paragraph(const QString& text, const QString& style)
    {
        docx_.appendStyledParagraph(QString::fromLatin1(kPlace), text, style);
    }

    void block(xml_node n)
    {
        const std::string_view name = n.name();
        if (name != "figure")
            landscapeJustEnded_ = false;
        if (name == "h1") {
            paragraph(trimmedText(n), QStringLiteral("Title"));
        } else if (name == "h2") {
            paragraph(trimmedText(n), QStringLiteral("Heading1"));
        } else if (name == "h3") {
            paragraph(trimmedText(n), QStringLiteral("Heading2"));
        } else if (name == "h4") {
            paragraph(trimmedText(n), QStringLiteral("Heading3"));
        } else if (name == "p") {
            const QString kind = QString::fromUtf8(n.attribute("class").value());
            paragraph(trimmedText(n), kind == QLatin1String("subtitle") ? QStringLiteral("Subtitle")
                                                                          : QStringLiteral("BodyText"));
        } else if (name == "ul" || name == "ol") {
            list(n, name == "ol");
        } else if (name == "pre") {
            paragraph(preformatted(n), QStringLiteral("Code"));
        } else if (name == "table") {
            table(n);
        } else if (name == "figure") {
            figure(n);
        } else if (name == "nav" && QLatin1String(n.attribute("id").value()) == QLatin1String("contents")) {
            contents(n);
        } else {
            fail(QStringLiteral("<%1> is not a block the manual knows").arg(QString::fromUtf8(n.name())));
        }
    }

    void list(xml_node n, bool numbered)
    {
        int number = 0;
        for (xml_node li = n.first_child(); li; li = li.next_sibling()) {
            if (li.type() != pugi::node_element)
                continue;
            if (!is(li, "li"))
                fail(QStringLiteral("<%1> in a list").arg(li.name()));
            const QString mark = numbered ? QStringLiteral("%1)").arg(++number) : QStringLiteral("–");
            paragraph(mark + QLatin1Char('\t') + trimmedText(li), QStringLiteral("ListBullet"));
        }
    }

    void table(xml_node n)
    {
        std::vector<std::vector<QString>> rows;
        bool heading = false;
        for (xml_node tr = n.first_child(); tr; tr = tr.next_sibling()) {
            if (tr.type() != pugi::node_element)
                continue;
            if (!is(tr, "tr"))
                fail(QStringLiteral("<%1> in a table: write the rows as <tr> straight in <table>").arg(tr.name()));
            std::vector<QString> cells;
            for (xml_node cell = tr.first_child(); cell; cell = cell.next_sibling()) {
                if (cell.type() != pugi::node_element)
                    continue;
                if (!is(cell, "td") && !is(cell, "th"))
                    fail(QStringLiteral("<%1> in a table row").arg(cell.name()));
                if (rows.empty() && is(cell, "th"))
                    heading = true;
                cells.push_back(trimmedText(cell));
            }
            if (!rows.empty() && cells.size() != rows.front().size())
                fail(QStringLiteral("a table row with %1 cells instead of %2").arg(cells.size()).arg(rows.front().size()));
            rows.push_back(std::move(cells));
        }
        if (rows.empty() || rows.front().empty())
            fail(QStringLiteral("an empty table"));
        veltron::docx::Table t = docx_.addTable(QString::fromLatin1(kPlace), static_cast<int>(rows.size()),
                                                static_cast<int>(rows.front().size()), veltron::docx::TableFormat{10});
        if (heading)
            t.markHeadingRow();
        t.keepRowsWhole();
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                t.fillCell(static_cast<int>(r + 1), static_cast<int>(c + 1), rows[r][c]);
        // The paragraph after a table keeps it apart from what follows.
        paragraph(QString(), QStringLiteral("Normal"));
    }

    void figure(xml_node n)
    {
        xml_node img = n.child("img");
        xml_node caption = n.child("figcaption");
        if (!img || !caption)
            fail(QStringLiteral("a <figure> needs an <img> and a <figcaption>"));
        const QString src = QString::fromUtf8(img.attribute("src").value());
        if (!src.startsWith(QLatin1String("images/")) || !src.endsWith(QLatin1String(".png")))
            fail(QStringLiteral("picture «%1»: the manual's pictures are images/*.png").arg(src));
        const QString path = QDir(sourceDir_).filePath(src);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("picture «%1» is missing").arg(path));
        const QByteArray png = file.readAll();
        const QImage image = QImage::fromData(png, "PNG");
        if (image.isNull())
            fail(QStringLiteral("picture «%1» is not a PNG image").arg(path));
        pictures_[src] = {path, image.size()};

        const QString text = QStringLiteral("Рисунок %1 — %2").arg(++figures_).arg(trimmedText(caption));
        caption.remove_children();
        caption.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
        // Screen pictures say their pixel density: twice the screen's for sharp print.
        const double density = std::max(1.0, std::round(image.dotsPerMeterX() / (96 / 0.0254)));
        const QSize screen(qRound(image.width() / density), qRound(image.height() / density));
        img.remove_attribute("width");
        img.remove_attribute("height");
        img.append_attribute("width") = screen.width();
        img.append_attribute("height") = screen.height();

        const bool landscape = screen.width() > kWidestPortraitPixels;
        double width = screen.width() * kMmPerPixel;
        double height = screen.height() * kMmPerPixel;
        auto fit = [&](double maxWidth, double maxHeight) {
            const double scale = std::min({1.0, maxWidth / width, maxHeight / height});
            width *= scale;
            height *= scale;
        };
        if (landscape) {
            width = kLandscapeWidthMm;
            height = kLandscapeWidthMm * screen.height() / screen.width();
            fit(kLandscapeWidthMm, kLandscapeHeightMm);
            if (!landscapeJustEnded_)
                docx_.endSection(QString::fromLatin1(kPlace), false);
        } else {
            fit(kTextWidthMm, 1000);
        }
        veltron::docx::PictureFormat format;
        format.widthMm = width;
        format.heightMm = height;
        format.description = QString::fromUtf8(img.attribute("alt").value());
        docx_.addPicture(QString::fromLatin1(kPlace), framed(image), format);
        paragraph(text, QStringLiteral("Caption"));
        if (landscape)
            docx_.endSection(QString::fromLatin1(kPlace), true);
        landscapeJustEnded_ = landscape;
    }

    // The list of chapters: links in the page, lines in the document.
    void contents(xml_node nav)
    {
        paragraph(QStringLiteral("Содержание"), QStringLiteral("Heading3"));
        nav.remove_children();
        xml_node title = nav.append_child("p");
        title.append_attribute("class") = "contents-title";
        title.append_child(pugi::node_pcdata).set_value("Содержание");
        xml_node ul = nav.append_child("ul");
        for (const auto& [id, text] : contents_) {
            xml_node a = ul.append_child("li").append_child("a");
            a.append_attribute("href") = ("#" + id).toUtf8().constData();
            a.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
            paragraph(text, QStringLiteral("Contents"));
        }
    }

    QString sourceDir_;
    pugi::xml_document& html_;
    veltron::docx::Document& docx_;
    std::vector<std::pair<QString, QString>> contents_;
    std::map<QString, Picture> pictures_;
    int figures_ = 0;
    // The last block ended a landscape section: the next landscape picture
    // needs no portrait section end before it.
    bool landscapeJustEnded_ = false;
};

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail(QStringLiteral("cannot write %1").arg(path));
}

void run(const QString& sourcePath, const QString& templatePath, const QString& outDir, const QString& name)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(sourcePath));
    const QByteArray text = source.readAll().replace("@VERSION@", VELTRON_VERSION);
    pugi::xml_document html;
    const auto parsed = html.load_buffer(text.constData(), static_cast<size_t>(text.size()),
                                         pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_doctype);
    if (!parsed)
        fail(QStringLiteral("%1: XML error at offset %2: %3")
                 .arg(sourcePath)
                 .arg(parsed.offset)
                 .arg(QString::fromUtf8(parsed.description())));

    veltron::docx::Document docx = veltron::docx::Document::open(templatePath);
    ManualBuilder builder(sourcePath, html, docx);
    builder.build();

    QDir().mkpath(QDir(outDir).filePath(QStringLiteral("images")));
    for (const auto& [src, picture] : builder.pictures()) {
        QFile in(picture.file);
        if (!in.open(QIODevice::ReadOnly))
            fail(QStringLiteral("cannot read %1").arg(picture.file));
        writeFile(QDir(outDir).filePath(src), in.readAll());
    }
    docx.save(QDir(outDir).filePath(name + QStringLiteral(".docx")));
    StringWriter page;
    html.save(page, "", pugi::format_raw | pugi::format_no_empty_element_tags | pugi::format_no_declaration,
              pugi::encoding_utf8);
    writeFile(QDir(outDir).filePath(name + QStringLiteral(".html")), QByteArray::fromStdString(page.out));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: veltron_build_manual SOURCE.html TEMPLATE.docx OUT_DIR NAME\n");
        return 2;
    }
    try {
        run(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
            QString::fromLocal8Bit(argv[4]));
    } catch (const Failure& f) {
        std::fprintf(stderr, "manual: %s\n", qPrintable(f.text));
        return 1;
    } catch (const veltron::docx::DocxError& e) {
        std::fprintf(stderr, "manual: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
