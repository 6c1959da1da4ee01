#include "records/named_rows.h"

#include "records/calculations.h"

#include <QSqlRecord>

namespace veltron::records {

namespace {

QString versionKey(const NamedTable& table, const QString& name)
{
    return table.table + QLatin1Char(':') + name;
}

ConcurrentChange changedByAnother(const NamedTable& table, const QString& name, const QString& consequence)
{
    return ConcurrentChange(QStringLiteral("Запись «%1» (%2) изменил другой пользователь после того, как вы ее "
                                           "открыли. %3, чтобы не затереть его данные: откройте запись заново.")
                                .arg(name, table.directory, consequence));
}

}  // namespace

QString versionColumn(const NamedTable& table)
{
    return table.directory.isEmpty() ? QString() : QStringLiteral(", Versiya");
}

void noteRowVersions(const db::Store& store, const NamedTable& table, const QList<QSqlRecord>& rows)
{
    if (table.directory.isEmpty())
        return;
    for (const QSqlRecord& r : rows)
        store.noteVersion(versionKey(table, r.value(QStringLiteral("Name")).toString()),
                          qint64(db::numberField(r, "Versiya")));
}

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
                if (!table.directory.isEmpty())
                    store.noteVersion(versionKey(table, name), 0);
            } else {
                QStringList sets{QStringLiteral("Name = ?")};
                for (const QString& f : table.fields)
                    sets << f + QStringLiteral(" = ?");
                QString where = QStringLiteral("Name = ?");
                QVariantList params = all + QVariantList{oldName};
                const std::optional<qint64> read =
                    table.directory.isEmpty() ? std::nullopt : store.knownVersion(versionKey(table, oldName));
                if (!table.directory.isEmpty())
                    sets << QStringLiteral("Versiya = COALESCE(Versiya, 0) + 1");
                if (read) {
                    where += QStringLiteral(" AND COALESCE(Versiya, 0) = ?");
                    params << *read;
                }
                const int changed = store.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                                   .arg(table.table, sets.join(QStringLiteral(", ")), where),
                                               params, table.base);
                if (changed == 0 && read && nameStored(store, table, oldName))
                    throw changedByAnother(table, oldName, QStringLiteral("Ваши изменения не сохранены"));
                if (changed == 0)
                    throw db::StoreError(
                        QStringLiteral("Запись «%1» больше не найдена в справочнике: изменения не сохранены.")
                            .arg(oldName));
                if (!table.directory.isEmpty()) {
                    store.noteVersion(versionKey(table, oldName), std::nullopt);
                    if (read)
                        store.noteVersion(versionKey(table, name), *read + 1);
                }
            }
            saved = true;
        },
        table.base);
    return saved;
}

void deleteNamedRow(db::Store& store, const NamedTable& table, const QString& name)
{
    const std::optional<qint64> read =
        table.directory.isEmpty() ? std::nullopt : store.knownVersion(versionKey(table, name));
    store.transaction(
        [&] {
            if (!read) {
                store.exec(QStringLiteral("DELETE FROM %1 WHERE Name = ?").arg(table.table), {name}, table.base);
                return;
            }
            if (store.exec(QStringLiteral("DELETE FROM %1 WHERE Name = ? AND COALESCE(Versiya, 0) = ?").arg(table.table),
                           {name, *read}, table.base)
                    == 0
                && nameStored(store, table, name))
                throw changedByAnother(table, name, QStringLiteral("Запись не удалена"));
            store.noteVersion(versionKey(table, name), std::nullopt);
        },
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
