#include "report/zone_table.h"

#include "calc/number_text.h"
#include "report/docx/document.h"
#include "report/docx/templates.h"
#include "report/format.h"
#include "report/signature_block.h"
#include "report/zone_map.h"

namespace veltron::report {

QStringList zoneHeader()
{
    return {QStringLiteral("Класс зоны разрушения"), QStringLiteral("K"), QStringLiteral("deltaP, кПа"),
            QStringLiteral("Радиус зоны, м")};
}

const std::array<QStringList, 5>& zoneRows()
{
    static const std::array<QStringList, 5> rows = {
        QStringList{QStringLiteral("зона полного разрушения зданий и безусловной гибели человека, м"),
                    QStringLiteral("3,8"), QStringLiteral(">=100")},
        QStringList{QStringLiteral("зона сильных разрушений зданий и тяжелых повреждений человека, м"),
                    QStringLiteral("5,6"), QStringLiteral("70")},
        QStringList{QStringLiteral("зона средних разрушений зданий и поражения человека средней тяжести, м"),
                    QStringLiteral("9,6"), QStringLiteral("28")},
        QStringList{QStringLiteral("зона слабых разрушений зданий и поражения человека слабой тяжести, м"),
                    QStringLiteral("28"), QStringLiteral("14")},
        QStringList{QStringLiteral("граница опасной зоны разрушения остекления зданий и поражения человека, м"),
                    QStringLiteral("56"), QStringLiteral("<=2")},
    };
    return rows;
}

QString overpressureRangeMessage()
{
    return QStringLiteral("Апроксимация работает для интервала давлений от 2кПа до 100кПа");
}

double overpressureK(double P)
{
    return calc::overpressureCoefficients(P).K;
}

Overpressure overpressure(double P, double R0)
{
    Overpressure o;
    const double limited = calc::clampOverpressure(P);
    o.clamped = limited != P;
    o.P = limited;
    const calc::OverpressureK k = calc::overpressureCoefficients(o.P);
    o.K = k.K;
    o.radius = R0 * o.K;
    o.txtP = calc::numberText(o.P);
    o.txtX = formatPattern(o.radius, QStringLiteral("0.00"));
    o.Kint = FormatResult(k.Kint);
    o.Kstep = k.Kstep ? FormatResult(*k.Kstep) : QString();
    o.Kpol = k.Kpol ? FormatResult(*k.Kpol) : QString();
    o.row6 = {QStringLiteral("расчет для ") + o.txtP + QStringLiteral(" кПа"), formatPattern(o.K, QStringLiteral("0.0")),
              o.txtP, o.txtX};
    return o;
}

ZoneTable zoneTable(double R0, const std::array<QString, 4>& row6)
{
    ZoneTable t;
    const QStringList header = zoneHeader();
    for (int c = 0; c < 4; ++c)
        t[0][std::size_t(c)] = header[c];
    const calc::ZoneRadii radii = calc::zoneRadii(R0);
    for (std::size_t i = 0; i < 5; ++i) {
        for (int c = 0; c < 3; ++c)
            t[i + 1][std::size_t(c)] = zoneRows()[i][c];
        t[i + 1][3] = FormatResult(radii[i]);
    }
    t[6] = row6;
    return t;
}

void writeGridTable(docx::Document& document, const QString& bookmark, const QList<QStringList>& rows)
{
    const int columns = rows.isEmpty() ? 0 : int(rows.first().size());
    docx::Table t = document.addTable(bookmark, int(rows.size()), columns, docx::TableFormat{12});
    const docx::BorderLine outer{docx::LineStyle::Single, 1.5, QStringLiteral("auto")};
    const docx::BorderLine inner{docx::LineStyle::Single, 0.5, QStringLiteral("auto")};
    for (docx::BorderSide side :
         {docx::BorderSide::Top, docx::BorderSide::Left, docx::BorderSide::Bottom, docx::BorderSide::Right})
        t.setBorder(side, outer);
    t.setBorder(docx::BorderSide::InsideHorizontal, inner);
    t.setBorder(docx::BorderSide::InsideVertical, inner);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < columns && c < rows[r].size(); ++c)
            if (!rows[r][c].isEmpty())
                t.fillCell(r + 1, c + 1, rows[r][c]);
}

void writeZoneTable(docx::Document& document, const QString& bookmark, const ZoneTable& table)
{
    QList<QStringList> rows;
    for (const auto& row : table)
        rows.push_back(QStringList(row.begin(), row.end()));
    writeGridTable(document, bookmark, rows);
}

void writeZoneMap(docx::Document& document, const QString& bookmark, const ZoneMapData& map)
{
    docx::PictureFormat format;
    const QSizeF size = zoneMapSizeMm(map);
    format.widthMm = size.width();
    format.heightMm = size.height();
    format.description = zoneMapCaption();
    document.addPicture(bookmark, zoneMapPng(map), format);
    document.appendParagraph(bookmark, zoneMapCaption(), docx::ParagraphFormat{12, false, docx::Alignment::Center});
}

void fillZoneMapBookmark(docx::Document& document, const ZoneMapData& map)
{
    writeZoneMap(document, kZoneMapBookmark, map);
    document.dropEmptyParagraph(kZoneMapBookmark);
}

void writeZoneTableAndMap(docx::Document& document, const QString& bookmark, const ZoneTable& table,
                          const ZoneMapData& map)
{
    writeZoneTable(document, bookmark, table);
    writeZoneMap(document, bookmark, map);
}

QByteArray buildZoneReport(const QString& templateName, const QStringList& bookmarks,
                           const std::map<QString, QString>& texts, const QString& documentGenitive,
                           const ZoneTable& table, const ZoneMapData& map, const records::Signature& signature)
{
    QStringList textBookmarks = bookmarks;
    textBookmarks.removeAll(kZoneTableBookmark);
    docx::Document document =
        docx::fillTemplate(docx::templatePath(templateName), textBookmarks, texts, documentGenitive);
    writeZoneTableAndMap(document, kZoneTableBookmark, table, map);
    writeSignature(document, signature);
    return document.toDocx();
}

}  // namespace veltron::report
