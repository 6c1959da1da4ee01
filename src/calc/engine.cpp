#include "calc/engine.h"

#include "calc/number_text.h"
#include "calc/vapour_mass.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace veltron::calc {

namespace {

// The engine's constants 0.1013, 273.15 and 101.3 are single-precision values.
constexpr double kAtm = kNormalPressure;                  // MPa
constexpr double kT0 = static_cast<double>(273.15f);      // K at 0 °C
constexpr double kAtmKPa = static_cast<double>(101.3f);   // kPa
constexpr float kAtmSingle = 0.1013f;
const double kSqrtPi = std::sqrt(std::numbers::pi);
constexpr double kLargestContactTime = 32767;  // the counters of the repetitions are 16-bit

struct StopSignal {
    Stop stop;
};

// The stops are rare: kept out of line, so that the checks on the way of a
// normal run cost a compare and a branch.
#define VELTRON_STOP [[noreturn, gnu::cold, gnu::noinline]]

VELTRON_STOP void stopWith(const QString& title, const QString& message,
                           StopIcon icon = StopIcon::Error)
{
    throw StopSignal{Stop{title, message, icon}};
}

QString num(double x) { return numberText(x); }

// A computed quantity in a message, without the digits of binary rounding
// (a superheat of 68.6 − 68 °C reads "0,6").
QString approx(double x, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return numberText(std::round(x * scale) / scale);
}

QString blockLabel(const BlockData& b, bool isMain)
{
    if (isMain)
        return QStringLiteral("расчетный блок");
    QString label = QStringLiteral("смежный блок № %1").arg(b.Id);
    if (!b.Name_blok.isEmpty())
        label += QStringLiteral(" «%1»").arg(b.Name_blok);
    return label;
}

const QString kSpill = QStringLiteral("аварийный пролив");

// Where a quantity is computed; the text is made only when a message needs it.
class Where {
public:
    Where(const QString& text) : text_(&text) {}
    Where(const BlockData& block, bool isMain) : block_(&block), isMain_(isMain) {}
    QString text() const { return text_ ? *text_ : blockLabel(*block_, isMain_); }

private:
    const QString* text_ = nullptr;
    const BlockData* block_ = nullptr;
    bool isMain_ = false;
};

// An arithmetic fault: the run ends without results, naming the quantity and
// where it was computed.
VELTRON_STOP void fault(const QString& quantity, const Where& where, const QString& reason)
{
    stopWith(text::kAttention, QStringLiteral("Ошибка в расчете: %1, %2 — %3. Результаты расчета не получены.")
                                   .arg(quantity, where.text(), reason));
}

const QString kNotFinite =
    QStringLiteral("результат не является конечным числом (переполнение или недопустимая операция)");

double finite(double v, const QString& quantity, const Where& where)
{
    if (!std::isfinite(v))
        fault(quantity, where, kNotFinite);
    return v;
}

VELTRON_STOP void divisionByZero(const QString& quantity, const Where& where, const QString& why)
{
    fault(quantity, where, QStringLiteral("деление на ноль (%1)").arg(why));
}

double divisor(double d, const QString& quantity, const Where& where, const QString& why)
{
    if (d == 0)
        divisionByZero(quantity, where, why);
    return d;
}

VELTRON_STOP void negativeRoot(double arg, const QString& quantity, const Where& where)
{
    fault(quantity, where, QStringLiteral("корень из отрицательного числа (%1)").arg(num(arg)));
}

double root(double arg, const QString& quantity, const Where& where)
{
    if (arg < 0)
        negativeRoot(arg, quantity, where);
    return finite(std::sqrt(finite(arg, quantity, where)), quantity, where);
}

// Heat of a source: its rate (kJ/s) over its time (s). A negative rate or
// time is not data a run can use.
VELTRON_STOP void negativeHeat(double rate, double time, const QString& quantity, const Where& where)
{
    fault(quantity, where,
          QStringLiteral("отрицательная скорость теплопритока или время (%1 кДж/с, %2 с)").arg(num(rate), num(time)));
}

double heatBrought(double rate, double time, const QString& quantity, const Where& where)
{
    if (rate < 0 || time < 0)
        negativeHeat(rate, time, quantity, where);
    return finite(rate * time, quantity, where);
}

VELTRON_STOP void missingData(const QString& message)
{
    stopWith(text::kAttention, message + QStringLiteral(" Результаты расчета не получены."));
}

const QString kHeatOfVaporisation = QStringLiteral("удельная теплота парообразования r");
const QString kHeatCapacity = QStringLiteral("удельная теплоемкость жидкой фазы c'");

// A property of the substance that is empty or 0 in the directory while a
// term has something to work on: the run stops instead of giving that term 0.
VELTRON_STOP void missingProperty(const SubstData& s, const Where& where, const QStringList& fields,
                                  const QString& need)
{
    const bool one = fields.size() == 1;
    missingData(QStringLiteral("Для вещества «%1» (%2) в справочнике веществ не %3 %4 (пусто или 0), а %5 для "
                               "расчета %6. Дополните справочник веществ.")
                    .arg(s.Name, where.text(), one ? QStringLiteral("задана") : QStringLiteral("заданы"),
                         fields.join(QStringLiteral(" и ")),
                         one ? QStringLiteral("она нужна") : QStringLiteral("они нужны"), need));
}

// Formula 14.2 gives the saturated vapour pressure only above the boiling
// point; below it the evaporation intensity comes out 0, and the user is told
// why and what gives the pressure there.
QString vapourPressureNote(double Tr, double Tb)
{
    return QStringLiteral("Давление насыщенного пара при расчетной температуре %1 °C не определено: формула 14.2 "
                          "дает его только выше температуры кипения вещества (%2 °C). Поэтому интенсивность "
                          "испарения W = 0 и испарение пролива за счет теплопередачи от воздуха в расчете не "
                          "учтено. Ниже температуры кипения давление насыщенного пара дает формула 14.3 или "
                          "формула Антуана (выбор формулы — в настройках расчета).")
        .arg(numberText(Tr), numberText(Tb));
}

void checkInputsFinite(const RunInputs& in)
{
    const auto check = [](double v, const char* field, const Where& where) {
        if (!std::isfinite(v))
            stopWith(text::kAttention,
                     QStringLiteral("Недопустимое значение поля %1 (%2): не является числом.")
                         .arg(QString::fromLatin1(field), where.text()));
    };
#define VELTRON_BLOCK_NUMBERS(X)                                                                   \
    X(V_GF) X(V_PGF) X(Davl) X(Temp) X(Plotn_GF) X(Plotn_PGF) X(Adiab) X(S_sech) X(Sk_teploper_GG) \
    X(Sk_teploper_GF) X(Koef_gidro) X(t) X(t_P) X(t_T) X(pVist) X(pVist_zad) X(pVistG)            \
    X(pVistG_zad) X(znG1) X(znG2) X(pmi)
    const auto checkBlock = [&](const BlockData& b, bool isMain) {
        // A double is infinite or NaN exactly when every bit of its exponent
        // is set: one test of all fields passes a sound block, the field is
        // looked for only when it fails.
        constexpr std::uint64_t kExponent = 0x7ff0000000000000;
#define VELTRON_EXPONENT_FULL(f) | ((std::bit_cast<std::uint64_t>(b.f) & kExponent) == kExponent)
        if (!(false VELTRON_BLOCK_NUMBERS(VELTRON_EXPONENT_FULL)))
            return;
#undef VELTRON_EXPONENT_FULL
        const Where where(b, isMain);
#define VELTRON_CHECK(f) check(b.f, #f, where);
        VELTRON_BLOCK_NUMBERS(VELTRON_CHECK)
#undef VELTRON_CHECK
    };
#undef VELTRON_BLOCK_NUMBERS
    checkBlock(in.main, true);
    for (const BlockData& b : in.adjacent)
        checkBlock(b, false);
    const GeneralConditions& c = in.conditions;
    const QString where = QStringLiteral("общие условия расчета");
#define VELTRON_CHECK(f) check(c.f, #f, where)
    VELTRON_CHECK(S_kontakt); VELTRON_CHECK(t_kontakt); VELTRON_CHECK(Tempv); VELTRON_CHECK(Tg);
    VELTRON_CHECK(Tempp); VELTRON_CHECK(c); VELTRON_CHECK(p); VELTRON_CHECK(Koef_teplopr);
    VELTRON_CHECK(Nyu); VELTRON_CHECK(Uv); VELTRON_CHECK(Lnkpr); VELTRON_CHECK(Pn);
    VELTRON_CHECK(Pn1);
#undef VELTRON_CHECK
    const RunSettings& s = in.settings;
    const QString settingsWhere = QStringLiteral("настройки расчета");
    check(s.znGs, "Gs", settingsWhere);
    check(s.znG4, "G4", settingsWhere);
    check(s.znG5, "G5", settingsWhere);
}

// The whole-number contact time that bounds the evaporation repetitions.
int contactSteps(double tk)
{
    const double n = roundHalfEven(tk);
    if (!(std::fabs(n) <= kLargestContactTime))
        fault(QStringLiteral("время испарения Tau"), kSpill,
              QStringLiteral("время контакта жидкости с поверхностью пролива %1 с больше %2 с")
                  .arg(num(tk), num(kLargestContactTime)));
    return static_cast<int>(n);
}

class Runner {
public:
    Runner(const RunInputs& in, const Reference& ref) : in_(in), ref_(ref) {}

    RaschResult run(const std::function<void()>& appendJournalRow);

private:
    const SubstData& lookupSubstance(const BlockData& b, bool isMain);
    void adiabaticWork();
    double betta();
    double bettaRow(double k, double p) const;
    double bettaOutOfTable(double kRow, double p) const;
    double vapourPressure(double T, const QString& quantity) const;
    void pressures();
    void mainVapour();
    void mainLiquid();
    void adjacentBlock(const BlockData& b, const SubstData& s, AdjacentResult& out);
    double rememberedExp(double x);
    void spill();
    double koefG() const;
    void totals();
    void evaporationTimes();
    void zones();
    void checkResultFinite() const;

    const RunInputs& in_;
    const Reference& ref_;
    RaschResult r_;
    SubstData s1_;
    double Fg_ = 0;  // the number in S_G
    QString mainLabel_ = QStringLiteral("расчетный блок");
    // The substance looked up last, checked: neighbouring blocks mostly hold the same one.
    QString lastName_;
    std::optional<SubstData> lastSubstance_;
    double lastExpArgument_ = std::numeric_limits<double>::quiet_NaN();
    double lastExp_ = 0;
};

// The calculated block with its name, for a message about it.
QString mainBlockName(const BlockData& b)
{
    return b.Name_blok.isEmpty() ? QStringLiteral("расчетный блок")
                                 : QStringLiteral("расчетный блок «%1»").arg(b.Name_blok);
}

RaschResult Runner::run(const std::function<void()>& appendJournalRow)
{
    const GeneralConditions& c = in_.conditions;
    // Step 1, 2: the fields compared as texts.
    if (c.Zet == QLatin1String("0"))
        stopWith(text::kAttentionSpaced, text::kZetMissing, StopIcon::None);
    if (c.Check1 && c.S_G == QLatin1String("0"))
        stopWith(text::kAttention, text::kMirrorAreaMissing);

    // Step 5.
    checkInputsFinite(in_);
    r_ = RaschResult{};
    r_.conditions = c;
    r_.adjacent.assign(in_.adjacent.size(), AdjacentResult{});  // copies: no zeroing loop per element

    // Step 6.
    if (!(in_.main.Adiab > 1))
        stopWith(text::kAttention, text::kMainAdiab);
    if (!(in_.main.Davl > 0))
        stopWith(text::kAttention, text::kMainDavl);

    // Step 7.
    if (appendJournalRow)
        appendJournalRow();

    // Step 8.
    const auto z = parseNumber(c.Zet);
    if (!z)
        fault(QStringLiteral("доля z"), QStringLiteral("общие условия расчета"),
              QStringLiteral("значение «%1» не является числом").arg(c.Zet));
    r_.z = *z;
    const auto Fg = parseNumber(c.S_G);
    if (!Fg)
        fault(QStringLiteral("площадь поверхности зеркала жидкости"), kSpill,
              QStringLiteral("значение «%1» не является числом").arg(c.S_G));
    Fg_ = *Fg;

    // Step 9.
    s1_ = lookupSubstance(in_.main, true);
    if (!(s1_.Mol_massa > 0))
        stopWith(text::kAttention, text::kMainMolMass);
    r_.subst = s1_;

    adiabaticWork();  // step 10
    pressures();      // steps 11, 12
    mainVapour();     // step 13
    mainLiquid();     // step 14

    // Step 15.
    for (std::size_t i = 0; i < in_.adjacent.size(); ++i) {
        const BlockData& b = in_.adjacent[i];
        if (i == 0 || b.Name != in_.adjacent[i - 1].Name)
            r_.adjacentSubstances.push_back(lookupSubstance(b, false));
        const SubstData& s = r_.adjacentSubstances.back();
        if (!(b.Adiab > 1))
            stopWith(text::kAttention, text::kAdjacentAdiab);
        if (b.Davl < 0.1013 && b.znG1 == 0)
            stopWith(text::kAttentionSpaced, text::kAdjacentBelowAtm);
        r_.adjacent[i].substance = r_.adjacentSubstances.size() - 1;
        adjacentBlock(b, s, r_.adjacent[i]);
    }

    // Step 16: qr, η and the evaporation intensity.
    r_.qr = s1_.Tepl_paroobr != 0 ? s1_.Tepl_sgorPGF / s1_.Tepl_paroobr : 0;
    r_.Nyu = c.Nyu;
    if (in_.main.mi)
        r_.W = in_.main.pmi;
    else
        r_.W = finite(std::sqrt(s1_.Mol_massa) * (r_.Nyu * 1e-6 * r_.PnTr),
                      QStringLiteral("интенсивность испарения W"), kSpill);
    if (!in_.main.mi && in_.settings.G == 0 && in_.settings.Pn == 1 && !c.Check4 && !(r_.Tr > s1_.T_kip))
        r_.PnNotDetermined = true;

    // Step 17.
    const double superheat = in_.main.Temp - s1_.T_kip;
    if (s1_.Tepl_paroobr != 0 && superheat > 0) {
        r_.Gperegr = finite((1 - std::exp(-s1_.Teploem_GF * superheat / s1_.Tepl_paroobr)) * r_.Ggf,
                            QStringLiteral("масса ЖФ, испарившейся за счет перегрева"), mainLabel_);
        if (!(r_.Gperegr >= 0))
            r_.Gperegr = 0;
    }
    r_.G23 = s1_.Tepl_sgorPGF != 0 ? r_.E23 / s1_.Tepl_sgorPGF : 0;

    spill();             // step 18
    totals();            // step 19
    evaporationTimes();  // step 20
    zones();             // step 21
    checkResultFinite();
    return std::move(r_);
}

const SubstData& Runner::lookupSubstance(const BlockData& b, bool isMain)
{
    if (lastSubstance_ && b.Name == lastName_)
        return *lastSubstance_;
    auto s = ref_.substance(b.Name);
    if (!s)
        missingData(QStringLiteral("Вещество «%1» (%2) не найдено в справочнике веществ.")
                        .arg(b.Name, blockLabel(b, isMain)));
    for (double v : {s->Mol_massa, s->T_kip, s->Tvsp, s->Tepl_sgorPGF, s->Tepl_paroobr,
                     s->Teploem_GF, s->pA, s->pB, s->pCa})
        if (!std::isfinite(v))
            missingData(QStringLiteral("Данные вещества «%1» (%2) в справочнике веществ не являются числами.")
                            .arg(b.Name, blockLabel(b, isMain)));
    lastName_ = b.Name;
    lastSubstance_ = std::move(s);
    return *lastSubstance_;
}

// Step 10: work of adiabatic expansion, formula 3.1 or 3.2.
void Runner::adiabaticWork()
{
    const BlockData& b = in_.main;
    const QString quantity = QStringLiteral("энергия адиабатического расширения A");
    if (in_.settings.A == 0) {
        const double k = b.Adiab;
        r_.A = finite(1000 * b.Davl * b.V_PGF / (k - 1) *
                          (1 - std::pow(kAtm / b.Davl, (k - 1) / k)),
                      quantity, mainLabel_);
    } else {
        r_.Betta = betta();
        r_.A = finite(1000 * r_.Betta * b.Davl * b.V_PGF, quantity, mainLabel_);
    }
}

double Runner::bettaRow(double k, double p) const
{
    const auto beta = ref_.betta(k, p);
    if (!beta || !std::isfinite(*beta))
        missingData(QStringLiteral("В таблице коэффициентов β (tabBetta) нет строки с k = %1 и P ≥ %2 МПа.")
                        .arg(num(k), num(p)));
    return *beta;
}

double Runner::bettaOutOfTable(double kRow, double p) const
{
    if (p <= 0.5)
        return 1.6;
    if (p >= 100)
        return 4.63;
    return bettaRow(kRow, p);
}

double Runner::betta()
{
    const double k = in_.main.Adiab;
    const double p = in_.main.Davl;
    const auto lower = ref_.bettaKAtMost(k);
    if (!lower)
        return bettaOutOfTable(1.1, p);
    const auto upper = ref_.bettaKAtLeast(k);
    if (!upper)
        return bettaOutOfTable(1.4, p);
    // The table's k values pass through a "0.00" text before they are used.
    const double kLo = roundTrip(*lower, 2);
    const double kHi = roundTrip(*upper, 2);
    if (kLo != kHi) {
        const double bLo = bettaRow(kLo, p);
        const double bHi = bettaRow(kHi, p);
        return finite(bHi + (kHi - k) * (bLo - bHi) / (kHi - kLo),
                      QStringLiteral("коэффициент β"), mainLabel_);
    }
    return bettaRow(kHi, p);
}

double Runner::vapourPressure(double T, const QString& quantity) const
{
    const SubstData& s = s1_;
    const QString& where = mainLabel_;
    double v = 0;
    switch (in_.settings.Pn) {
    case 1:  // formula 14.2
        if (T > s.T_kip) {
            const double dTb = divisor(s.T_kip + kT0, quantity, where,
                                       QStringLiteral("температура кипения равна −273,15 °C"));
            const double dT = divisor(T + kT0, quantity, where,
                                      QStringLiteral("температура равна −273,15 °C"));
            v = kAtm * 1000 *
                std::exp((1 / dTb - 1 / dT) * s.Tepl_paroobr * s.Mol_massa / (8314.0 / 1000));
        }
        break;
    case 2:  // formula 14.3
        if (!s.hasTvsp)
            missingData(QStringLiteral("Для вещества «%1» (%2) в справочнике веществ не задана температура "
                                       "вспышки: формула 14.3 давления насыщенного пара к нему неприменима. "
                                       "Выберите в настройках расчета другую формулу или задайте давление "
                                       "насыщенного пара вручную.")
                            .arg(s.Name, where));
        v = std::exp(6.908 + 0.043 * (T - 0.924 * s.Tvsp + 2.6055)) /
            divisor(7.48 * s.Tvsp + 1047, quantity, where,
                    QStringLiteral("7,48 × Tvsp + 1047 = 0"));
        break;
    default:  // Antoine
        if (!s.hasAntoine)
            missingData(QStringLiteral("Для вещества «%1» (%2) в справочнике веществ не заданы константы "
                                       "формулы Антуана. Выберите в настройках расчета другую формулу давления "
                                       "насыщенного пара или задайте давление вручную.")
                            .arg(s.Name, where));
        v = std::pow(10.0, s.pA - s.pB / divisor(s.pCa + T, quantity, where,
                                                  QStringLiteral("Ca + T = 0 в формуле Антуана")));
        break;
    }
    return finite(v, quantity, where);
}

// Steps 11 and 12: design temperature, saturated vapour pressures, Cn.
void Runner::pressures()
{
    const GeneralConditions& c = in_.conditions;
    r_.Tr = c.Tg >= c.Tempv ? c.Tg : c.Tempv;
    r_.PnT = c.Check3 ? c.Pn
                      : vapourPressure(in_.main.Temp,
                                       QStringLiteral("давление насыщенного пара Pн при температуре в блоке"));
    r_.PnTr = c.Check4 ? c.Pn1
                       : vapourPressure(r_.Tr,
                                        QStringLiteral("давление насыщенного пара Pн при расчетной температуре"));
    if (!(r_.PnTr >= 0))
        r_.PnTr = 0;
    if (in_.settings.G == 0 && !c.Check3 && r_.PnTr == 0) {
        const QString head = QStringLiteral(
            "Проверьте правильность выбора формулы расчета давления насыщенного пара, вами выбрана ");
        switch (in_.settings.Pn) {
        case 1: r_.Label17 = head + QStringLiteral("формула 14.2!"); break;
        case 2: r_.Label17 = head + QStringLiteral("формула 14.3!"); break;
        default: r_.Label17 = head + QStringLiteral("формула Антуана!"); break;
        }
    }
    r_.Cn = finite(r_.PnT * 100 /
                       divisor(r_.PnT + kAtmKPa, QStringLiteral("концентрация Cn"), mainLabel_,
                               QStringLiteral("Pн = −101,3 кПа")),
                   QStringLiteral("концентрация Cn"), mainLabel_);
}

// Step 13: mass of the vapour-gas phase in the main block and E1'.
void Runner::mainVapour()
{
    const BlockData& b = in_.main;
    const QString quantity = QStringLiteral("масса ПГФ G'");
    if (b.G1) {
        r_.G = b.znG1;
        r_.G_entered = true;
    } else {
        const auto reduced = reduceToNormalConditions(b.Plotn_PGF, b.V_PGF, b.Davl, b.Temp);
        if (!reduced)
            missingData(QStringLiteral("Регламентная температура в блоке (%1) %2 °C не выше абсолютного нуля "
                                       "(-273,15 °C): массу ПГФ нельзя привести к нормальным условиям. Исправьте "
                                       "температуру блока.")
                            .arg(mainBlockName(b), num(b.Temp)));
        r_.V0 = finite(reduced->V0, QStringLiteral("объем ПГФ при нормальных условиях V0"), mainLabel_);
        r_.G = finite(reduced->G, quantity, mainLabel_);
    }
    if (!(r_.G >= 0))
        r_.G = 0;
    if (r_.A < 0)
        r_.A = 0;
    r_.Gq = finite(s1_.Tepl_sgorPGF * r_.G, QStringLiteral("G'·q'"), mainLabel_);
    r_.E11 = finite(r_.Gq + r_.A, QStringLiteral("энергия E1'"), mainLabel_);
}

// Step 14: liquid phase of the main block and its part of E1''.
void Runner::mainLiquid()
{
    const BlockData& b = in_.main;
    if (b.G2) {
        r_.Ggf = b.znG2;
        r_.Ggf_entered = true;
    } else {
        r_.Ggf = finite(b.V_GF * b.Plotn_GF, QStringLiteral("масса ЖФ G''"), mainLabel_);
    }
    const double superheat = b.Temp - s1_.T_kip;
    if (r_.Ggf > 0 && roundHalfEven(superheat) != 0 && superheat > 0) {
        QStringList missing;
        if (s1_.Tepl_paroobr == 0)
            missing << kHeatOfVaporisation;
        if (s1_.Teploem_GF == 0)
            missing << kHeatCapacity;
        if (!missing.isEmpty())
            missingProperty(s1_, Where(mainBlockName(b)), missing,
                            QStringLiteral("энергии E1'': жидкая фаза блока перегрета на %1 °C").arg(approx(superheat, 2)));
    }
    if (s1_.Tepl_paroobr != 0 && roundHalfEven(superheat) != 0 && superheat > 0)
        r_.E21own = finite(s1_.qGF() * r_.Ggf *
                               (1 - std::exp(-s1_.Teploem_GF * superheat / s1_.Tepl_paroobr)),
                           QStringLiteral("энергия E1''"), mainLabel_);
    r_.E21 = r_.E21own;
}

// exp(x), kept for the last x: neighbouring blocks mostly hold the same
// substance at the same temperature, and the same x gives the same digits.
double Runner::rememberedExp(double x)
{
    if (x != lastExpArgument_) {
        lastExpArgument_ = x;
        lastExp_ = std::exp(x);
    }
    return lastExp_;
}

// Step 15 for one adjacent block: its vapour side, then its liquid side.
void Runner::adjacentBlock(const BlockData& b, const SubstData& s, AdjacentResult& out)
{
    const Where where(b, false);
    out.Id = b.Id;
    const double P = b.Davl;
    const double k = b.Adiab;
    const double tau = b.t;

    // Vapour side.
    if (b.G1) {
        out.g12 = b.znG1;
        out.g12_entered = true;
    } else {
        const QString wq = QStringLiteral("скорость истечения ПГФ w");
        if (b.pVist_zad != 0) {
            out.w12 = b.pVist_zad;
        } else {
            if (P - kAtm > 0.07) {
                if (b.Plotn_PGF != 0)
                    out.w12 = root(2 * k / (k + 1) * P * 1e6 / b.Plotn_PGF, wq, where);
            } else if (!(P == 0 || k == 1 || static_cast<float>(P) == kAtmSingle)) {
                divisor(b.Plotn_PGF, wq, where, QStringLiteral("плотность ПГФ равна 0"));
                out.w12 = root(2 * k / (k - 1) * P * 1e6 / b.Plotn_PGF *
                                   (1 - std::pow(kAtm / P, (k - 1) / k)),
                               wq, where);
            }
            if (tau > 10 && b.pVist < out.w12)
                out.w12 = b.pVist;
        }
        const double gOut = b.Temp - s.T_kip > 0 ? b.Plotn_PGF * out.w12 * b.S_sech * tau : 0;
        const double gIn = b.Plotn_PGF * b.V_PGF;
        out.g12 = finite(gIn >= gOut ? gOut : gIn, QStringLiteral("масса ПГФ"), where);
    }
    out.e12 = finite(out.g12 * s.Tepl_sgorPGF, QStringLiteral("энергия E2'"), where);
    r_.E12 += out.e12;

    // Liquid side.
    const double r = s.Tepl_paroobr;
    if (b.G2) {
        out.g21 = b.znG2;
        out.g21_entered = true;
    } else {
        if (b.Plotn_GF == 0 || r == 0) {
            // no outflow of liquid
        } else if (b.pVistG_zad != 0) {
            out.w21 = b.pVistG_zad;
        } else {
            if (static_cast<float>(P) != kAtmSingle)
                out.w21 = b.Koef_gidro * root(2 * (P - kAtm) * 1e6 / b.Plotn_GF,
                                              QStringLiteral("скорость истечения ЖФ"), where);
            if (b.pVistG < out.w21)
                out.w21 = b.pVistG;
        }
        out.g21 = finite(b.Plotn_GF * out.w21 * b.S_sech * tau, QStringLiteral("масса ЖФ"), where);
    }
    const double superheat = b.Temp - s.T_kip;
    if (superheat > 0) {
        QStringList missing;
        if (r == 0)
            missing << kHeatOfVaporisation;
        if (s.Teploem_GF == 0 && out.g21 > 0)
            missing << kHeatCapacity;
        if (!missing.isEmpty())
            missingProperty(s, where, missing,
                            QStringLiteral("энергии E1'': из блока поступает жидкая фаза, перегретая на %1 °C")
                                .arg(approx(superheat, 2)));
        const QString eq = QStringLiteral("энергия E1''");
        out.e21 = finite(s1_.qGF() * out.g21 * (1 - rememberedExp(-s.Teploem_GF * superheat / r)), eq,
                         where);
    }
    r_.E21 += out.e21;
    if (r == 0) {
        // Without r the heat a source brings forms vapour that cannot be counted.
        if (b.Sk_teploper_GG > 0 && b.t_P > 0)
            missingProperty(s, where, {kHeatOfVaporisation},
                            QStringLiteral("энергии E2'': тепло экзотермических реакций %1 кДж")
                                .arg(approx(b.Sk_teploper_GG * b.t_P, 3)));
        if (b.Sk_teploper_GF > 0 && b.t_T > 0)
            missingProperty(s, where, {kHeatOfVaporisation},
                            QStringLiteral("энергии E3'': теплоприток от внешних теплоносителей %1 кДж")
                                .arg(approx(b.Sk_teploper_GF * b.t_T, 3)));
    } else {
        // The heat a source brings until it stops is its rate times its time
        // (kJ/s × s); the vapour it forms burns with q' per r of that heat.
        const QString e22 = QStringLiteral("энергия E2''");
        out.e22 = finite(heatBrought(b.Sk_teploper_GG, b.t_P, e22, where) * s.Tepl_sgorPGF / r, e22, where);
        const QString e23 = QStringLiteral("энергия E3''");
        out.e23 = finite(heatBrought(b.Sk_teploper_GF, b.t_T, e23, where) * s.Tepl_sgorPGF / r, e23, where);
    }
    r_.E22 += out.e22;
    r_.E23 += out.e23;
}

double Runner::koefG() const
{
    const double Tb = s1_.T_kip;
    if (Tb <= -80)
        return 425;
    if (Tb >= 60)
        return 10;
    const std::vector<GRow>& rows = ref_.gRows();
    std::size_t i = 0;
    while (i < rows.size() && rows[i].t < Tb)
        ++i;
    if (i == rows.size())
        missingData(QStringLiteral("В таблице коэффициентов формулы 16 (tabG) нет строки с температурой "
                                   "не ниже температуры кипения %1 °C.")
                        .arg(num(Tb)));
    if (i == 0)
        missingData(QStringLiteral("В таблице коэффициентов формулы 16 (tabG) нет строки с температурой "
                                   "ниже температуры кипения %1 °C.")
                        .arg(num(Tb)));
    const GRow& hi = rows[i];
    const GRow& lo = rows[i - 1];
    return finite(hi.G + (hi.t - Tb) * (lo.G - hi.G) / (hi.t - lo.t),
                  QStringLiteral("коэффициент формулы 16"), kSpill);
}

// Step 18: evaporation from the spill and E4''.
void Runner::spill()
{
    const GeneralConditions& c = in_.conditions;
    const RunSettings& set = in_.settings;
    const double Tb = s1_.T_kip;
    const double r = s1_.Tepl_paroobr;
    const double tk = c.t_kontakt;
    const double Fk = c.S_kontakt;
    const QString gq = QStringLiteral("масса ЖФ, испарившейся с поверхности пролива");

    if (r_.Ggf == 0) {
        // nothing spills
    } else if (set.G == 1) {
        r_.KoefG = koefG();
        r_.KoefG_report = roundTrip(r_.KoefG, 2);
        const int n = contactSteps(tk);
        r_.Gs = finite(tk * (Fk * r_.KoefG) / 50 / 180, gq, kSpill);
        // The repetition only advances the counter: it stops after one step when
        // the liquid is used up or the time is short, else at the contact time.
        r_.Tau = (!(r_.Ggf > r_.Gs) || 2 >= n) ? 2 : n;
    } else {
        const double Fg = Fg_;
        // Below its boiling point the liquid still evaporates into the air (W);
        // only the heat from the surface needs the surface above it.
        const bool noEvaporation = c.S_G == QLatin1String("0") || r == 0;
        if (!noEvaporation) {
            r_.Eps = root(c.c * c.Koef_teplopr * c.p,
                          QStringLiteral("тепловая активность поверхности ε"), kSpill);
            const bool surfaceHeat = c.Tempp - Tb > 0;
            double c4 = 0;
            if (surfaceHeat) {
                c4 = 2 * (c.Tempp - Tb) / (r * 1000) * r_.Eps / kSqrtPi;
                if (c.Check1)
                    c4 = c4 * (Fk * Fk) /
                         divisor(Fg, QStringLiteral("масса G4 (формула 13.1)"), kSpill,
                                 QStringLiteral("площадь поверхности зеркала жидкости равна 0"));
                else
                    c4 = c4 * Fk;
                finite(c4, QStringLiteral("масса G4"), kSpill);
            }
            const double left = r_.Ggf - r_.Gperegr - r_.G23;
            const SpillSteps steps =
                evaporateFormula12(c4, surfaceHeat, Fg, r_.W, left, contactSteps(tk));
            r_.Tau = steps.Tau;
            r_.G4 = finite(steps.G4, QStringLiteral("масса G4"), kSpill);
            r_.G5 = finite(steps.G5, QStringLiteral("масса G5"), kSpill);
        }
        r_.GW = finite(Fg * r_.W, QStringLiteral("скорость испарения с зеркала"), kSpill);
        if (set.G4) {
            r_.G4 = set.znG4;
            r_.G4_entered = true;
        }
        if (set.G5) {
            r_.G5 = set.znG5;
            r_.G5_entered = true;
        }
        r_.Gs = finite(r_.G5 + r_.G4, gq, kSpill);
    }
    if (set.Gs) {
        r_.Gs = set.znGs;
        r_.Gs_entered = true;
    }
    r_.E24 = finite(s1_.Tepl_sgorPGF * r_.Gs, QStringLiteral("энергия E4''"), kSpill);

    if (r_.Tau != 0 && r_.Tau < contactSteps(tk)) {
        const FixedDigits gs = roundFixed(r_.Gs, 1);
        r_.Label28 = QStringLiteral("За время ") + QString::number(r_.Tau) +
                     QStringLiteral(" c с поверхности аварийного пролива за счет теплоотдачи от "
                                    "окружающей среды ЖФ перейдет в ПГФ в количестве ") +
                     (gs.negative ? QStringLiteral("-") : QString()) +
                     QString::fromStdString(gs.integer + "," + gs.fraction) + QStringLiteral(" кг.");
    }
}

// Step 19: E, m, category, Qв and the TNT equivalent.
void Runner::totals()
{
    r_.E = finite(r_.E12 + r_.E11 + r_.E21 + r_.E22 + r_.E23 + r_.E24,
                  QStringLiteral("полная энергия E"), mainLabel_);
    if (r_.E < 0)
        fault(QStringLiteral("полная энергия E"), mainLabel_,
              QStringLiteral("отрицательное значение %1 кДж (проверьте данные веществ)").arg(num(r_.E)));
    r_.m = r_.E / 46000;
    r_.Zn_kategor = QString::fromLatin1(categoryForMass(r_.m));
    r_.Q = finite(std::pow(r_.E, 1.0 / 3) * (1 / 16.534), QStringLiteral("потенциал Qв"), mainLabel_);
    const QString wq = QStringLiteral("тротиловый эквивалент Wт");
    if (s1_.Tepl_sgorPGF != 0)
        r_.Wt = finite(s1_.Tepl_sgorPGF * 0.4 / 0.9 / 4520 * r_.m * r_.z, wq, mainLabel_);
    else
        r_.Wt = finite(r_.A * 0.4 / 0.9 / 4520, wq, mainLabel_);
}

// Step 20: maximum evaporation time and the time of formula 15.
void Runner::evaporationTimes()
{
    const GeneralConditions& c = in_.conditions;
    const double Fg = Fg_;
    if (r_.W != 0 && Fg != 0) {
        r_.Tau_max = finite((r_.Gs - r_.Gperegr - r_.G23 - r_.G4) / r_.W / Fg,
                            QStringLiteral("время испарения Tmax"), kSpill);
        if (!(r_.Tau_max >= 0))
            r_.Tau_max = 0;
    }
    if (!c.Check2)
        return;
    const double r = s1_.Tepl_paroobr;
    if (c.Uv == 0 || r == 0 || r_.W == 0 || Fg == 0 || r_.Tau_max == 0)
        return;
    const QString tq = QStringLiteral("время испарения по формуле 15");
    const double B = 3 * (c.Tempp - s1_.T_kip) / (r * 1000) * r_.Eps / kSqrtPi * c.S_kontakt / Fg / r_.W;
    const double tStar = r_.Tau_max > 3600 ? 3600 : r_.Tau_max;
    const double ratio = B / std::sqrt(tStar);
    r_.Tau15 = finite(ratio * ratio * (c.Lnkpr / c.Uv), tq, kSpill);
}

// Step 21: reduced radius and the radii of the five zones.
void Runner::zones()
{
    const QString rq = QStringLiteral("приведенный радиус R0");
    if (r_.Wt == 0)
        return;
    if (r_.Wt < 0)
        fault(rq, mainLabel_,
              QStringLiteral("отрицательный тротиловый эквивалент %1 кг").arg(num(r_.Wt)));
    r_.R0 = finite(reducedRadius(r_.Wt, formulaForMass(r_.m)), rq, mainLabel_);
    const ZoneRadii radii = zoneRadii(r_.R0);
    for (std::size_t i = 0; i < radii.size(); ++i)
        r_.Rzone[i] = finite(radii[i], QStringLiteral("радиус зоны разрушений"), mainLabel_);
}

// A last guard: no value that is not a finite number leaves the engine.
void Runner::checkResultFinite() const
{
    const RaschResult& r = r_;
    const std::pair<const char*, double> fields[] = {
        {"A", r.A}, {"Betta", r.Betta}, {"G", r.G}, {"Gq", r.Gq}, {"E11", r.E11}, {"E12", r.E12},
        {"Ggf", r.Ggf}, {"E21own", r.E21own}, {"E21", r.E21}, {"E22", r.E22}, {"E23", r.E23},
        {"E24", r.E24}, {"Gperegr", r.Gperegr}, {"G23", r.G23}, {"qr", r.qr}, {"Tr", r.Tr},
        {"PnT", r.PnT}, {"PnTr", r.PnTr}, {"Cn", r.Cn}, {"Nyu", r.Nyu}, {"W", r.W},
        {"Eps", r.Eps}, {"KoefG", r.KoefG}, {"G4", r.G4}, {"G5", r.G5}, {"Gs", r.Gs},
        {"GW", r.GW}, {"Tau_max", r.Tau_max}, {"Tau15", r.Tau15}, {"E", r.E}, {"m", r.m},
        {"Q", r.Q}, {"Wt", r.Wt}, {"R0", r.R0}};
    for (const auto& [name, value] : fields)
        if (!std::isfinite(value))
            fault(QString::fromLatin1(name), mainLabel_, kNotFinite);
}

#undef VELTRON_STOP

}  // namespace

SpillSteps evaporateFormula12(double c4, bool surfaceHeat, double Fg, double W, double R, int n,
                              bool stepByStep)
{
    const auto masses = [&](int T) {
        SpillSteps s;
        s.Tau = T + 1;
        s.G4 = surfaceHeat ? c4 * std::sqrt(static_cast<double>(T)) : 0;
        s.G5 = Fg * (T * W);
        return s;
    };
    const auto done = [&](const SpillSteps& s) { return s.G5 + s.G4 >= R; };
    const int last = n - 1 > 1 ? n - 1 : 1;  // the step after which the time runs out

    // With non-negative factors both masses grow with T, in rounded arithmetic
    // too, so the first step that evaporates the liquid can be searched for.
    if (!stepByStep && (!surfaceHeat || c4 >= 0) && Fg >= 0 && W >= 0) {
        if (!done(masses(last)))
            return masses(last);
        int lo = 1, hi = last;  // done(hi) holds
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (done(masses(mid)))
                hi = mid;
            else
                lo = mid + 1;
        }
        return masses(lo);
    }
    for (int T = 1;; ++T) {
        const SpillSteps s = masses(T);
        if (done(s) || s.Tau >= n)
            return s;
    }
}

RunOutcome run(const RunInputs& inputs, const Reference& reference,
               const std::function<void()>& appendJournalRow)
{
    try {
        return Runner(inputs, reference).run(appendJournalRow);
    } catch (const StopSignal& s) {
        return s.stop;
    }
}

QString pnNote(const RaschResult& result)
{
    return result.PnNotDetermined ? vapourPressureNote(result.Tr, result.subst.T_kip) : QString();
}

}  // namespace veltron::calc
