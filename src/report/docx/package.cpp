#include "report/docx/package.h"

#include "report/docx/docx_error.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <pugixml.hpp>
#include <zip.h>

#include <ctime>
#include <memory>

namespace veltron::docx {

namespace {

QString zipMessage(zip_error_t* error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

// 1 January 2001, noon, local time: the time stamp of every written part.
// A part of the package as XML; an empty document when the part is missing.
pugi::xml_document parsedPart(const Package& package, const std::string& name)
{
    pugi::xml_document doc;
    const QByteArray& bytes = package.part(name);
    if (!bytes.isEmpty()
        && !doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                            pugi::parse_default | pugi::parse_declaration, pugi::encoding_utf8))
        throw DocxError(QStringLiteral("Документ «%1» поврежден: ошибка разметки в %2.")
                            .arg(QFileInfo(package.path()).fileName(), QString::fromStdString(name)));
    return doc;
}

QByteArray serialized(const pugi::xml_document& doc)
{
    struct Writer : pugi::xml_writer {
        QByteArray out;
        void write(const void* data, size_t size) override
        {
            out.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
        }
    } writer;
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.out;
}

// The root element `name`, with the XML declaration, when the document has none.
pugi::xml_node ensureRoot(pugi::xml_document& doc, const char* name, const char* ns)
{
    if (pugi::xml_node root = doc.child(name))
        return root;
    pugi::xml_node declaration = doc.prepend_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    declaration.append_attribute("standalone") = "yes";
    pugi::xml_node root = doc.append_child(name);
    root.append_attribute("xmlns") = ns;
    return root;
}

// Appends a relationship under the first free id "rIdN" and returns that id.
std::string appendRelationship(pugi::xml_document& doc, const std::string& type, const std::string& target)
{
    pugi::xml_node root =
        ensureRoot(doc, "Relationships", "http://schemas.openxmlformats.org/package/2006/relationships");
    std::string id;
    for (int n = 1; id.empty(); ++n) {
        const std::string candidate = "rId" + std::to_string(n);
        if (!root.find_child_by_attribute("Relationship", "Id", candidate.c_str()))
            id = candidate;
    }
    pugi::xml_node rel = root.append_child("Relationship");
    rel.append_attribute("Id") = id.c_str();
    rel.append_attribute("Type") = type.c_str();
    rel.append_attribute("Target") = target.c_str();
    return id;
}

time_t fixedStamp()
{
    std::tm stamp{};
    stamp.tm_year = 101;
    stamp.tm_mday = 1;
    stamp.tm_hour = 12;
    stamp.tm_isdst = -1;
    return std::mktime(&stamp);
}

}  // namespace

Package Package::read(const QString& path, const QString& what)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw DocxError(QStringLiteral("Не найден %1 отчета «%2» (%3).").arg(what, name, path));
    if (!file.open(QIODevice::ReadOnly))
        throw DocxError(QStringLiteral("Не удалось открыть %1 отчета «%2»: %3.")
                            .arg(what, path, file.errorString()));
    const QByteArray bytes = file.readAll();

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        const QString why = zipMessage(&error);
        if (source)
            zip_source_free(source);
        zip_error_fini(&error);
        throw DocxError(QStringLiteral("%1 «%2» не является документом .docx: %3.")
                            .arg(what.left(1).toUpper() + what.mid(1), name, why));
    }
    zip_error_fini(&error);
    std::unique_ptr<zip_t, decltype(&zip_discard)> guard(archive, &zip_discard);

    Package package;
    package.path_ = path;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0)
            continue;
        const std::string entry = stat.name;
        if (!entry.empty() && entry.back() == '/')
            continue;
        QByteArray data;
        data.resize(static_cast<qsizetype>(stat.size));
        zip_file_t* part = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        const zip_int64_t got = part ? zip_fread(part, data.data(), stat.size) : -1;
        if (part)
            zip_fclose(part);
        if (got != static_cast<zip_int64_t>(stat.size))
            throw DocxError(QStringLiteral("%1 «%2» поврежден: не читается часть %3.")
                                .arg(what.left(1).toUpper() + what.mid(1), name,
                                     QString::fromStdString(entry)));
        package.parts_.emplace_back(entry, data);
    }
    if (!package.has("word/document.xml"))
        throw DocxError(QStringLiteral("%1 «%2» не является документом Word: в нем нет word/document.xml.")
                            .arg(what.left(1).toUpper() + what.mid(1), name));
    return package;
}

bool Package::has(const std::string& name) const
{
    for (const auto& [entry, data] : parts_)
        if (entry == name)
            return true;
    return false;
}

const QByteArray& Package::part(const std::string& name) const
{
    for (const auto& [entry, data] : parts_)
        if (entry == name)
            return data;
    static const QByteArray none;
    return none;
}

void Package::setPart(const std::string& name, const QByteArray& data)
{
    for (auto& [entry, bytes] : parts_)
        if (entry == name) {
            bytes = data;
            return;
        }
    parts_.emplace_back(name, data);
}

std::string Package::addDocumentRelationship(const std::string& type, const std::string& target)
{
    const std::string name = "word/_rels/document.xml.rels";
    pugi::xml_document doc = parsedPart(*this, name);
    const std::string id = appendRelationship(doc, type, target);
    setPart(name, serialized(doc));
    return id;
}

void Package::ensureDefaultContentType(const std::string& extension, const std::string& contentType)
{
    const std::string name = "[Content_Types].xml";
    pugi::xml_document doc = parsedPart(*this, name);
    pugi::xml_node root = ensureRoot(doc, "Types", "http://schemas.openxmlformats.org/package/2006/content-types");
    for (pugi::xml_node d = root.child("Default"); d; d = d.next_sibling("Default"))
        if (QString::fromUtf8(d.attribute("Extension").value()).compare(QString::fromStdString(extension),
                                                                        Qt::CaseInsensitive)
            == 0)
            return;
    // Defaults stand before the overrides.
    pugi::xml_node before = root.child("Override");
    pugi::xml_node d = before ? root.insert_child_before("Default", before) : root.append_child("Default");
    d.append_attribute("Extension") = extension.c_str();
    d.append_attribute("ContentType") = contentType.c_str();
    setPart(name, serialized(doc));
}

void Package::setApplication(const QString& name, const QString& version)
{
    const std::string part = "docProps/app.xml";
    if (!has(part)) {
        pugi::xml_document rels = parsedPart(*this, "_rels/.rels");
        appendRelationship(rels, "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties",
                           part);
        setPart("_rels/.rels", serialized(rels));

        pugi::xml_document types = parsedPart(*this, "[Content_Types].xml");
        pugi::xml_node typesRoot =
            ensureRoot(types, "Types", "http://schemas.openxmlformats.org/package/2006/content-types");
        pugi::xml_node o = typesRoot.append_child("Override");
        o.append_attribute("PartName") = ("/" + part).c_str();
        o.append_attribute("ContentType") = "application/vnd.openxmlformats-officedocument.extended-properties+xml";
        setPart("[Content_Types].xml", serialized(types));
    }
    const QStringList numbers = version.split(QLatin1Char('.'));
    const QString appVersion = QStringLiteral("%1.%2")
                                   .arg(numbers.value(0).toInt(), 2, 10, QLatin1Char('0'))
                                   .arg(numbers.value(1).toInt(), 4, 10, QLatin1Char('0'));
    pugi::xml_document app;
    pugi::xml_node props =
        ensureRoot(app, "Properties", "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties");
    props.append_child("Application").text().set(name.toUtf8().constData());
    props.append_child("AppVersion").text().set(appVersion.toUtf8().constData());
    setPart(part, serialized(app));
}

QByteArray Package::toZip() const
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    if (!archive) {
        const QString why = zipMessage(&error);
        if (buffer)
            zip_source_free(buffer);
        zip_error_fini(&error);
        throw DocxError(QStringLiteral("Не удалось собрать документ .docx: %1.").arg(why));
    }
    zip_error_fini(&error);
    zip_source_keep(buffer);
    auto failWith = [&](const QString& why) {
        zip_discard(archive);
        zip_source_free(buffer);
        throw DocxError(QStringLiteral("Не удалось собрать документ .docx: %1.").arg(why));
    };

    const time_t stamp = fixedStamp();
    for (const auto& [name, data] : parts_) {
        zip_source_t* source = zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
        const zip_int64_t index = source ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            failWith(QString::fromLocal8Bit(zip_strerror(archive)));
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 6);
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), stamp, 0);
    }
    if (zip_close(archive) != 0)
        failWith(QString::fromLocal8Bit(zip_strerror(archive)));

    QByteArray out;
    if (zip_source_open(buffer) == 0) {
        zip_source_seek(buffer, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(buffer);
        zip_source_seek(buffer, 0, SEEK_SET);
        out.resize(static_cast<qsizetype>(size));
        const zip_int64_t got = zip_source_read(buffer, out.data(), static_cast<zip_uint64_t>(size));
        zip_source_close(buffer);
        if (got != size)
            out.clear();
    }
    zip_source_free(buffer);
    if (out.isEmpty())
        throw DocxError(QStringLiteral("Не удалось собрать документ .docx."));
    return out;
}

}  // namespace veltron::docx
