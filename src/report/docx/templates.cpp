#include "report/docx/templates.h"

#include "db/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace veltron::docx {

QString templatesFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("VELTRON_TEMPLATES");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    const QString program = QCoreApplication::applicationDirPath();
    if (program.isEmpty())
        return QDir::currentPath();
    if (QFileInfo(QDir(program).filePath(kAppendixTemplate)).isFile())
        return program;
    const db::ProgramFolders folders = db::programFolders(program);
    if (folders.installed)
        return QDir(folders.files).filePath(QStringLiteral("templates"));
    const QString buildTree = QDir::cleanPath(program + QStringLiteral("/../templates"));
    if (QFileInfo(QDir(buildTree).filePath(kAppendixTemplate)).isFile())
        return buildTree;
    return program;
}

QString templatePath(const QString& fileName)
{
    return QDir(templatesFolder()).filePath(fileName);
}

const QStringList& appendixBookmarks()
{
    static const QStringList names = {
        QStringLiteral("m2"),    QStringLiteral("Name1"), QStringLiteral("Name2"),
        QStringLiteral("Metka4"), QStringLiteral("wt"),   QStringLiteral("R0"),
        QStringLiteral("R1"),    QStringLiteral("R2"),    QStringLiteral("R3"),
        QStringLiteral("R4"),    QStringLiteral("R5"),    QStringLiteral("mz"),
        QStringLiteral("mmst"),  QStringLiteral("mWt"),   QStringLiteral("mKateg"),
        QStringLiteral("mR0"),   QStringLiteral("mR1"),   QStringLiteral("mR2"),
        QStringLiteral("mR3"),   QStringLiteral("mR4"),   QStringLiteral("mR5"),
        QStringLiteral("mR6_inf"), QStringLiteral("mR6_K"), QStringLiteral("mR6_P"),
        QStringLiteral("mR6_R"),  QStringLiteral("MetkaW"),
    };
    return names;
}

Document fillTemplate(const QString& templatePath, const QStringList& bookmarks,
                      const std::map<QString, QString>& texts, const QString& documentGenitive)
{
    for (const auto& [name, text] : texts)
        if (!bookmarks.contains(name))
            throw DocxError(QStringLiteral("У %1 нет закладки «%2».").arg(documentGenitive, name));
    Document document = Document::open(templatePath);
    for (const QString& name : bookmarks) {
        const auto it = texts.find(name);
        if (it == texts.end())
            throw DocxError(QStringLiteral("Для закладки «%1» %2 не задан текст.").arg(name, documentGenitive));
        document.setBookmarkText(name, it->second);
    }
    return document;
}

Document buildAppendix(const QString& templatePath, const std::map<QString, QString>& texts)
{
    return fillTemplate(templatePath, appendixBookmarks(), texts, QStringLiteral("приложения"));
}

}  // namespace veltron::docx
