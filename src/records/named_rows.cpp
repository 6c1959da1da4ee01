#include "records/named_rows.h"

#include <QSqlRecord>

namespace veltron::records {

bool nameStored(const db::Store& store, const NamedTable& table, const QString& name)
{
    const auto rows = store.query(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Name = ?").arg(table.table), {name},
                                  table.base);
    return !rows.isEmpty() && rows.first().value(0).toLongLong() > 0;
}

bool saveNamedRow(db::Store& store, const NamedTable& table, const QString& oldName, const QString& name,
                  const QVariantList& values)
{
    Q_ASSERT(values.size() == table.fields.size());
    bool saved = false;
    store.transaction(
        [&] {
            if (name != oldName && nameStored(store, table, name))
                return;
            const QVariantList all = QVariantList{name} + values;
            if (oldName.isEmpty()) {
                QStringList marks;
                for (int i = 0; i < all.size(); ++i)
                    marks << QStringLiteral("?");
                QStringList columns = QStringList{QStringLiteral("Name")} + table.fields;
                if (!table.orderField.isEmpty()) {
                    columns << table.orderField;
                    marks << QStringLiteral("(SELECT COALESCE(MAX(%1), 0) + 1 FROM %2)")
                                 .arg(table.orderField, table.table);
                }
                store.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(table.table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                           all, table.base);
            } else {
                QStringList sets{QStringLiteral("Name = ?")};
                for (const QString& f : table.fields)
                    sets << f + QStringLiteral(" = ?");
                const int changed = store.exec(QStringLiteral("UPDATE %1 SET %2 WHERE Name = ?")
                                                   .arg(table.table, sets.join(QStringLiteral(", "))),
                                               all + QVariantList{oldName}, table.base);
                if (changed == 0)
                    throw db::StoreError(
                        QStringLiteral("Запись «%1» больше не найдена в справочнике: изменения не сохранены.")
                            .arg(oldName));
            }
            saved = true;
        },
        table.base);
    return saved;
}

void deleteNamedRow(db::Store& store, const NamedTable& table, const QString& name)
{
    store.transaction([&] { store.exec(QStringLiteral("DELETE FROM %1 WHERE Name = ?").arg(table.table), {name}, table.base); },
                      table.base);
}

QVariant nullableNumber(const std::optional<double>& value)
{
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

QVariant nullableText(const QString& text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

std::optional<double> optionalNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

}  // namespace veltron::records
