// Build-time packer of the report templates: merges the shared package
// skeleton with one template's own parts, checks that the result is a sound
// WordprocessingML package and writes it as a .docx.
//
//   veltron_pack_docx OUT.docx SKELETON_DIR TEMPLATE_DIR
//
// A part of TEMPLATE_DIR replaces the part of the same path in SKELETON_DIR.
// Every XML part is parsed and written back without indentation, so the
// sources may be laid out for reading. The archive is written with a fixed
// time stamp and a fixed entry order: the same sources give the same bytes.

#include "report/docx/wordml_schema.h"

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Failure {
    std::string text;
};

[[noreturn]] void fail(const std::string& text)
{
    throw Failure{text};
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fail("cannot read " + path.string());
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool isXmlPart(const std::string& name)
{
    auto endsWith = [&](const char* tail) {
        const std::string t(tail);
        return name.size() >= t.size() && name.compare(name.size() - t.size(), t.size(), t) == 0;
    };
    return endsWith(".xml") || endsWith(".rels");
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override
    {
        out.append(static_cast<const char*>(data), size);
    }
};

// Parses an XML part and returns it without indentation.
std::string compactXml(const std::string& name, const std::string& text, pugi::xml_document& doc)
{
    const auto result = doc.load_buffer(text.data(), text.size(),
                                        pugi::parse_default | pugi::parse_declaration
                                            | pugi::parse_ws_pcdata_single);
    if (!result)
        fail(name + ": XML error at offset " + std::to_string(result.offset) + ": "
             + result.description());
    if (doc.first_child().type() != pugi::node_declaration) {
        auto decl = doc.prepend_child(pugi::node_declaration);
        decl.append_attribute("version") = "1.0";
        decl.append_attribute("encoding") = "UTF-8";
        decl.append_attribute("standalone") = "yes";
    }
    StringWriter writer;
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.out;
}

std::string extensionOf(const std::string& name)
{
    const auto dot = name.rfind('.');
    const auto slash = name.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

void checkContentTypes(const std::map<std::string, std::string>& parts, const pugi::xml_document& types)
{
    std::set<std::string> defaults;
    std::set<std::string> overrides;
    for (auto node : types.child("Types").children()) {
        if (std::string(node.name()) == "Default")
            defaults.insert(node.attribute("Extension").value());
        else if (std::string(node.name()) == "Override")
            overrides.insert(node.attribute("PartName").value());
    }
    for (const auto& name : overrides)
        if (!parts.count(name.substr(1)))
            fail("[Content_Types].xml names " + name + ", which the package lacks");
    for (const auto& [name, unused] : parts) {
        if (name == "[Content_Types].xml")
            continue;
        if (!overrides.count("/" + name) && !defaults.count(extensionOf(name)))
            fail(name + " has no content type in [Content_Types].xml");
    }
}

void checkRelationships(const std::map<std::string, std::string>& parts, const std::string& relsName,
                        const pugi::xml_document& rels)
{
    // "word/_rels/document.xml.rels" describes targets relative to "word/".
    std::string base;
    const auto relsDir = relsName.find("_rels/");
    if (relsDir != std::string::npos)
        base = relsName.substr(0, relsDir);
    std::set<std::string> ids;
    for (auto rel : rels.child("Relationships").children("Relationship")) {
        const std::string id = rel.attribute("Id").value();
        if (!ids.insert(id).second)
            fail(relsName + ": relationship id " + id + " is used twice");
        if (std::string(rel.attribute("TargetMode").value()) == "External")
            continue;
        std::string target = rel.attribute("Target").value();
        target = target.rfind('/', 0) == 0 ? target.substr(1) : base + target;
        if (!parts.count(target))
            fail(relsName + ": target " + target + " does not exist");
    }
}

void checkBookmarks(const std::string& name, const pugi::xml_document& doc)
{
    std::map<std::string, std::string> openById;
    std::set<std::string> names;
    std::set<std::string> closed;
    std::string problem;
    struct Walker : pugi::xml_tree_walker {
        std::map<std::string, std::string>* open;
        std::set<std::string>* names;
        std::set<std::string>* closed;
        std::string* problem;
        bool for_each(pugi::xml_node& node) override
        {
            const std::string tag = node.name();
            if (tag == "w:bookmarkStart") {
                const std::string id = node.attribute("w:id").value();
                const std::string bookmark = node.attribute("w:name").value();
                if (open->count(id) || closed->count(id))
                    *problem = "bookmark id " + id + " is used twice";
                else if (!names->insert(bookmark).second)
                    *problem = "bookmark " + bookmark + " is defined twice";
                (*open)[id] = bookmark;
            } else if (tag == "w:bookmarkEnd") {
                const std::string id = node.attribute("w:id").value();
                if (!open->erase(id))
                    *problem = "bookmark end " + id + " has no start before it";
                closed->insert(id);
            }
            return problem->empty();
        }
    } walker;
    walker.open = &openById;
    walker.names = &names;
    walker.closed = &closed;
    walker.problem = &problem;
    const_cast<pugi::xml_document&>(doc).traverse(walker);
    if (problem.empty() && !openById.empty())
        problem = "bookmark " + openById.begin()->second + " has no end";
    if (!problem.empty())
        fail(name + ": " + problem);
}

std::map<std::string, fs::path> collect(const fs::path& dir)
{
    std::map<std::string, fs::path> files;
    if (!fs::is_directory(dir))
        fail(dir.string() + " is not a folder");
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file())
            continue;
        const std::string rel = fs::relative(entry.path(), dir).generic_string();
        if (!rel.empty() && rel[0] == '.')
            continue;
        files[rel] = entry.path();
    }
    return files;
}

void writeZip(const fs::path& out, const std::vector<std::pair<std::string, std::string>>& entries)
{
    const fs::path temp = out.string() + ".tmp";
    fs::remove(temp);
    int error = 0;
    zip_t* archive = zip_open(temp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        fail("cannot create " + temp.string());
    // 1 January 2001, noon: a fixed stamp keeps the archive reproducible.
    std::tm stamp{};
    stamp.tm_year = 101;
    stamp.tm_mday = 1;
    stamp.tm_hour = 12;
    stamp.tm_isdst = -1;
    const time_t mtime = std::mktime(&stamp);
    for (const auto& [name, data] : entries) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!source)
            fail("libzip: " + std::string(zip_strerror(archive)));
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            fail("libzip: " + std::string(zip_strerror(archive)));
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), mtime, 0);
    }
    if (zip_close(archive) != 0) {
        const std::string why = zip_strerror(archive);
        zip_discard(archive);
        fail("cannot write " + temp.string() + ": " + why);
    }
    fs::rename(temp, out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: veltron_pack_docx OUT.docx SKELETON_DIR TEMPLATE_DIR\n";
        return 2;
    }
    const fs::path out = argv[1];
    try {
        std::map<std::string, fs::path> files = collect(argv[2]);
        for (const auto& [rel, path] : collect(argv[3]))
            files[rel] = path;
        if (!files.count("word/document.xml"))
            fail(std::string(argv[3]) + " has no word/document.xml");

        std::map<std::string, std::string> parts;
        std::map<std::string, std::unique_ptr<pugi::xml_document>> xml;
        for (const auto& [rel, path] : files) {
            std::string data = readFile(path);
            if (isXmlPart(rel)) {
                auto doc = std::make_unique<pugi::xml_document>();
                data = compactXml(path.string(), data, *doc);
                xml[rel] = std::move(doc);
            }
            parts[rel] = std::move(data);
        }
        if (!xml.count("[Content_Types].xml"))
            fail("the package has no [Content_Types].xml");
        checkContentTypes(parts, *xml["[Content_Types].xml"]);
        for (const auto& [rel, doc] : xml)
            if (extensionOf(rel) == "rels")
                checkRelationships(parts, rel, *doc);
        checkBookmarks(files["word/document.xml"].string(), *xml["word/document.xml"]);
        for (const char* part : {"word/document.xml", "word/styles.xml"}) {
            if (!xml.count(part))
                continue;
            const auto problems = veltron::docx::schema::structureProblems(*xml[part]);
            if (!problems.empty())
                fail(files[part].string() + ": " + problems.front());
        }
        if (std::string(xml["word/document.xml"]->document_element().name()) != "w:document")
            fail("word/document.xml: the root element is not w:document");

        std::vector<std::pair<std::string, std::string>> entries;
        entries.emplace_back("[Content_Types].xml", parts["[Content_Types].xml"]);
        for (const auto& [rel, data] : parts)
            if (rel != "[Content_Types].xml")
                entries.emplace_back(rel, data);
        writeZip(out, entries);
    } catch (const Failure& failure) {
        std::cerr << "veltron_pack_docx: " << out.string() << ": " << failure.text << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "veltron_pack_docx: " << out.string() << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
