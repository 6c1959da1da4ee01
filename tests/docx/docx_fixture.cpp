#include "docx/docx_fixture.h"

#include "report/docx/package.h"
#include "report/docx/wordml_schema.h"

#include <QFile>
#include <QProcessEnvironment>

#include <map>
#include <set>
#include <stdexcept>

namespace veltron::test {

namespace {

const char* const kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(</Types>)";

const char* const kRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

}  // namespace

QString writeDocx(const QString& path, const QString& bodyXml, const QByteArray& stylesXml)
{
    const QString document =
        QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                       R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
                       R"(<w:body>%1<w:sectPr><w:pgSz w:w="11906" w:h="16838"/>)"
                       R"(<w:pgMar w:top="1134" w:right="850" w:bottom="1134" w:left="1701" w:header="708" w:footer="708" w:gutter="0"/>)"
                       R"(</w:sectPr></w:body></w:document>)")
            .arg(bodyXml);
    docx::Package package;
    package.setPart("[Content_Types].xml", kContentTypes);
    package.setPart("_rels/.rels", kRels);
    package.setPart("word/document.xml", document.toUtf8());
    if (!stylesXml.isEmpty()) {
        QByteArray types = kContentTypes;
        types.replace("</Types>", R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/></Types>)");
        package.setPart("[Content_Types].xml", types);
        package.setPart("word/_rels/document.xml.rels",
                        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
                        R"(</Relationships>)");
        package.setPart("word/styles.xml", stylesXml);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(package.toZip()) < 0)
        throw std::runtime_error("cannot write the test document");
    return path;
}

QByteArray documentPart(const QString& docxPath)
{
    return docx::Package::read(docxPath, QStringLiteral("документ")).part("word/document.xml");
}

std::unique_ptr<pugi::xml_document> parseXml(const QByteArray& xml)
{
    auto doc = std::make_unique<pugi::xml_document>();
    if (!doc->load_buffer(xml.constData(), static_cast<size_t>(xml.size()),
                          pugi::parse_default | pugi::parse_ws_pcdata_single))
        throw std::runtime_error("document.xml is not well-formed");
    return doc;
}

QStringList soundnessProblems(const QByteArray& documentXml)
{
    QStringList problems;
    auto doc = parseXml(documentXml);
    for (const std::string& p : docx::schema::structureProblems(*doc))
        problems << QString::fromStdString(p);

    std::map<std::string, int> starts;
    std::map<std::string, int> ends;
    std::set<std::string> names;
    for (const auto& found : doc->select_nodes("//w:bookmarkStart")) {
        const pugi::xml_node n = found.node();
        if (++starts[n.attribute("w:id").value()] > 1)
            problems << QStringLiteral("bookmark id %1 twice").arg(n.attribute("w:id").value());
        if (!names.insert(n.attribute("w:name").value()).second)
            problems << QStringLiteral("bookmark name %1 twice").arg(n.attribute("w:name").value());
    }
    for (const auto& found : doc->select_nodes("//w:bookmarkEnd"))
        ++ends[found.node().attribute("w:id").value()];
    if (starts != ends)
        problems << QStringLiteral("bookmark starts and ends do not pair");
    for (const auto& found : doc->select_nodes("//w:t")) {
        const QString text = QString::fromUtf8(found.node().text().get());
        if ((text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' ')))
            && QByteArray(found.node().attribute("xml:space").value()) != "preserve")
            problems << QStringLiteral("w:t with outer spaces but no xml:space");
    }
    if (doc->select_nodes("//w:body/w:sectPr").size() != 1)
        problems << QStringLiteral("the body must end with one w:sectPr");
    // Section breaks only as the pair that puts a wide table on landscape
    // pages: one before it, one right after it; or one before a table that
    // ends the document, whose last section is then landscape.
    const auto breaks = doc->select_nodes("//w:pPr/w:sectPr");
    const auto landscapeEnds = doc->select_nodes("//w:tbl/following-sibling::w:p[1]/w:pPr/w:sectPr[w:pgSz/@w:orient='landscape']");
    const bool lastLandscape = doc->select_node("//w:body/w:sectPr[w:pgSz/@w:orient='landscape']");
    // A document whose own pages are all landscape has no break at all.
    if (breaks.size() != 2 * landscapeEnds.size() + (lastLandscape && !breaks.empty() ? 1 : 0))
        problems << QStringLiteral("a section break crept into the body");
    return problems;
}

QStringList paragraphTexts(const QByteArray& documentXml)
{
    QStringList texts;
    auto doc = parseXml(documentXml);
    for (const auto& found : doc->select_nodes("//w:p")) {
        QString text;
        for (const auto& t : found.node().select_nodes(".//w:t|.//w:br"))
            text += QByteArray(t.node().name()) == "w:br" ? QStringLiteral("\n")
                                                          : QString::fromUtf8(t.node().text().get());
        texts << text;
    }
    return texts;
}

QStringList tablesThatBreakBadly(const QByteArray& documentXml)
{
    QStringList bad;
    auto doc = parseXml(documentXml);
    for (const auto& found : doc->select_nodes("//w:tbl")) {
        const pugi::xml_node tbl = found.node();
        const pugi::xml_node first = tbl.child("w:tr");
        bool whole = true;
        for (pugi::xml_node tr = first; tr; tr = tr.next_sibling("w:tr"))
            whole = whole && tr.child("w:trPr").child("w:cantSplit");
        if (whole && first.child("w:trPr").child("w:tblHeader"))
            continue;
        QString text;
        for (const auto& t : first.select_nodes(".//w:t"))
            text += QString::fromUtf8(t.node().text().get());
        bad << text.left(60);
    }
    return bad;
}

QString templatesDir()
{
    const QString dir = qEnvironmentVariable("VELTRON_TEMPLATES");
    return dir.isEmpty() ? QStringLiteral(VELTRON_BUILD_TEMPLATES) : dir;
}

}  // namespace veltron::test

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace veltron::test {

QString officeProgram()
{
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

namespace {

// One conversion in a profile of its own; returns what LibreOffice said.
QString convertOnce(const QString& docxPath, const QString& outDir)
{
    QTemporaryDir home;
    QProcess office;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    office.setProcessEnvironment(env);
    office.start(officeProgram(),
                 {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                  QStringLiteral("-env:UserInstallation=file://") + home.path() + QStringLiteral("/profile"),
                  QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), outDir,
                  docxPath});
    if (!office.waitForFinished(180000)) {
        office.kill();
        office.waitForFinished();
        throw std::runtime_error("LibreOffice did not finish");
    }
    return QString::fromLocal8Bit(office.readAllStandardError() + office.readAllStandardOutput());
}

}  // namespace

QString convertToPdf(const QString& docxPath, const QString& outDir)
{
    const QString pdf = QDir(outDir).filePath(QFileInfo(docxPath).completeBaseName() + QStringLiteral(".pdf"));
    // A fresh profile under a loaded machine now and then aborts LibreOffice
    // at its first start before it reads the document; a second start of the
    // same conversion then succeeds. A document it cannot read fails every time.
    QString said;
    for (int attempt = 0; attempt < 3 && !QFileInfo::exists(pdf); ++attempt)
        said = convertOnce(docxPath, outDir);
    if (!QFileInfo::exists(pdf))
        throw std::runtime_error("LibreOffice made no PDF: " + said.toStdString());
    return pdf;
}

void keep(const QString& path)
{
    const QString dir = qEnvironmentVariable("VELTRON_DOCX_KEEP");
    if (dir.isEmpty())
        return;
    const QString target = QDir(dir).filePath(QFileInfo(path).fileName());
    QFile::remove(target);
    QFile::copy(path, target);
}

QString pdfText(const QString& pdfPath)
{
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath, QStringLiteral("-")});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        throw std::runtime_error("pdftotext failed");
    return QString::fromUtf8(reader.readAllStandardOutput());
}

int pdfImageCount(const QString& pdfPath)
{
    QProcess lister;
    lister.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdfPath});
    if (!lister.waitForFinished(60000) || lister.exitCode() != 0)
        throw std::runtime_error("pdfimages failed");
    // Two lines of heading, then one line an image.
    return int(QString::fromUtf8(lister.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts).size()) - 2;
}

QStringList notWhole(const QString& pdfText, const QStringList& values)
{
    const QStringList words = pdfText.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const QSet<QString> present(words.begin(), words.end());
    QStringList missing;
    for (const QString& value : values)
        for (const QString& word : value.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (!present.contains(word)) {
                missing << value;
                break;
            }
    return missing;
}

}  // namespace veltron::test
