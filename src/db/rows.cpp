#include "db/rows.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

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

// Statements of many rows stay below this many parameters: the client
// library of PostgreSQL refuses to describe much more than 7 000.
constexpr int kParametersPerStatement = 4000;

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

bool RecordText::read(QStringView text)
{
    text_ = text;
    fields_.clear();
    if (text.size() < 2 || text.front() != u'(' || text.back() != u')')
        return false;
    const qsizetype end = text.size() - 1;
    qsizetype i = 1;
    for (;;) {
        Field f;
        if (i < end && text[i] == u'"') {
            f.quoted = true;
            f.from = ++i;
            // Inside the quotes a quote or a backslash is written twice,
            // or a backslash stands before the character it keeps.
            while (i < end && !(text[i] == u'"' && (i + 1 >= end || text[i + 1] != u'"'))) {
                if (text[i] == u'\\' || text[i] == u'"')
                    ++i;
                ++i;
            }
            if (i >= end)
                return false;
            f.size = i - f.from;
            ++i;  // the closing quote
        } else {
            f.from = i;
            while (i < end && text[i] != u',')
                ++i;
            f.size = i - f.from;
            f.null = f.size == 0;
        }
        fields_.push_back(f);
        if (i == end)
            return true;
        if (text[i] != u',')
            return false;
        ++i;
    }
}

const RecordText::Field* RecordText::field(int i) const
{
    return i >= 0 && std::size_t(i) < fields_.size() ? &fields_[std::size_t(i)] : nullptr;
}

bool RecordText::isNull(int i) const
{
    const Field* f = field(i);
    return !f || f->null;
}

QString RecordText::text(int i) const
{
    const Field* f = field(i);
    if (!f || f->null)
        return {};
    const QStringView value = text_.mid(f->from, f->size);
    if (!f->quoted)
        return value.toString();
    QString out;
    out.reserve(value.size());
    for (qsizetype k = 0; k < value.size(); ++k) {
        if ((value[k] == u'\\' || value[k] == u'"') && k + 1 < value.size())
            ++k;
        out += value[k];
    }
    return out;
}

std::optional<double> RecordText::number(int i) const
{
    const Field* f = field(i);
    if (!f || f->null)
        return std::nullopt;
    // A number is written in ASCII, not quoted, shortest form that reads back exactly.
    char digits[64];
    if (f->quoted || f->size >= qsizetype(sizeof digits))
        return std::numeric_limits<double>::quiet_NaN();
    for (qsizetype k = 0; k < f->size; ++k) {
        const char16_t c = text_[f->from + k].unicode();
        if (c > 0x7f)
            return std::numeric_limits<double>::quiet_NaN();
        digits[k] = char(c);
    }
    double d = 0;
    const auto res = std::from_chars(digits, digits + f->size, d);
    if (res.ec != std::errc() || res.ptr != digits + f->size)
        return std::numeric_limits<double>::quiet_NaN();
    return d;
}

QVariant Row::value(int i) const
{
    if (record_)
        return record_->isNull(i) ? QVariant() : QVariant(record_->text(i));
    if (statement_) {
        switch (sqlite3_column_type(statement_, i)) {
        case SQLITE_NULL: return QVariant();
        case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(statement_, i)));
        case SQLITE_FLOAT: return QVariant(sqlite3_column_double(statement_, i));
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, i)),
                              sqlite3_column_bytes(statement_, i));
        default: return text(i);
        }
    }
    return query_->value(i);
}

bool Row::isNull(int i) const
{
    if (record_)
        return record_->isNull(i);
    if (statement_)
        return sqlite3_column_type(statement_, i) == SQLITE_NULL;
    return query_->isNull(i);
}

QString Row::text(int i) const
{
    if (record_)
        return record_->text(i);
    if (statement_) {
        const auto* chars = static_cast<const QChar*>(sqlite3_column_text16(statement_, i));
        return chars ? QString(chars, sqlite3_column_bytes16(statement_, i) / 2) : QString();
    }
    return query_->value(i).toString();
}

double Row::number(int i) const
{
    return optionalNumber(i).value_or(0.0);
}

std::optional<double> Row::optionalNumber(int i) const
{
    if (statement_) {
        switch (sqlite3_column_type(statement_, i)) {
        case SQLITE_NULL: return std::nullopt;
        case SQLITE_INTEGER: return double(sqlite3_column_int64(statement_, i));
        case SQLITE_FLOAT:
            if (const double d = sqlite3_column_double(statement_, i); std::isfinite(d))
                return d;
            break;
        default: break;
        }
    } else if (record_) {
        const std::optional<double> d = record_->number(i);
        if (!d || std::isfinite(*d))
            return d;
    } else {
        const QVariant v = query_->value(i);
        if (v.typeId() == QMetaType::Double && std::isfinite(v.toDouble()))  // the common case, without a name
            return v.toDouble();
        try {
            return storedNumber(v, {});
        } catch (const NotANumber& e) {
            throw NotANumber(fieldName(i), e.value());
        }
    }
    // Text that another program wrote into the field may still hold a number.
    return storedNumber(value(i), fieldName(i));
}

QString Row::fieldName(int i) const
{
    if (record_)
        return fieldName_(i);
    if (statement_)
        return QString::fromUtf8(sqlite3_column_name(statement_, i));
    return query_->record().fieldName(i);
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
