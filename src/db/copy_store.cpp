#include "db/copy_store.h"

#include "db/data_source.h"
#include "db/rows.h"
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

// Moves the rows of one table, a batch at a time; returns their number.
int copyTable(const Store& from, Store& to, const TableDef& table,
              const std::function<void(const CopyProgress&)>& progress)
{
    QStringList names;
    for (const FieldDef& f : table.fields)
        names << f.name;
    CopyProgress done{table.name, 0,
                      from.query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.name), {}, table.base)
                          .first().value(0).toInt()};
    if (progress)
        progress(done);
    QList<QVariantList> batch;
    batch.reserve(kCopyBatch);
    const auto write = [&] {
        insertRows(to, table.name, names, batch, table.base);
        done.copied += int(batch.size());
        batch.clear();
        if (progress)
            progress(done);
    };
    from.forEachRowInBatches(
        QStringLiteral("SELECT %1 FROM %2").arg(names.join(", "), table.name), kCopyBatch,
        [&](const Row& r) {
            QVariantList row;
            row.reserve(qsizetype(table.fields.size()));
            for (std::size_t i = 0; i < table.fields.size(); ++i)
                row << fieldValue(table, table.fields[i], r.value(int(i)));
            batch << row;
            if (batch.size() == kCopyBatch)
                write();
        },
        table.base);
    if (!batch.isEmpty())
        write();
    done.finished = true;
    if (progress)
        progress(done);
    return done.copied;
}

// A server plans its queries by statistics of its tables, which a copy of
// many rows leaves out of date until the server's own analysis comes round:
// until then it reads a few calculations by scanning whole tables. The copy
// is done by now; statistics that cannot be gathered change nothing of it.
void refreshStatistics(Store& to)
{
    if (to.isEmbedded())
        return;
    for (const TableDef& table : schema()) {
        try {
            to.exec(QStringLiteral("ANALYZE %1").arg(table.name), {}, table.base);
        } catch (const StoreError&) {
        }
    }
}

}  // namespace

QList<CopiedTable> copyStore(const Store& from, Store& to, const std::function<void(const CopyProgress&)>& progress)
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
                        to.exec(QStringLiteral("DELETE FROM %1").arg(table.name), {}, table.base);
                        copied << CopiedTable{table.name, copyTable(from, to, table, progress)};
                    }
                },
                Base::Second);
        },
        Base::Main);
    refreshStatistics(to);
    return copied;
}

}  // namespace veltron::db
