#include "report/complex_report.h"

#include "calc/number_text.h"
#include "report/docx/templates.h"
#include "report/signature_block.h"
#include "report/format.h"

#include <cmath>

namespace veltron::report {

QString fullNumber(double x)
{
    const double a = std::fabs(x);
    if (a < 1e-5 || a >= 1e15 || !std::isfinite(x))
        return calc::numberText(x);
    return calc::russianLocale().toString(x, 'f', QLocale::FloatingPointShortest);
}

QStringList complexRowsHeader()
{
    return {
        QStringLiteral("Наименование расчета"),
        QStringLiteral("энергия адиабатического расширения и сгорания ПГФ, находящейся в АРБ, кДж"),
        QStringLiteral("энергия сгорания ПГФ, поступившей к разгерметизированному участку от смежных объектов "
                       "(блоков), кДж"),
        QStringLiteral("энергия сгорания ПГФ, образующейся за счет энергии, кДж перегретой ЖФ рассматриваемого блока и "
                       "поступившей от смежных объектов, кДж"),
        QStringLiteral("энергия сгорания ПГФ, образующейся из ЖФ за счет тепла экзотермических реакций, не "
                       "прекращающихся при разгерметизации, кДж"),
        QStringLiteral("энергия сгорания ПГФ, образующейся из ЖФ за счет теплопритока от внешних теплоносителей"),
        QStringLiteral("энергия сгорания ПГФ, образующейся из пролитой на твердую поверхность ЖФ за счет теплоотдачи "
                       "от окружающей среды, кДж"),
        QStringLiteral("тротиловый эквивалент взрыва парогазовой среды, кг"),
    };
}

QStringList complexRowTexts(const calc::BlockEnergies& row)
{
    QStringList cells{row.pName};
    for (double x : {row.E11, row.E12, row.E21, row.E22, row.E23, row.E24, row.Wt})
        cells << fullNumber(x);
    return cells;
}

ComplexView complexView(const calc::ComplexResult& r)
{
    return {formatPattern(r.m, QStringLiteral("0.0")), formatPattern(r.Q, QStringLiteral("0.0")),
            formatPattern(r.Wt, QStringLiteral("0.0")), r.Zn_kategor};
}

const QStringList& complexBookmarks()
{
    static const QStringList names = {
        kComplexRowsBookmark,
        QStringLiteral("R1"),      QStringLiteral("R2"),      QStringLiteral("R3"),    QStringLiteral("R4"),
        QStringLiteral("R5"),      QStringLiteral("Q"),       QStringLiteral("Q1"),    QStringLiteral("Kategor"),
        QStringLiteral("E"),       QStringLiteral("mE"),      QStringLiteral("E_1"),   QStringLiteral("E_2"),
        QStringLiteral("m"),       QStringLiteral("m1"),      QStringLiteral("m2"),    QStringLiteral("Wt"),
        QStringLiteral("R0"),      QStringLiteral("Metka4"),  QStringLiteral("mm"),    QStringLiteral("mQv"),
        QStringLiteral("mWt"),     QStringLiteral("mKateg"),  QStringLiteral("mR0"),   QStringLiteral("mR1"),
        QStringLiteral("mR2"),     QStringLiteral("mR3"),     QStringLiteral("mR4"),   QStringLiteral("mR5"),
        QStringLiteral("mR6_inf"), QStringLiteral("mR6_K"),   QStringLiteral("mR6_P"), QStringLiteral("mR6_R"),
        kZoneMapBookmark,
    };
    return names;
}

std::map<QString, QString> complexTexts(const calc::ComplexResult& r, const ZoneTable& zones)
{
    std::map<QString, QString> t;
    for (int i = 0; i < 5; ++i) {
        const QString radius = FormatResult(r.Rzone[std::size_t(i)]);
        t[QStringLiteral("R%1").arg(i + 1)] = radius;
        t[QStringLiteral("mR%1").arg(i + 1)] = radius;
    }
    const QString Q = r.Q > 0 ? formatPattern(r.Q, QStringLiteral("0.0")) : QStringLiteral("0");
    t[QStringLiteral("Q")] = Q;
    t[QStringLiteral("Q1")] = Q;
    for (const char* name : {"Kategor", "mKateg"})
        t[QLatin1String(name)] = r.Zn_kategor;
    for (const char* name : {"E", "mE", "E_1", "E_2"})
        t[QLatin1String(name)] = formatPattern(r.E, QStringLiteral("0.00"));
    for (const char* name : {"m", "m1", "m2"})
        t[QLatin1String(name)] = formatPattern(r.m, QStringLiteral("0.00"));
    t[QStringLiteral("Wt")] = complexView(r).Wt;
    t[QStringLiteral("R0")] = FormatResult(r.R0);
    t[QStringLiteral("Metka4")] = QString::fromLatin1(calc::formulaName(r.formula));
    t[QStringLiteral("mm")] = formatTwoOrZero(r.m);
    t[QStringLiteral("mQv")] = formatTwoOrZero(r.Q);
    t[QStringLiteral("mWt")] = FormatResult(r.Wt);
    t[QStringLiteral("mR0")] = formatTwoOrZero(r.R0);
    const char* row6[] = {"mR6_inf", "mR6_K", "mR6_P", "mR6_R"};
    for (std::size_t c = 0; c < 4; ++c)
        t[QLatin1String(row6[c])] = zones[6][c];
    return t;
}

QByteArray buildComplexReport(const calc::ComplexRun& run, const ZoneTable& zones, const ZoneMapData& map,
                              const records::Signature& signature)
{
    QStringList textBookmarks = complexBookmarks();
    textBookmarks.removeAll(kComplexRowsBookmark);
    textBookmarks.removeAll(kZoneMapBookmark);
    docx::Document document = docx::fillTemplate(docx::templatePath(kComplexTemplate), textBookmarks,
                                                  complexTexts(run.result, zones),
                                                  QStringLiteral("отчета комплексного расчета"));
    QList<QStringList> rows{complexRowsHeader()};
    for (const calc::BlockEnergies& row : run.rows)
        rows.push_back(complexRowTexts(row));
    writeGridTable(document, kComplexRowsBookmark, rows);
    fillZoneMapBookmark(document, map);
    writeSignature(document, signature);
    return document.toDocx();
}

}  // namespace veltron::report
