#include "db/rows.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>

namespace veltron::db {

namespace {

// A stored text as a message may repeat it: at most a short line, control
// characters shown as "?".
QString shown(const QString& text)
{
    constexpr int kLongest = 40;
    QString out = text.left(kLongest);
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    if (text.size() > kLongest)
        out += QChar(0x2026);
    return out;
}

// Statements of many rows stay below this many parameters, which every
// driver takes.
constexpr int kParametersPerStatement = 10000;

QString insertRowsSql(const QString& table, const QStringList& columns, qsizetype rows)
{
    const QString one = QLatin1Char('(') + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                        QLatin1Char(')');
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(table, columns.join(QLatin1Char(',')), QStringList(rows, one).join(QLatin1Char(',')));
}

}  // namespace

NotANumber::NotANumber(const QString& field, const QString& value, const QString& where)
    : StoreError(where.isEmpty()
                     ? QStringLiteral("В поле %1 записано «%2» — это не число.").arg(field, value)
                     : QStringLiteral("%1%2: в поле %3 записано «%4» — это не число.")
                           .arg(where.left(1).toUpper(), where.mid(1), field, value)),
      field_(field), value_(value), where_(where)
{
}

std::optional<double> storedNumber(const QVariant& v, const QString& field)
{
    if (v.isNull())
        return std::nullopt;
    double d = 0;
    bool ok = true;
    switch (v.typeId()) {
    case QMetaType::Double: d = v.toDouble(); break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool: d = v.toDouble(&ok); break;
    // SQLite keeps what does not read as a number as text; a server may
    // hand exact decimals over as text.
    case QMetaType::QString: d = v.toString().toDouble(&ok); break;
    default: ok = false; break;
    }
    if (!ok || !std::isfinite(d))
        throw NotANumber(field, shown(v.toString()));
    return d;
}

QVariant Row::value(int i) const
{
    return query_.value(i);
}

bool Row::isNull(int i) const
{
    return query_.isNull(i);
}

QString Row::text(int i) const
{
    return query_.value(i).toString();
}

double Row::number(int i) const
{
    return optionalNumber(i).value_or(0.0);
}

std::optional<double> Row::optionalNumber(int i) const
{
    const QVariant v = query_.value(i);
    if (v.typeId() == QMetaType::Double)  // the common case, without a name
        return v.toDouble();
    try {
        return storedNumber(v, {});
    } catch (const NotANumber& e) {
        throw NotANumber(fieldName(i), e.value());
    }
}

QString Row::fieldName(int i) const
{
    return query_.record().fieldName(i);
}

void insertRows(Store& store, const QString& table, const QStringList& columns, const QList<QVariantList>& rows,
                Base base)
{
    if (rows.isEmpty())
        return;
    // The embedded store has no round trips to save, and its statements are
    // read in a time that grows with the square of their parameters: there
    // one row per statement is fastest.
    const qsizetype perStatement =
        store.isEmbedded()
            ? 1
            : std::max<qsizetype>(1, std::min<qsizetype>(rows.size(), kParametersPerStatement / columns.size()));
    const auto flatten = [&](qsizetype from, qsizetype count) {
        QVariantList values;
        values.reserve(count * columns.size());
        for (qsizetype i = from; i < from + count; ++i)
            values += rows[i];
        return values;
    };
    const qsizetype full = rows.size() / perStatement;
    QList<QVariantList> statements;
    for (qsizetype k = 0; k < full; ++k)
        statements << flatten(k * perStatement, perStatement);
    store.execRows(insertRowsSql(table, columns, perStatement), statements, base);
    if (const qsizetype rest = rows.size() - full * perStatement; rest > 0)
        store.exec(insertRowsSql(table, columns, rest), flatten(full * perStatement, rest), base);
}

}  // namespace veltron::db
