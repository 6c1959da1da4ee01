#include "records/substances.h"

#include "calc/number_text.h"
#include "records/named_rows.h"
#include "records/value_ranges.h"

#include <QSqlRecord>

#include <vector>

namespace veltron::records {

namespace {

using Number = std::optional<double> SubstanceRecord::*;

struct NumberField {
    const char* name;
    Number member;
};

// The number fields the directory edits, in the order of the table.
const std::vector<NumberField>& numberFields()
{
    static const std::vector<NumberField> fields = {
        {"Mol_massa", &SubstanceRecord::Mol_massa},       {"Plotn_GF", &SubstanceRecord::Plotn_GF},
        {"T_plavl", &SubstanceRecord::T_plavl},           {"T_kip", &SubstanceRecord::T_kip},
        {"Tvsp", &SubstanceRecord::Tvsp},                 {"NKPR", &SubstanceRecord::NKPR},
        {"VKPR", &SubstanceRecord::VKPR},                 {"pA", &SubstanceRecord::pA},
        {"pB", &SubstanceRecord::pB},                     {"pCa", &SubstanceRecord::pCa},
        {"pTmin", &SubstanceRecord::pTmin},               {"pTmax", &SubstanceRecord::pTmax},
        {"Tepl_sgorPGF", &SubstanceRecord::Tepl_sgorPGF}, {"Tepl_paroobr", &SubstanceRecord::Tepl_paroobr},
        {"Teploem_GF", &SubstanceRecord::Teploem_GF},     {"PokAdiab", &SubstanceRecord::PokAdiab},
    };
    return fields;
}

const NamedTable& substanceTable()
{
    static const NamedTable table = [] {
        NamedTable t{QStringLiteral("SubstChar"),
                     {QStringLiteral("Vid_vva"), QStringLiteral("BruttoFormula")},
                     db::Base::Main,
                     {},
                     QStringLiteral("справочник веществ")};
        for (const NumberField& f : numberFields())
            t.fields << QLatin1String(f.name);
        t.fields << QStringLiteral("Dop_info");
        return t;
    }();
    return table;
}

SubstanceRecord fromRecord(const QSqlRecord& r)
{
    SubstanceRecord s;
    s.Name = r.value(QStringLiteral("Name")).toString();
    const QVariant kind = r.value(QStringLiteral("Vid_vva"));
    if (!kind.isNull())
        s.Vid_vva = qRound(kind.toDouble());
    s.BruttoFormula = r.value(QStringLiteral("BruttoFormula")).toString();
    for (const NumberField& f : numberFields())
        s.*f.member = optionalNumber(r.value(QLatin1String(f.name)));
    s.Dop_info = r.value(QStringLiteral("Dop_info")).toString();
    return s;
}

QString selectAll()
{
    return QStringLiteral("SELECT Name, %1%2 FROM SubstChar")
        .arg(substanceTable().fields.join(QStringLiteral(", ")), versionColumn(substanceTable()));
}

}  // namespace

QList<SubstanceRecord> substanceRecords(const db::Store& store)
{
    QList<QSqlRecord> rows = store.query(selectAll());
    noteRowVersions(store, substanceTable(), rows);
    db::sortRussianBy(rows);
    QList<SubstanceRecord> out;
    out.reserve(rows.size());
    for (const QSqlRecord& r : rows)
        out << fromRecord(r);
    return out;
}

std::optional<SubstanceRecord> findSubstanceRecord(const db::Store& store, const QString& name)
{
    const auto rows = store.query(selectAll() + QStringLiteral(" WHERE Name = ?"), {name});
    noteRowVersions(store, substanceTable(), rows);
    if (rows.isEmpty())
        return std::nullopt;
    return fromRecord(rows.first());
}

bool saveSubstance(db::Store& store, const QString& oldName, const SubstanceRecord& s)
{
    QVariantList values{s.Vid_vva ? QVariant(*s.Vid_vva) : QVariant(QMetaType::fromType<int>()),
                        nullableText(s.BruttoFormula)};
    for (const NumberField& f : numberFields())
        values << nullableNumber(s.*f.member);
    values << nullableText(s.Dop_info);
    return saveNamedRow(store, substanceTable(), oldName, s.Name, values);
}

void deleteSubstance(db::Store& store, const QString& name)
{
    deleteNamedRow(store, substanceTable(), name);
}

bool substanceInBlocks(const db::Store& store, int idRasch, const QString& name)
{
    const auto rows = store.query(QStringLiteral("SELECT COUNT(*) FROM tabBloki WHERE Id_Rasch = ? AND Name = ?"),
                                  {idRasch, name});
    return !rows.isEmpty() && rows.first().value(0).toLongLong() > 0;
}

MissingProperties missingProperties(const SubstanceRecord& s)
{
    MissingProperties m;
    // The adiabatic index only gives the block editor its first value: an
    // empty one is a gap of the directory (mixtures have none), a 0 is not.
    const struct {
        const std::optional<double>& value;
        const char* field;
        const char* text;
        bool emptyIsMissing;
    } always[] = {
        {s.Mol_massa, "Mol_massa", "молярная масса", true},
        {s.T_kip, "T_kip", "температура кипения", true},
        {s.Tepl_sgorPGF, "Tepl_sgorPGF", "удельная теплота сгорания ПГФ", true},
        {s.Tepl_paroobr, "Tepl_paroobr", "удельная теплота парообразования", true},
        {s.Teploem_GF, "Teploem_GF", "удельная теплоемкость жидкой фазы", true},
        {s.PokAdiab, "PokAdiab", "показатель адиабаты", false},
    };
    // A field is missing when it is empty, and also when it holds a value the
    // formulas cannot use, such as 0 where it must be positive.
    for (const auto& f : always) {
        if (!f.value) {
            if (f.emptyIsMissing)
                m.always << QString::fromUtf8(f.text);
        } else if (unusable(QStringLiteral("SubstChar"), QString::fromLatin1(f.field), f.value)) {
            m.always << QString::fromUtf8(f.text) + QStringLiteral(" = ") + calc::numberText(*f.value);
        }
    }
    if (!s.Tvsp)
        m.byFormula << QStringLiteral("температура вспышки (формула 14.3)");
    if (!s.pA || !s.pB || !s.pCa)
        m.byFormula << QStringLiteral("константы формулы Антуана");
    return m;
}

QString missingPropertiesNote(const MissingProperties& m)
{
    QStringList parts;
    if (!m.always.isEmpty())
        parts << QStringLiteral("Нет данных для расчета: %1 — расчет, которому они нужны, остановится с сообщением "
                                "или примет их равными 0.")
                     .arg(m.always.join(QStringLiteral(", ")));
    if (!m.byFormula.isEmpty())
        parts << QStringLiteral("Не заданы: %1 — расчет по этой формуле остановится с сообщением.")
                     .arg(m.byFormula.join(QStringLiteral(", ")));
    return parts.join(QLatin1Char('\n'));
}

}  // namespace veltron::records
