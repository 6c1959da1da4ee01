#include "records/blocks.h"

#include "records/calculations.h"

#include "db/rows.h"

#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <variant>
#include <vector>

namespace veltron::records {

namespace {

using Member = std::variant<int Block::*, double Block::*, QString Block::*>;

struct Column {
    QString name;
    Member member;
};

const std::vector<Column>& columns()
{
    static const std::vector<Column> cols = {
        {"Id_Rasch", &Block::Id_Rasch},
        {"Id", &Block::Id},
        {"Name_blok", &Block::Name_blok},
        {"Name", &Block::Name},
        {"V_GF", &Block::V_GF},
        {"V_PGF", &Block::V_PGF},
        {"Davl", &Block::Davl},
        {"Temp", &Block::Temp},
        {"Plotn_GF", &Block::Plotn_GF},
        {"Plotn_PGF", &Block::Plotn_PGF},
        {"Adiab", &Block::Adiab},
        {"S_sech", &Block::S_sech},
        {"Sk_teploper_GG", &Block::Sk_teploper_GG},
        {"Sk_teploper_GF", &Block::Sk_teploper_GF},
        {"Koef_gidro", &Block::Koef_gidro},
        {"t", &Block::t},
        {"t_P", &Block::t_P},
        {"t_T", &Block::t_T},
        {"formula", &Block::formula},
        {"per1", &Block::per1},
        {"per2", &Block::per2},
        {"per3", &Block::per3},
        {"pVist", &Block::pVist},
        {"pVist_zad", &Block::pVist_zad},
        {"pVistG", &Block::pVistG},
        {"pVistG_zad", &Block::pVistG_zad},
        {"G1", &Block::G1},
        {"znG1", &Block::znG1},
        {"G2", &Block::G2},
        {"znG2", &Block::znG2},
        {"mi", &Block::mi},
        {"pmi", &Block::pmi},
    };
    return cols;
}

QString selectBlocks(const QString& where)
{
    return QStringLiteral("SELECT %1 FROM tabBloki WHERE %2").arg(blockColumns().join(QStringLiteral(", ")), where);
}

// The blocks of a query of one calculation; a stored number that is not a
// number is refused with the calculation's name.
QList<Block> readBlocks(const db::Store& store, int idRasch, const QString& where, const QVariantList& params)
{
    QList<Block> out;
    try {
        store.forEachRow(selectBlocks(where), params, [&](const db::Row& r) { out << blockFrom(r); });
    } catch (const db::NotANumber& e) {
        const auto calculation = findById(store, idRasch);
        throw db::StoreError(notANumberMessage(calculation ? calculation->name : QString::number(idRasch), e));
    }
    return out;
}

QVariantList valuesOf(const Block& b)
{
    QVariantList values;
    for (const auto& c : columns())
        std::visit([&](auto m) { values << QVariant::fromValue(b.*m); }, c.member);
    return values;
}

}  // namespace

const QStringList& blockColumns()
{
    static const QStringList names = [] {
        QStringList n;
        for (const auto& c : columns())
            n << c.name;
        return n;
    }();
    return names;
}

Block blockFrom(const db::Row& r)
{
    Block b;
    b.Id = 0;  // not read yet
    try {
        for (std::size_t i = 0; i < columns().size(); ++i)
            std::visit(
                [&](auto m) {
                    using T = std::remove_reference_t<decltype(b.*m)>;
                    if constexpr (std::is_same_v<T, QString>)
                        b.*m = r.text(int(i));
                    else if constexpr (std::is_same_v<T, int>)
                        b.*m = r.whole(int(i));
                    else
                        b.*m = r.number(int(i));
                },
                columns()[i].member);
    } catch (const db::NotANumber& e) {
        throw e.at(b.Id == 0 ? QStringLiteral("блок") : blockLabel(b));
    }
    return b;
}

QString blockLabel(const Block& b)
{
    if (b.isMain())
        return QStringLiteral("расчетный блок");
    QString label = QStringLiteral("смежный блок № %1").arg(b.Id);
    if (!b.Name_blok.isEmpty())
        label += QStringLiteral(" «%1»").arg(b.Name_blok);
    return label;
}

QList<Block> blocksOf(const db::Store& store, int idRasch)
{
    return readBlocks(store, idRasch, QStringLiteral("Id_Rasch = ? ORDER BY Id"), {idRasch});
}

std::optional<Block> findBlock(const db::Store& store, int idRasch, int id)
{
    const QList<Block> found = readBlocks(store, idRasch, QStringLiteral("Id_Rasch = ? AND Id = ?"), {idRasch, id});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

int nextAdjacentNumber(const db::Store& store, int idRasch)
{
    const auto rows = store.query(QStringLiteral("SELECT MAX(Id) FROM tabBloki WHERE Id_Rasch = ?"), {idRasch});
    const int largest = rows.isEmpty() || rows.first().value(0).isNull() ? 0 : rows.first().value(0).toInt();
    return std::max(2, largest + 1);
}

void saveBlock(db::Store& store, const Block& block)
{
    store.transaction([&] {
        takeForChange(store, block.Id_Rasch);
        const QVariantList values = valuesOf(block);
        const auto existing = store.query(QStringLiteral("SELECT COUNT(*) FROM tabBloki WHERE Id_Rasch = ? AND Id = ?"),
                                          {block.Id_Rasch, block.Id});
        if (!existing.isEmpty() && existing.first().value(0).toInt() > 0) {
            QStringList sets;
            QVariantList params;
            for (int i = 2; i < blockColumns().size(); ++i) {
                sets << blockColumns()[i] + QStringLiteral(" = ?");
                params << values[i];
            }
            params << block.Id_Rasch << block.Id;
            store.exec(QStringLiteral("UPDATE tabBloki SET %1 WHERE Id_Rasch = ? AND Id = ?").arg(sets.join(", ")),
                       params);
        } else {
            QStringList marks;
            for (int i = 0; i < blockColumns().size(); ++i)
                marks << QStringLiteral("?");
            store.exec(QStringLiteral("INSERT INTO tabBloki (%1) VALUES (%2)")
                           .arg(blockColumns().join(", "), marks.join(", ")),
                       values);
        }
    });
}

void deleteBlock(db::Store& store, int idRasch, int id)
{
    store.transaction([&] {
        takeForChange(store, idRasch);
        store.exec(QStringLiteral("DELETE FROM tabBloki WHERE Id_Rasch = ? AND Id = ?"), {idRasch, id});
    });
}

void renumberAdjacent(db::Store& store, int idRasch)
{
    store.transaction([&] {
        takeForChange(store, idRasch);
        const auto rows = store.query(
            QStringLiteral("SELECT Id FROM tabBloki WHERE Id_Rasch = ? AND Id > 1 ORDER BY Id"), {idRasch});
        int next = 2;
        for (const auto& r : rows) {
            const int id = r.value(0).toInt();
            if (id != next)
                store.exec(QStringLiteral("UPDATE tabBloki SET Id = ? WHERE Id_Rasch = ? AND Id = ?"),
                           {next, idRasch, id});
            ++next;
        }
    });
}

void deleteAdjacentBlock(db::Store& store, int idRasch, int id)
{
    store.transaction([&] {
        deleteBlock(store, idRasch, id);
        renumberAdjacent(store, idRasch);
    });
}

}  // namespace veltron::records
