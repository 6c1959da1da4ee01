#pragma once

// Where the report templates and fragments lie, and filling a template whose
// content is bookmark texts only.

#include "report/docx/document.h"

#include <QString>
#include <QStringList>

#include <map>

namespace veltron::docx {

// The folder of the template documents: $VELTRON_TEMPLATES when set, else
// the program's folder when it holds them, else <prefix>/share/veltron/templates
// for an installed program, else the templates folder of the build tree
// beside the program's bin/ folder.
QString templatesFolder();
// templatesFolder() + "/" + fileName; opening reports a missing file.
QString templatePath(const QString& fileName);

// The appendix template on the TNT equivalent and the destruction zones, and
// the bookmarks of its texts in the order the report sets them (the map of
// the zones has a bookmark of its own, mZoneMap).
inline const QString kAppendixTemplate = QStringLiteral("otchet_veltron_pril3.docx");
const QStringList& appendixBookmarks();

// Opens a template and sets each of `bookmarks`, in that order, from texts
// (bookmark name -> text as the report shows it). A bookmark without a text,
// or a text for a bookmark not in the list, is an error whose message names
// the document by `documentGenitive` ("приложения").
Document fillTemplate(const QString& templatePath, const QStringList& bookmarks,
                      const std::map<QString, QString>& texts, const QString& documentGenitive);

// fillTemplate of the appendix template with appendixBookmarks().
Document buildAppendix(const QString& templatePath, const std::map<QString, QString>& texts);

}  // namespace veltron::docx
