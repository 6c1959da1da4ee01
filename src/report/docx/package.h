#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace veltron::docx {

// The parts of a .docx (a ZIP archive) held in memory in archive order.
class Package {
public:
    // Reads the archive at path; `what` names the document in messages
    // ("шаблон", "фрагмент"). Throws DocxError.
    static Package read(const QString& path, const QString& what);

    bool has(const std::string& name) const;
    const QByteArray& part(const std::string& name) const;
    void setPart(const std::string& name, const QByteArray& data);
    const QString& path() const { return path_; }

    // A relationship of the main document to a part (target relative to
    // word/), added to word/_rels/document.xml.rels; returns its new id.
    std::string addDocumentRelationship(const std::string& type, const std::string& target);
    // The content type of every part with the extension, unless the package
    // already names one.
    void ensureDefaultContentType(const std::string& extension, const std::string& contentType);
    // The application properties (docProps/app.xml), which name the program
    // and its version ("17.0" is written "17.0000", as the format wants).
    void setApplication(const QString& name, const QString& version);

    // The archive with every part compressed and a fixed time stamp, so that
    // the same parts give the same bytes. Throws DocxError.
    QByteArray toZip() const;

private:
    QString path_;
    std::vector<std::pair<std::string, QByteArray>> parts_;
};

}  // namespace veltron::docx
