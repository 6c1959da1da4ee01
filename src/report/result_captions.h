#pragma once

#include <QString>

#include <array>

namespace veltron::report::captions {

// Captions of the results screen that the main report repeats before the
// values they name.

// Page "Блоки".
inline const QString Lab8 = QStringLiteral("Информация о рассчитываемом блоке");
inline const QString Lab9 = QStringLiteral("Информация о смежных блоках");
// Legend of the adjacent-block grid, La1 … La7.
inline const std::array<QString, 7> La = {
    QStringLiteral("I - Площадь сечения, через которое возможно истечение ПГФ или ЖФ при АРБ, кв. м"),
    QStringLiteral("II - Скорость теплопритока к ГФ за счет суммарного теплового эффекта экзотермической реакции, "
                   "кДж/с"),
    QStringLiteral("III - Скорость теплопритока к ЖФ от внешних теплоносителей, кДж/с"),
    QStringLiteral("IV - Безразмерный коэффициент, учитывающий гидродинамику процесса"),
    QStringLiteral("V - Время с момента АРБ до полного срабатывания отключающей аварийный блок арматуры, с"),
    QStringLiteral("VI - Время с момента АРБ до полного прекращения экзотермических процессов, с"),
    QStringLiteral("VII - Время с момента АРБ до полного прекращения подачи теплоносителя к аварийному блоку "
                   "(прекращение теплообменного процесса), с"),
};

// Page "Общие": the substance.
inline const QString LName_Vva = QStringLiteral("Название вещества в АРБ");
inline const QString LMol_massa = QStringLiteral("Молярная масса, кг/кмоль");
inline const QString LT_kip = QStringLiteral("Температура кипения, °C");
inline const QString LTepl_sgorGF = QStringLiteral("Удельная теплота сгорания жидкой фазы, кДж/кг");
inline const QString LTepl_sgorPGF = QStringLiteral("Удельная теплота сгорания парогазовой фазы, кДж/кг");
inline const QString LTepl_paroobr = QStringLiteral("Удельная теплота парообразования, кДж/кг");
inline const QString LTeploem_GF = QStringLiteral("Удельная теплоемкость жидкой фазы, кДж/(кг·К)");

// Page "Общие": the conditions of the spill.
inline const QString Lt_kontakt =
    QStringLiteral("Время контакта жидкости с поверхностью пролива, принимаемое в расчет, с");
inline const QString LType = QStringLiteral("Вид подстилающей поверхности");
inline const QString LS_kontakt = QStringLiteral(
    "Площадь контакта жидкости с твердой поверхностью пролива (площадь теплообмена между пролитой жидкостью и "
    "твердой поверхностью), кв.м");
inline const QString LS_G = QStringLiteral("Площадь поверхности зеркала жидкости, кв.м");
inline const QString LTempp = QStringLiteral("Температура твердой поверхности (пола, поддона, грунта и т.п.), °C");
inline const QString Label32 = QStringLiteral("Температура жидкости в проливе, °C");

}  // namespace veltron::report::captions
