#include "records/store_reference.h"

#include <QSqlRecord>

namespace veltron::records {

namespace {

double number(const QSqlRecord& r, const char* field)
{
    return r.value(QString::fromLatin1(field)).toDouble();
}

}  // namespace

StoreReference::StoreReference(const db::Store& store) : store_(store)
{
    std::vector<calc::BettaRow> betta;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT k, P, Betta FROM tabBetta")))
        if (!r.isNull(QStringLiteral("k")) && !r.isNull(QStringLiteral("P")))
            betta.push_back({number(r, "k"), number(r, "P"), number(r, "Betta")});
    tables_.setBetta(std::move(betta));

    std::vector<calc::GRow> g;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT t, G FROM tabG ORDER BY t")))
        if (!r.isNull(QStringLiteral("t")))
            g.push_back({number(r, "t"), number(r, "G")});
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
        s.Mol_massa = number(r, "Mol_massa");
        s.T_kip = number(r, "T_kip");
        s.Tvsp = number(r, "Tvsp");
        s.Tepl_sgorPGF = number(r, "Tepl_sgorPGF");
        s.Tepl_paroobr = number(r, "Tepl_paroobr");
        s.Teploem_GF = number(r, "Teploem_GF");
        s.pA = number(r, "pA");
        s.pB = number(r, "pB");
        s.pCa = number(r, "pCa");
        found = s;
    }
    substances_.insert(name, found);
    return found;
}

}  // namespace veltron::records
