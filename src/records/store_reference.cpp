#include "records/store_reference.h"

namespace veltron::records {

namespace {

// Reads the rows of one table of the methodology; a field that holds no
// number is refused naming the table.
void readTable(const db::Store& store, const QString& sql, const QString& table,
               const std::function<void(const db::Row&)>& fn)
{
    try {
        store.forEachRow(sql, {}, fn);
    } catch (const db::NotANumber& e) {
        throw e.at(QStringLiteral("таблица %1").arg(table));
    }
}

calc::SubstData substanceFrom(const db::Row& r)
{
    calc::SubstData s;
    s.Name = r.text(0);
    s.Mol_massa = r.number(1);
    s.T_kip = r.number(2);
    s.Tvsp = r.number(3);
    s.Tepl_sgorPGF = r.number(4);
    s.Tepl_paroobr = r.number(5);
    s.Teploem_GF = r.number(6);
    s.pA = r.number(7);
    s.pB = r.number(8);
    s.pCa = r.number(9);
    s.hasTvsp = !r.isNull(3);
    s.hasAntoine = !r.isNull(7) && !r.isNull(8) && !r.isNull(9);
    return s;
}

}  // namespace

StoreReference::StoreReference(const db::Store& store)
{
    std::vector<calc::BettaRow> betta;
    readTable(store, QStringLiteral("SELECT k, P, Betta FROM tabBetta"), QStringLiteral("tabBetta"),
              [&](const db::Row& r) {
                  const calc::BettaRow row{r.number(0), r.number(1), r.number(2)};
                  if (!r.isNull(0) && !r.isNull(1))
                      betta.push_back(row);
              });
    tables_.setBetta(std::move(betta));

    std::vector<calc::GRow> g;
    readTable(store, QStringLiteral("SELECT t, G FROM tabG ORDER BY t"), QStringLiteral("tabG"),
              [&](const db::Row& r) {
                  const calc::GRow row{r.number(0), r.number(1)};
                  if (!r.isNull(0))
                      g.push_back(row);
              });
    tables_.setG(std::move(g));

    store.forEachRow(
        QStringLiteral("SELECT Name, Mol_massa, T_kip, Tvsp, Tepl_sgorPGF, Tepl_paroobr, Teploem_GF, pA, pB, pCa "
                       "FROM SubstChar"),
        {}, [&](const db::Row& r) {
            const QString name = r.text(0);
            if (substances_.contains(name))  // the first row of a name, as a select of that name returns it
                return;
            try {
                substances_.insert(name, substanceFrom(r));
            } catch (const db::NotANumber& e) {
                substances_.insert(name, e.at(QStringLiteral("вещество «%1» в справочнике веществ").arg(name)));
            }
        });
}

std::optional<calc::SubstData> StoreReference::substance(const QString& name) const
{
    const auto found = substances_.constFind(name);
    if (found == substances_.constEnd())
        return std::nullopt;
    if (const auto* bad = std::get_if<db::NotANumber>(&*found))
        throw *bad;
    return std::get<calc::SubstData>(*found);
}

}  // namespace veltron::records
