#include "records/store_reference.h"

#include <QSqlRecord>

namespace veltron::records {

StoreReference::StoreReference(const db::Store& store) : store_(store)
{
    std::vector<calc::BettaRow> betta;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT k, P, Betta FROM tabBetta")))
        if (!r.isNull(QStringLiteral("k")) && !r.isNull(QStringLiteral("P")))
            betta.push_back({db::numberField(r, "k"), db::numberField(r, "P"), db::numberField(r, "Betta")});
    tables_.setBetta(std::move(betta));

    std::vector<calc::GRow> g;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT t, G FROM tabG ORDER BY t")))
        if (!r.isNull(QStringLiteral("t")))
            g.push_back({db::numberField(r, "t"), db::numberField(r, "G")});
    tables_.setG(std::move(g));
}

std::optional<calc::SubstData> StoreReference::substance(const QString& name) const
{
    const auto cached = substances_.constFind(name);
    if (cached != substances_.constEnd())
        return *cached;
    const auto rows = store_.query(QStringLiteral("SELECT * FROM SubstChar WHERE Name = ?"), {name});
    std::optional<calc::SubstData> found;
    if (!rows.isEmpty()) {
        const QSqlRecord& r = rows.first();
        calc::SubstData s;
        s.Name = r.value(QStringLiteral("Name")).toString();
        s.Mol_massa = db::numberField(r, "Mol_massa");
        s.T_kip = db::numberField(r, "T_kip");
        s.Tvsp = db::numberField(r, "Tvsp");
        s.Tepl_sgorPGF = db::numberField(r, "Tepl_sgorPGF");
        s.Tepl_paroobr = db::numberField(r, "Tepl_paroobr");
        s.Teploem_GF = db::numberField(r, "Teploem_GF");
        s.pA = db::numberField(r, "pA");
        s.pB = db::numberField(r, "pB");
        s.pCa = db::numberField(r, "pCa");
        s.hasTvsp = !r.isNull(QStringLiteral("Tvsp"));
        s.hasAntoine = !r.isNull(QStringLiteral("pA")) && !r.isNull(QStringLiteral("pB")) &&
                       !r.isNull(QStringLiteral("pCa"));
        found = s;
    }
    substances_.insert(name, found);
    return found;
}

}  // namespace veltron::records
