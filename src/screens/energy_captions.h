#pragma once

#include <QString>

namespace veltron::screens::captions {

// Captions of the energy terms, shared by the results screen and the
// hand-over dialog of the complex calculation.
inline const QString LE11 = QStringLiteral(
    "Сумма энергий адиабатического расширения А (кДж) и сгорания ПГФ, находящейся в блоке, кДж");
inline const QString LE12 = QStringLiteral(
    "Энергия сгорания ПГФ, поступившей к разгерметизированному участку от смежных объектов (блоков), кДж");
inline const QString LE21 = QStringLiteral(
    "Энергия сгорания ПГФ, образующейся за счет энергии перегретой ЖФ рассматриваемого блока и поступившей от "
    "смежных объектов за время t, кДж");
inline const QString LE22 = QStringLiteral(
    "Энергия сгорания ПГФ, образующейся из ЖФ за счет тепла экзотермических реакций, не прекращающихся при "
    "разгерметизации, кДж");
inline const QString LE23 =
    QStringLiteral("Энергия сгорания ПГФ, образующейся из ЖФ за счет теплопритока от внешних теплоносителей, кДж");
inline const QString LE24 = QStringLiteral(
    "Энергия сгорания ПГФ, образующейся из пролитой на твердую поверхность (пол, поддон, грунт и т.п.) ЖФ за счет "
    "теплоотдачи от окружающей среды (от твердой поверхности и воздуха к жидкости по ее поверхности), кДж");

}  // namespace veltron::screens::captions
