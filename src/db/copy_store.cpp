#include "db/copy_store.h"

#include "db/data_source.h"
#include "db/schema.h"

#include <QDateTime>
#include <QMetaType>

#include <cmath>

namespace veltron::db {

namespace {

QMetaType typeOf(FieldType t)
{
    switch (t) {
    case FieldType::Integer: return QMetaType::fromType<qlonglong>();
    case FieldType::Double: return QMetaType::fromType<double>();
    case FieldType::DateTime: return QMetaType::fromType<QDateTime>();
    case FieldType::Text:
    case FieldType::Memo: break;
    }
    return QMetaType::fromType<QString>();
}

// The value as the field's type holds it; a NULL stays NULL.
QVariant fieldValue(const TableDef& table, const FieldDef& field, const QVariant& v)
{
    if (v.isNull())
        return QVariant(typeOf(field.type));
    bool ok = true;
    QVariant out;
    switch (field.type) {
    case FieldType::Integer: {
        const double d = v.toDouble(&ok);
        ok = ok && std::floor(d) == d && std::abs(d) < 9.0e15;
        out = qlonglong(d);
        break;
    }
    case FieldType::Double: {
        const double d = v.toDouble(&ok);
        ok = ok && std::isfinite(d);
        out = d;
        break;
    }
    case FieldType::DateTime: {
        const QDateTime t = v.toDateTime();
        ok = t.isValid();
        out = t;
        break;
    }
    case FieldType::Text:
    case FieldType::Memo:
        out = v.toString();
        break;
    }
    if (!ok)
        throw StoreError(QStringLiteral("Таблица %1, поле %2: значение «%3» не подходит к типу поля. "
                                        "Копирование отменено, база данных назначения не изменена.")
                             .arg(table.name, field.name, v.toString()));
    return out;
}

}  // namespace

QList<CopiedTable> copyStore(const Store& from, Store& to)
{
    if (!from.hasTables())
        throw StoreError(QStringLiteral("В базе данных (%1) нет таблиц программы: копировать нечего.")
                             .arg(describeStore(from.source())));
    QList<CopiedTable> copied;
    // The second base inside the main one: with the embedded store they are
    // two files, and the main one commits last.
    to.transaction(
        [&] {
            to.transaction(
                [&] {
                    to.createSchema(false);
                    for (const TableDef& table : schema()) {
                        QStringList names, marks;
                        for (const FieldDef& f : table.fields) {
                            names << f.name;
                            marks << QStringLiteral("?");
                        }
                        const QList<QSqlRecord> rows =
                            from.query(QStringLiteral("SELECT %1 FROM %2").arg(names.join(", "), table.name), {},
                                       table.base);
                        QList<QVariantList> values;
                        values.reserve(rows.size());
                        for (const QSqlRecord& r : rows) {
                            QVariantList row;
                            for (std::size_t i = 0; i < table.fields.size(); ++i)
                                row << fieldValue(table, table.fields[i], r.value(int(i)));
                            values << row;
                        }
                        to.exec(QStringLiteral("DELETE FROM %1").arg(table.name), {}, table.base);
                        to.execRows(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                        .arg(table.name, names.join(", "), marks.join(", ")),
                                    values, table.base);
                        copied << CopiedTable{table.name, int(rows.size())};
                    }
                },
                Base::Second);
        },
        Base::Main);
    return copied;
}

}  // namespace veltron::db
