#include "report/main_report.h"

#include "calc/engine.h"
#include "calc/number_text.h"
#include "report/docx/templates.h"
#include "report/format.h"
#include "report/result_captions.h"
#include "report/signature_block.h"

#include <charconv>
#include <utility>
#include <vector>

namespace veltron::report {

namespace {

const QString kMainTemplate = QStringLiteral("otchet_veltron_pril2.docx");

// The atmospheric pressure as the run holds it: a single-precision 0.1013.
constexpr float kAtmSingle = 0.1013f;
constexpr double kAtm = static_cast<double>(kAtmSingle);
constexpr double kKelvin = 273.15;

const QString kManual = QStringLiteral(" (вручную)");
const QString kIntensityTyped = QStringLiteral(" (введена вручную)");
const QString kNotUsed = QStringLiteral("не используется в расчете");
const QString kNotInvolved = QStringLiteral("не участвует в расчете");
// A quotient whose divisor is 0.
const QString kNoValue = QStringLiteral("—");

// A table that may run over a page: rows stay whole and the header row repeats.
void keepReadable(docx::Table& table)
{
    table.keepRowsWhole();
    table.repeatFirstRow();
}

// The notations of the report's values.
QString F3(double x) { return FormatResult(x); }
QString F2(double x) { return formatTwoOrZero(x); }
QString FS(double x) { return x >= 1 ? F2(x) : F3(x); }
QString D2(double x) { return formatFixed(x, 2); }
QString T(double x) { return calc::numberText(x); }

// The shortest text of a single-precision number.
QString T1(float x)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
    QString text = QString::fromLatin1(buffer, end - buffer);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

QString manual(const QString& text, bool entered)
{
    return entered ? text + kManual : text;
}

// An evaporation intensity typed in the block editor is marked as such.
QString intensity(const QString& text, bool typed)
{
    return typed ? text + kIntensityTyped : text;
}

using BookmarkTexts = std::vector<std::pair<const char*, QString>>;

// A fresh copy of the fragment with its bookmarks set.
docx::Fragment fragment(const QString& name, const BookmarkTexts& texts = {})
{
    docx::Fragment f = docx::Fragment::open(docx::templatePath(name + QStringLiteral(".docx")));
    for (const auto& [bookmark, text] : texts)
        f.setBookmarkText(QString::fromLatin1(bookmark), text);
    return f;
}

// A fresh copy of a fragment whose first table takes the values in its
// column 3, from row 2 down.
docx::Fragment tableFragment(const QString& name, const QStringList& values)
{
    docx::Fragment f = fragment(name);
    for (int i = 0; i < values.size(); ++i)
        f.fillCell(i + 2, 3, values[i]);
    return f;
}

// One adjacent block: its record, what the run computed for it and its row
// of the adjacent-block grid.
struct AdjacentBlock {
    const records::Block& block;
    const calc::AdjacentResult& result;
    const calc::SubstData& subst;  // the block's own substance
    const QStringList& cells;

    // Put before each per-block fragment.
    QString heading() const
    {
        return QStringLiteral("Смежный блок № ") + cells.value(0) + QStringLiteral(" (i=") + cells.value(0)
            + QStringLiteral(") - ") + cells.value(1);
    }
};

class MainReport {
public:
    explicit MainReport(const MainReportData& data);
    docx::Document build();

private:
    void calculatedBlock();
    void generalInformation();
    void adjacentBlocksTable();
    void pressureAndVolume();
    void vapourFromAdjacent();
    void vapourPressureFragment();
    void ownLiquid();
    void liquidFromAdjacent();
    void reactionHeat();
    void heatInflow();
    void air();
    void spillConditions();
    void spillNote();
    void surfaceEvaporation();
    void mirrorEvaporation();
    void formula19();
    void energyTerms();
    void vapourOfBlock();
    void spillFormula();
    void adiabaticWork();
    void timesAndMasses();
    void cloudDrift();
    void surfaceFormula();
    void areaRatio();
    void pressureStatement();
    void closingValues();
    void detailTables();
    void tidyPlaces();

    void set(std::initializer_list<const char*> bookmarks, const QString& text);
    void paragraph(const char* bookmark, const QString& text, docx::Alignment alignment = docx::Alignment::Left);
    // A paragraph kept on the page of the table that follows it.
    void caption(const char* bookmark, const QString& text);
    // One copy of a fragment per adjacent block in grid order, or the
    // sentence when there are none.
    template <typename Fill>
    void perAdjacentBlock(const char* bookmark, const QString& none, Fill fill);
    void insert(const char* bookmark, const docx::Fragment& fragment);

    // W as printed away from the note of section 8.3, which says why it is 0.
    QString intensityText(const QString& number) const
    {
        const QString text = intensity(number, main_.mi);
        return !r_.PnNotDetermined ? text : text + QStringLiteral(" (давление насыщенного пара не определено, см. п. 8.3)");
    }

    double Tb() const { return s_.T_kip; }
    double t() const { return main_.Temp; }  // temperature of the calculated block, °C
    QString grid(int column) const { return v_.mainBlock.value(column); }

    const MainReportData& d_;
    const calc::RaschResult& r_;
    const ResultsView& v_;
    const records::ConditionTexts& in_;
    const calc::SubstData& s_;
    records::Block main_;
    std::vector<AdjacentBlock> adjacent_;
    docx::Document doc_;
};

MainReport::MainReport(const MainReportData& data)
    : d_(data),
      r_(data.result),
      v_(data.view),
      in_(data.inputs.conditions),
      s_(data.result.subst),
      main_(data.inputs.main.value_or(records::Block{})),
      doc_(docx::Document::open(docx::templatePath(kMainTemplate)))
{
    const qsizetype n = data.inputs.adjacent.size();
    if (qsizetype(data.result.adjacent.size()) != n || data.view.adjacentBlocks.size() != n)
        throw docx::DocxError(QStringLiteral("Отчет не может быть составлен: число смежных блоков расчета (%1) "
                                             "не совпадает с результатами (%2).")
                                  .arg(n)
                                  .arg(data.result.adjacent.size()));
    // The results screen shows the adjacent blocks only when the first row holds a block.
    if (n > 0 && !data.view.adjacentBlocks.front().value(0).isEmpty())
        for (qsizetype i = 0; i < n; ++i)
            adjacent_.push_back({data.inputs.adjacent[i], data.result.adjacent[std::size_t(i)],
                                 data.result.substanceOf(data.result.adjacent[std::size_t(i)]),
                                 data.view.adjacentBlocks[i]});
}

docx::Document MainReport::build()
{
    calculatedBlock();
    generalInformation();
    adjacentBlocksTable();
    pressureAndVolume();
    vapourFromAdjacent();
    vapourPressureFragment();
    ownLiquid();
    liquidFromAdjacent();
    reactionHeat();
    heatInflow();
    air();
    spillConditions();
    spillNote();
    surfaceEvaporation();
    mirrorEvaporation();
    formula19();
    energyTerms();
    vapourOfBlock();
    spillFormula();
    adiabaticWork();
    timesAndMasses();
    cloudDrift();
    surfaceFormula();
    areaRatio();
    pressureStatement();
    closingValues();
    detailTables();
    tidyPlaces();
    writeSignature(doc_, d_.signature);
    return std::move(doc_);
}

void MainReport::set(std::initializer_list<const char*> bookmarks, const QString& text)
{
    for (const char* name : bookmarks)
        doc_.setBookmarkText(QString::fromLatin1(name), text);
}

void MainReport::paragraph(const char* bookmark, const QString& text, docx::Alignment alignment)
{
    doc_.appendParagraph(QString::fromLatin1(bookmark), text, {12, false, alignment});
}

void MainReport::caption(const char* bookmark, const QString& text)
{
    doc_.appendParagraph(QString::fromLatin1(bookmark), text, {12, false, docx::Alignment::Left, true});
}

void MainReport::insert(const char* bookmark, const docx::Fragment& fragment)
{
    doc_.insertFragment(QString::fromLatin1(bookmark), fragment);
}

template <typename Fill>
void MainReport::perAdjacentBlock(const char* bookmark, const QString& none, Fill fill)
{
    if (adjacent_.empty()) {
        set({bookmark}, none);
        return;
    }
    for (const AdjacentBlock& a : adjacent_) {
        docx::Fragment copy = fill(a);
        copy.insertHeading(a.heading());
        insert(bookmark, copy);
    }
}

// Begin1: the calculated block as its grid shows it, hidden columns included.
void MainReport::calculatedBlock()
{
    caption("Begin1", captions::Lab8);
    const QStringList header = mainBlockHeader();
    docx::Table table = doc_.addTable(QStringLiteral("Begin1"), 2, int(header.size()));
    for (int c = 0; c < header.size(); ++c) {
        table.fillCell(1, c + 1, header[c]);
        table.fillCell(2, c + 1, grid(c));
        if (c >= 2)
            table.rotateCell(1, c + 1);
    }
    keepReadable(table);
}

// Begin: the calculation, the conditions of the spill and the substance.
void MainReport::generalInformation()
{
    paragraph("Begin", QStringLiteral("РЕЗУЛЬТАТЫ РАСЧЕТА  \"") + d_.inputs.calculation.name + QStringLiteral("\""),
              docx::Alignment::Center);
    paragraph("Begin", QStringLiteral("Общая информация о месте размещения блока:"));
    paragraph("Begin", captions::Lt_kontakt + QLatin1Char(' ') + in_.t_kontakt);
    paragraph("Begin", captions::LType + QLatin1Char(' ') + v_.Type);
    paragraph("Begin", captions::LS_kontakt + QLatin1Char(' ') + v_.S_kontakt);
    paragraph("Begin", captions::LS_G + QLatin1Char(' ') + v_.S_G);
    if (v_.LTempv == records::airTemperatureCaption(true))
        paragraph("Begin", QStringLiteral("Тип пространства: открытое (незагроможденное). Формирование парогазовых"
                                          " взрывоопасных зон производится вне помещения."));
    else
        paragraph("Begin", QStringLiteral("Тип пространства: закрытое. Формирование парогазовых"
                                          " взрывоопасных зон производится в помещении."));
    paragraph("Begin", v_.LTempv + QLatin1Char(' ') + v_.Tempv);
    paragraph("Begin", captions::LTempp + QLatin1Char(' ') + v_.Tempp);
    paragraph("Begin", captions::Label32 + QLatin1Char(' ') + v_.txtTg);
    caption("Begin", QStringLiteral("Характеристики вещества, содержащегося в АРБ"));

    const QString header[] = {captions::LName_Vva,     captions::LMol_massa,    captions::LT_kip,
                              captions::LTepl_sgorGF,  captions::LTepl_sgorPGF, captions::LTepl_paroobr,
                              captions::LTeploem_GF};
    const QString values[] = {v_.Name_Vva,      v_.Mol_massa,    v_.T_kip,     v_.Tepl_sgorGF,
                              v_.Tepl_sgorPGF, v_.Tepl_paroobr, v_.Teploem_GF};
    docx::Table table = doc_.addTable(QStringLiteral("Begin"), 2, 7);
    for (int c = 0; c < 7; ++c) {
        table.fillCell(1, c + 1, header[c]);
        table.fillCell(2, c + 1, values[c]);
        if (c >= 1)
            table.rotateCell(1, c + 1);
    }
    table.setBorder(docx::BorderSide::Left, {docx::LineStyle::Single, 1.5, QStringLiteral("auto")});
    keepReadable(table);
}

// Begin2: the adjacent blocks up to "Значение 1"; the data columns after it
// and the two mass columns stay out.
void MainReport::adjacentBlocksTable()
{
    if (adjacent_.empty())
        return;
    for (const QString& legend : captions::La)
        paragraph("Begin2", legend);
    caption("Begin2", captions::Lab9);
    const QStringList header = adjacentBlockHeader();
    const int columns = int(header.size()) - 8;
    const int rows = int(adjacent_.size()) + 1;
    doc_.setParagraphFontSize(QStringLiteral("Begin2"), 10);
    docx::Table table = doc_.addTable(QStringLiteral("Begin2"), rows, columns);
    for (int c = 0; c < columns; ++c) {
        table.fillCell(1, c + 1, header[c]);
        table.rotateCell(1, c + 1);
        for (int r = 2; r <= rows; ++r)
            table.fillCell(r, c + 1, adjacent_[std::size_t(r - 2)].cells.value(c));
    }
    keepReadable(table);
}

void MainReport::pressureAndVolume()
{
    const double P = main_.Davl;
    const double V = main_.V_PGF;
    const bool large = P * V >= 0.02;
    set({"mPzn1"}, P - kAtm <= 0.07 ? QStringLiteral("<") : QStringLiteral(">"));
    set({"mPVzn1"}, large ? QStringLiteral(">") : QStringLiteral("<"));
    set({"mdeltP", "mdeltP1"}, F3(P));
    set({"mV1"}, F3(V));
    set({"mdeltPV1"}, F3(P * V));
    set({"Metka6"}, large ? QStringLiteral("расчет осуществляется согласно формулам 3.1 или 3.2")
                          : QStringLiteral("энергию адиабатического расширения ПГФ ввиду малых ее значений в "
                                           "расчет можно не принимать"));
}

// Metka7: E2' of each adjacent block.
void MainReport::vapourFromAdjacent()
{
    perAdjacentBlock(
        "Metka7",
        QStringLiteral("В расчете смежных блоков нет. Энергия сгорания ПГФ, поступившей к разгерметизированному "
                       "участку от смежных объектов (блоков) не рассчитывается - Е2'=0."),
        [](const AdjacentBlock& a) {
            const records::Block& b = a.block;
            const calc::AdjacentResult& x = a.result;
            QString mass = manual(F3(x.g12), x.g12_entered);
            if (!x.g12_entered && b.Temp - a.subst.T_kip <= 0)
                mass = QStringLiteral("0, температура кипения больше температуры в блоке, ПГФ не образуется");
            QStringList rows;
            if (b.znG1 == 0) {
                QString speed = F3(x.w12) + QLatin1Char('\n');
                if (b.pVist_zad != 0)
                    speed += QStringLiteral("(вручную)");
                else if (b.pVist != x.w12)
                    speed += b.Davl - kAtm <= 0.07 ? QStringLiteral("(ф-6.3)") : QStringLiteral("(ф-6.1)");
                else
                    speed += QStringLiteral(" (по максимальной)");
                rows << F3(b.Adiab) << F3(b.Davl) << T1(kAtmSingle) << F3(b.Plotn_PGF)
                     << (b.Plotn_PGF == 0 ? QStringLiteral("0") : F3(1 / b.Plotn_PGF)) << speed << F3(b.S_sech)
                     << F3(b.t);
            } else {
                for (int i = 0; i < 8; ++i)
                    rows << kNotUsed;
            }
            rows << F3(a.subst.Tepl_sgorPGF) << mass;
            return tableFragment(QStringLiteral("Metka7"), rows);
        });
}

// MetkaPn: how the saturated vapour pressure at the design temperature came about.
void MainReport::vapourPressureFragment()
{
    const double t = this->t();
    const double T = t + kKelvin;
    QString name;
    BookmarkTexts values = {{"mPn_1", F3(r_.PnTr)}};
    if (in_.Check3) {
        name = QStringLiteral("MetkaPn1");
    } else if (d_.inputs.settings.Pn == 1) {
        name = QStringLiteral("MetkaPn2");
        const QString P0 = F3(kAtm);
        values.insert(values.end(), {{"mP0_1", P0},
                                     {"mP0_2", P0},
                                     {"mR_1", F3(s_.Tepl_paroobr)},
                                     {"mR_2", F3(s_.Tepl_paroobr)},
                                     {"mRn_1", F3(8314)},
                                     {"mRn_2", F3(8314)},
                                     {"mMol_1", F3(s_.Mol_massa)},
                                     {"mMol_2", F3(s_.Mol_massa)},
                                     {"mTk_1", F3(Tb() + kKelvin)},
                                     {"mTk_2", F3(Tb() + kKelvin)},
                                     {"mT1_1", F3(T)},
                                     {"mT1_2", F3(T)}});
    } else if (d_.inputs.settings.Pn == 2) {
        name = QStringLiteral("MetkaPn3");
        values.insert(values.end(), {{"mTvsp_1", F3(s_.Tvsp)},
                                     {"mTvsp_2", F3(s_.Tvsp)},
                                     {"mT1_1", F3(t)},
                                     {"mT1_2", F3(t)}});
    } else {
        name = QStringLiteral("MetkaPn4");
        const double divisor = s_.pCa + r_.Tr;
        const QString lg = divisor == 0 ? kNoValue : F3(s_.pA - s_.pB / divisor);
        values.insert(values.end(), {{"mA_1", F3(s_.pA)},
                                     {"mA_2", F3(s_.pA)},
                                     {"mB_1", F3(s_.pB)},
                                     {"mB_2", F3(s_.pB)},
                                     {"mCa_1", F3(s_.pCa)},
                                     {"mCa_2", F3(s_.pCa)},
                                     {"mT1_1", F3(r_.Tr)},
                                     {"mRez_1", lg},
                                     {"mRez_2", lg},
                                     {"mName_1", grid(1)}});
    }
    insert("MetkaPn", fragment(name, values));
}

// Metka8: E1'' of the calculated block's own liquid.
void MainReport::ownLiquid()
{
    docx::Fragment f = tableFragment(QStringLiteral("Metka8"), {F3(s_.Teploem_GF), F3(t() - Tb()),
                                                                F3(s_.Tepl_paroobr), F3(s_.qGF()),
                                                                manual(F3(r_.Ggf), r_.Ggf_entered)});
    f.insertHeading(QStringLiteral("Основной блок №1 ") + QStringLiteral("(i=1) - ") + grid(0));
    insert("Metka8", f);
}

// Metka9: E1'' of the liquid from each adjacent block, with the block's own substance.
void MainReport::liquidFromAdjacent()
{
    perAdjacentBlock(
        "Metka9",
        QStringLiteral("В расчете смежных блоков нет. Энергия сгорания ПГФ, образующейся за счет энергии перегретой "
                       "ЖФ поступившей от смежных объектов (блоков) не рассчитывается."),
        [](const AdjacentBlock& a) {
            const records::Block& b = a.block;
            const calc::AdjacentResult& x = a.result;
            const calc::SubstData& s = a.subst;
            QStringList rows{F3(s.Teploem_GF), F3(b.Temp - s.T_kip), F3(s.Tepl_paroobr), F3(s.qGF())};
            if (b.znG2 == 0) {
                QString speed = F3(x.w21);
                if (b.pVistG_zad != 0)
                    speed += kManual;
                else if (b.pVistG == x.w21)
                    speed += QStringLiteral(" (по максимальной)");
                rows << F3(b.Plotn_GF) << speed << F3(b.Koef_gidro) << F3(b.S_sech) << F3(b.t) << F3(b.Davl - kAtm);
            } else {
                for (int i = 0; i < 6; ++i)
                    rows << kNotUsed;
            }
            rows << manual(F3(x.g21), x.g21_entered);
            return tableFragment(QStringLiteral("Metka9"), rows);
        });
}

// Metka10: E2'' of each adjacent block.
void MainReport::reactionHeat()
{
    perAdjacentBlock("Metka10",
                     QStringLiteral("В расчете смежных блоков нет. Энергия сгорания ПГФ, образующейся из ЖФ за счет "
                                    "тепла экзотермических реакций, не прекращающихся при разгерметизации, не "
                                    "рассчитывается."),
                     [](const AdjacentBlock& a) {
                         return tableFragment(QStringLiteral("Metka10"),
                                              {F3(a.subst.Tepl_sgorPGF), F3(a.subst.Tepl_paroobr),
                                               F3(a.block.Sk_teploper_GG), F3(a.block.t_P)});
                     });
}

// Metka11: E3'' of each adjacent block, the fragment of its heat-inflow formula.
void MainReport::heatInflow()
{
    perAdjacentBlock(
        "Metka11",
        QStringLiteral("Теплоприток от внешних теплоносителей отсутствует. Энергии сгорания ПГФ, образующейся из ЖФ "
                       "за счет теплопритока от внешних теплоносителей, не рассчитывается."),
        [](const AdjacentBlock& a) {
            const records::Block& b = a.block;
            const QString inflow = F3(b.Sk_teploper_GF) + QLatin1Char('\n');
            QStringList rows{F3(a.subst.Tepl_sgorPGF), F3(a.subst.Tepl_paroobr)};
            QString name;
            if (b.formula == 1) {
                name = QStringLiteral("Metka11_2");
                rows << F3(b.per1) << F3(b.per2) << F3(b.per3) << inflow + QStringLiteral("(ф-10.1)");
            } else if (b.formula == 2) {
                name = QStringLiteral("Metka11_3");
                rows << F3(b.per3) << F3(b.per1) << F3(b.per2) << inflow + QStringLiteral("(ф-10.2)");
            } else if (b.formula == 3) {
                name = QStringLiteral("Metka11_4");
                rows << F3(b.per1) << F3(b.per2) << inflow + QStringLiteral("(ф-10.3)");
            } else {
                // Code 0: the rate was typed in.
                name = QStringLiteral("Metka11_1");
                rows << inflow + QStringLiteral("(ручной ввод)");
            }
            rows << F3(b.t_T);
            return tableFragment(name, rows);
        });
}

// Metka16: the air over the spill.
void MainReport::air()
{
    if (in_.Option3)
        insert("Metka16", fragment(QStringLiteral("Metka16_2"), {{"mTpom", in_.Tempv}}));
    else
        insert("Metka16", fragment(QStringLiteral("Metka16_1"),
                                   {{"mTpom", F3(d_.nyu.temperature)}, {"mVpotok", F3(d_.nyu.speed)}}));
}

// The spill and its evaporation (E4'').
void MainReport::spillConditions()
{
    set({"mTp"}, F3(r_.conditions.Tempp + kKelvin));
    set({"mTkip2"}, F3(Tb() + kKelvin));
    set({"mFp1"}, v_.S_kontakt);
    set({"mFg", "mFg_1"}, v_.S_G);
    set({"mTayP", "mTayP_1", "mTayP_2", "mTay1"}, QString::number(r_.Tau));
    set({"mLambda"}, v_.Koef_teplopr);
    set({"mPlP"}, v_.p);
    set({"mcP"}, v_.c);
    set({"mEps1"}, F3(r_.Eps));
    set({"mMol"}, v_.Mol_massa);
    set({"mNyu"}, v_.txtNyu);
    set({"mT01"}, grid(5));
}

// Metka15: the spill note, when the results screen shows it.
void MainReport::spillNote()
{
    if (v_.Label28.isEmpty())
        return;
    set({"Metka15"}, QStringLiteral("За время ") + QString::number(r_.Tau)
                         + QStringLiteral(" c с поверхности аварийного пролива за счет теплоотдачи от окружающей среды "
                                          "ЖФ перейдет в ПГФ в количестве ")
                         + formatFixed(r_.Gs, 1) + QStringLiteral(" кг, что при сгорании составит энергию, ")
                         + formatFixed(r_.E24, 1) + QStringLiteral(" кДж."));
}

// Metka12: evaporation by heat from the surface.
void MainReport::surfaceEvaporation()
{
    const double Tp = r_.conditions.Tempp + kKelvin;
    if (r_.conditions.Tempp < Tb()) {
        insert("Metka12",
               fragment(QStringLiteral("Metka12_1"), {{"mTkip_G4", F3(Tb() + kKelvin)}, {"mTp_G4", F3(Tp)}}));
        return;
    }
    insert("Metka12", tableFragment(QStringLiteral("Metka12_2"),
                                    {F3(Tp), F3(Tb() + kKelvin), v_.Koef_teplopr, v_.p, v_.c, F3(r_.Eps),
                                     v_.S_kontakt, v_.S_G, QString::number(r_.Tau),
                                     manual(F3(r_.G4), r_.G4_entered)}));
}

// Metka13: evaporation from the mirror by heat from the air.
void MainReport::mirrorEvaporation()
{
    insert("Metka13", tableFragment(QStringLiteral("Metka13"),
                                    {v_.Mol_massa, v_.txtNyu, F3(r_.PnTr / 1000), T1(kAtmSingle),
                                     F3(s_.Tepl_paroobr),
                                     QString(),  // the gas constant stands in the fragment
                                     F3(Tb() + kKelvin), F3(r_.conditions.Tempp + kKelvin), grid(5), T(s_.Tvsp),
                                     intensityText(F3(r_.W)), v_.S_G, manual(F3(r_.G5), r_.G5_entered)}));
}

// Metka14, first part: a substance that does not burn.
void MainReport::formula19()
{
    if (s_.Tepl_sgorPGF == 0)
        set({"Metka14"}, QStringLiteral("В текущем расчете используется формула 19.1, так как для \"") + grid(1)
                             + QStringLiteral("\" удельная теплота сгорания равна 0 кДж/кг."));
}

void MainReport::energyTerms()
{
    set({"mtE11"}, F2(r_.E11));
    set({"mtE21"}, F2(r_.E21));
    set({"mtE12"}, F2(r_.E12));
    set({"mtE22"}, F2(r_.E22));
    set({"mtE23"}, F2(r_.E23));
    set({"mtE24"}, F2(r_.E24));
    set({"mtEp"}, F2(r_.E));
    set({"A"}, F2(r_.A));
    set({"G"}, manual(D2(r_.G), r_.G_entered));
    set({"E1"}, F2(r_.E11));
    set({"Eps"}, F2(r_.Eps));
    // The note of a typed intensity follows the number.
    set({"mi"}, intensityText(F3(r_.W)));
    set({"G4", "G4_1"}, manual(D2(r_.G4), r_.G4_entered));
    set({"G5", "G5_1"}, manual(D2(r_.G5), r_.G5_entered));
    set({"G0"}, manual(D2(r_.Gs), r_.Gs_entered));
    set({"mq"}, F3(s_.Tepl_sgorPGF));
    set({"E4"}, F2(r_.E24));
    set({"E", "E_1", "E_2"}, D2(r_.E));
    set({"m", "m1"}, D2(r_.m));
    set({"Name1", "Name2"}, grid(0));
    set({"Q", "Q1"}, r_.Q > 0 ? D2(r_.Q) : QStringLiteral("0"));
    set({"Kategor"}, v_.Zn_kategor);
    set({"mE11"}, F2(r_.E11));
    set({"mA"}, F2(r_.A));
    set({"mGq"}, F2(r_.Gq));
    set({"mE21"}, F2(r_.E21));
    set({"mE12"}, F2(r_.E12));
    set({"mE22"}, F2(r_.E22));
    set({"mqr"}, F2(r_.qr));
    set({"mE23"}, F2(r_.E23));
    set({"mE24"}, F2(r_.E24));
    set({"mG4"}, manual(D2(r_.G4), r_.G4_entered));
    set({"mG1"}, manual(F3(r_.G), r_.G_entered));
}

// Metka3 and the bookmarks of the vapour-gas phase of the calculated block.
void MainReport::vapourOfBlock()
{
    const double P = main_.Davl;
    const double V = main_.V_PGF;
    const double t = this->t();
    // The run's own V0, so that V0·ρ′ gives the printed G'.
    const QString V0 = r_.G_entered ? kNotUsed : F3(r_.V0);
    insert("Metka3", fragment(QStringLiteral("Metka3"), {{"m3G11", F3(r_.G)},
                                                         {"m3M", T(s_.Mol_massa)},
                                                         {"m3P", T(P)},
                                                         {"m3P0", T1(kAtmSingle)},
                                                         {"m3R0", T(main_.Plotn_PGF)},
                                                         {"m3R01", T(main_.Plotn_PGF)},
                                                         {"m3T1", F3(t + kKelvin)},
                                                         {"m3T11", T(t)},
                                                         {"m3V", T(V)},
                                                         {"m3V0", V0},
                                                         {"m3V01", V0}}));

    const double Tv = r_.conditions.Tempv + kKelvin;
    set({"meps"}, F2(r_.Eps));
    set({"mP0", "mP01"}, T1(kAtmSingle));
    set({"mR"}, QStringLiteral("8314"));
    set({"mrr"}, T(s_.Tepl_paroobr));
    set({"mT0", "mTv"}, F3(Tv));
    set({"mTg"}, F3(r_.conditions.Tg + kKelvin));
    set({"mTr", "mTr1"}, F3(r_.Tr + kKelvin));
    set({"mTkip", "mTkip1"}, F3(Tb() + kKelvin));
    set({"mT1", "mT11"}, T(t + 273));
    set({"mPn1"}, F3(r_.PnT / 1000) + (in_.Check3 ? QStringLiteral(" (введенная)") : QStringLiteral(" (расчетная)")));
    set({"mCn"}, F3(r_.Cn));
    const bool massEntered = main_.znG1 != 0;
    set({"mPl0"}, massEntered ? kNotUsed : grid(7));
    set({"mV"}, massEntered ? kNotUsed : grid(3));
    set({"mG11", "mG12"}, manual(F3(r_.G), r_.G_entered));
    set({"mA1"}, F3(r_.A));
    set({"mGq1"}, F3(r_.Gq));
    set({"mq1"}, F3(s_.Tepl_sgorPGF));
    set({"mE1_1"}, F3(r_.E11));
    set({"mTvsp"}, T(s_.Tvsp));
    set({"mFp"}, v_.S_kontakt);
    set({"mGs"}, T(r_.KoefG_report));
    set({"mVrk"}, v_.t_kontakt);
    set({"Name"}, v_.Name_Vva);
}

void MainReport::spillFormula()
{
    set({"Metka2"}, d_.inputs.settings.G == 1 ? QStringLiteral("Расчет производится по формуле 16.")
                                              : QStringLiteral("Расчет производится по формуле 12."));
}

// Metka4 and Metka5: the work of adiabatic expansion by formula 3.1 or 3.2.
void MainReport::adiabaticWork()
{
    const QString P = grid(4);
    const QString V = grid(3);
    const QString k = grid(8);
    if (d_.inputs.settings.A == 0) {
        insert("Metka4", fragment(QStringLiteral("Metka4"), {{"m4A", F3(r_.A)},
                                                             {"m4K", k},
                                                             {"m4K1", k},
                                                             {"m4K2", k},
                                                             {"m4P", P},
                                                             {"m4P1", P},
                                                             {"m4P0", T1(kAtmSingle)},
                                                             {"m4V", V}}));
        return;
    }
    insert("Metka5", fragment(QStringLiteral("Metka5"),
                              {{"mk", F3(main_.Adiab)}, {"mP", F3(main_.Davl)}, {"Betta", F3(r_.Betta)}}));
    insert("Metka4", fragment(QStringLiteral("Metka4_1"),
                              {{"m4A", F3(r_.A)}, {"m4P", P}, {"m4Betta", F3(r_.Betta)}, {"m4V", V}}));
}

// The terms of the maximum evaporation time.
void MainReport::timesAndMasses()
{
    set({"mTau_max", "mTau_max1"}, v_.txtTau_max);
    set({"mUmax"}, v_.txtUmax);
    set({"mG21", "mG21_1"}, F3(r_.Gs));
    set({"mG12_1", "mG12_2"}, F3(r_.Gperegr));
    set({"mG23", "mG23_1"}, F3(r_.G23));
    set({"mG24_1"}, F3(r_.G4));
}

void MainReport::cloudDrift()
{
    const bool used = in_.Check2;
    set({"mLnkpr"}, used ? T(r_.conditions.Lnkpr) : kNotInvolved);
    set({"mUv"}, used ? T(r_.conditions.Uv) : kNotInvolved);
}

void MainReport::surfaceFormula()
{
    set({"f13_1_2"}, in_.Check1 ? QStringLiteral("13.1") : QStringLiteral("13.2"));
}

// Metka14, second part: the ratio of the spill areas.
void MainReport::areaRatio()
{
    if (s_.Tepl_sgorPGF == 0)
        return;
    const double Fg = calc::parseNumber(r_.conditions.S_G).value_or(0);
    insert("Metka14",
           fragment(QStringLiteral("Metka14"), {{"mFpg", Fg == 0 ? kNoValue : F3(r_.conditions.S_kontakt / Fg)}}));
}

// Metka1: where the saturated vapour pressures come from.
void MainReport::pressureStatement()
{
    const calc::RunSettings& settings = d_.inputs.settings;
    if (settings.G == 1 || settings.Gs) {
        set({"Metka1"}, QStringLiteral("В расчете значение давления насыщенного пара не используется."));
        return;
    }
    const auto formula = [&]() {
        switch (settings.Pn) {
        case 1: return QStringLiteral("по формуле (14.2)");
        case 2: return QStringLiteral("по формуле (14.3)");
        default: return QStringLiteral("по формуле Антуана");
        }
    };
    QString text;
    if (in_.Check3)
        text = QStringLiteral("В расчете используется значение давления насыщенного пара при регламентной температуре в "
                              "аппарате на момент разрушения Pн=")
            + T(r_.PnT) + QStringLiteral(" кПа (введено пользователем вручную).");
    else
        text = QStringLiteral("Давление насыщенного пара при регламентной температуре в аппарате на момент разрушения "
                              "рассчитывается ")
            + formula() + QStringLiteral(", Pн=") + T(r_.PnT) + QStringLiteral(" кПа.");
    if (in_.Check4)
        text += QStringLiteral("В расчете используется значение давления насыщенного пара при максимальной из "
                               "температур (воздуха и жидкости в проливе) Pн=")
            + T(r_.PnTr) + QStringLiteral(" кПа (введено пользователем вручную).");
    else
        text += QStringLiteral("Давление насыщенного пара при максимальной из температур (воздуха и жидкости в "
                               "проливе) рассчитывается ")
            + formula() + QStringLiteral(", Pн=") + T(r_.PnTr) + QStringLiteral(" кПа.");
    set({"Metka1"}, text);
}

void MainReport::closingValues()
{
    set({"mPn", "Pn"}, FS(r_.PnTr));
    set({"mmi"}, intensity(FS(r_.W), main_.mi));
    set({"mi_1"}, intensityText(FS(r_.W)));
    // Right after the pressure and W of section 8.3: why W is 0.
    set({"MetkaW"}, calc::pnNote(r_));
    set({"mmiFg"}, FS(r_.GW));
    set({"mG5"}, manual(D2(r_.G5), r_.G5_entered));
    set({"mm"}, F2(r_.m));
    set({"mQv"}, F2(r_.Q));
    set({"mE"}, F3(r_.E));
    set({"mKateg"}, v_.Zn_kategor);
}

// The four per-block tables of the terms that depend on adjacent blocks.
void MainReport::detailTables()
{
    using Share = double calc::AdjacentResult::*;
    const struct {
        const char* bookmark;
        QString title;
        Share share;
        double total;
    } tables[] = {
        {"tabwGE2", QStringLiteral("Значение E2'"), &calc::AdjacentResult::e12, r_.E12},
        {"tabwGE1", QStringLiteral("Значение E1\""), &calc::AdjacentResult::e21, r_.E21},
        {"tabwGE22", QStringLiteral("Значение E2\""), &calc::AdjacentResult::e22, r_.E22},
        {"tabwGE23", QStringLiteral("Значение E3\""), &calc::AdjacentResult::e23, r_.E23},
    };
    for (const auto& t : tables) {
        QList<QStringList> rows{{QStringLiteral("№ блока"), t.title}};
        const bool ownShare = t.share == &calc::AdjacentResult::e21;
        if (ownShare)
            rows << QStringList{QStringLiteral("1"), FormatDetail(r_.E21own)};
        for (std::size_t i = 0; i < adjacent_.size(); ++i)
            rows << QStringList{QString::number(i + 2), FormatDetail(adjacent_[i].result.*t.share)};
        rows << QStringList{QStringLiteral("Общая"),
                            adjacent_.empty() && !ownShare ? QStringLiteral("0") : FormatDetail(t.total)};

        const QString bookmark = QString::fromLatin1(t.bookmark);
        docx::Table table = doc_.addTable(bookmark, int(rows.size()), 2);
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 2; ++c)
                table.fillCell(r + 1, c + 1, rows[r][c]);
        table.keepTogether();
        table.repeatFirstRow();
        if (bookmark == QLatin1String("tabwGE23"))
            for (docx::BorderSide side : {docx::BorderSide::Top, docx::BorderSide::Left, docx::BorderSide::Bottom,
                                          docx::BorderSide::Right, docx::BorderSide::InsideHorizontal,
                                          docx::BorderSide::InsideVertical})
                table.setBorder(side, {docx::LineStyle::Single, 0.5, QStringLiteral("auto")});
    }
}

// The places of the template stand in paragraphs of their own; one that
// received nothing, or only text, should not leave a blank line.
void MainReport::tidyPlaces()
{
    for (const char* place : {"Begin", "Begin1", "Begin2", "Metka1", "Metka2", "Metka3", "Metka4", "Metka5",
                              "Metka7", "Metka8", "Metka9", "Metka10", "Metka11", "Metka12", "Metka13", "Metka14",
                              "Metka15", "Metka16", "MetkaPn", "MetkaW", "tabwGE2", "tabwGE1", "tabwGE22", "tabwGE23"})
        doc_.dropEmptyParagraph(QString::fromLatin1(place));
}

}  // namespace

docx::Document assembleMainReport(const MainReportData& data)
{
    return MainReport(data).build();
}

QByteArray buildMainReport(const MainReportData& data)
{
    return assembleMainReport(data).toDocx();
}

}  // namespace veltron::report
