#include "records/exchange.h"

#include "calc/number_text.h"
#include "db/schema.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSqlRecord>

#include <cmath>
#include <vector>

namespace veltron::records {

ExchangeError::ExchangeError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}

namespace {

using db::FieldDef;
using db::FieldType;
using Fields = std::vector<FieldDef>;

// The fields of a table as the file carries them: all but `left`.
Fields fieldsOf(const char* table, const QStringList& left = {})
{
    Fields out;
    for (const FieldDef& f : db::findTable(QLatin1String(table))->fields)
        if (!left.contains(f.name))
            out.push_back(f);
    return out;
}

const QStringList& settingNames()
{
    static const QStringList names = {"A", "G", "Pn", "Gs", "znGs", "G4", "znG4", "G5", "znG5"};
    return names;
}

const Fields& conditionFields()
{
    static const Fields f = fieldsOf("tabMain", QStringList{"Id", "Versiya"} + settingNames());
    return f;
}

const Fields& settingFields()
{
    static const Fields f = [] {
        Fields out;
        for (const QString& name : settingNames())
            out.push_back(*db::findField(*db::findTable(QStringLiteral("tabMain")), name));
        return out;
    }();
    return f;
}

const Fields& blockFields()
{
    static const Fields f = fieldsOf("tabBloki", {"Id_Rasch"});
    return f;
}

const Fields& substanceFields()
{
    static const Fields f = fieldsOf("SubstChar");
    return f;
}

const Fields& surfaceFields()
{
    static const Fields f = fieldsOf("tabPoverhn");
    return f;
}

bool isNumber(FieldType t)
{
    return t == FieldType::Integer || t == FieldType::Double;
}

// A stored value in the one form a file carries and compares: null, a whole
// number, a double or a text.
QVariant normalized(const FieldDef& f, const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (f.type) {
    case FieldType::Integer: return QVariant(qint64(std::llround(v.toDouble())));
    case FieldType::Double: return QVariant(v.toDouble());
    default: return QVariant(v.toString());
    }
}

// The value bound for a field: an empty field as a null of the field's type,
// which every driver accepts.
QVariant bound(const FieldDef& f, const QVariant& v)
{
    if (!v.isNull() && v.isValid())
        return v;
    switch (f.type) {
    case FieldType::Integer: return QVariant(QMetaType::fromType<qint64>());
    case FieldType::Double: return QVariant(QMetaType::fromType<double>());
    default: return QVariant(QMetaType::fromType<QString>());
    }
}

ExchangeRow rowOf(const QSqlRecord& r, const Fields& fields)
{
    ExchangeRow row;
    for (const FieldDef& f : fields)
        row.insert(f.name, normalized(f, r.value(f.name)));
    return row;
}

QJsonValue jsonOf(const FieldDef& f, const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return QJsonValue::Null;
    if (f.type == FieldType::Integer)
        return v.toLongLong();
    if (f.type == FieldType::Double)
        return v.toDouble();
    return v.toString();
}

// The file is written by hand so that its members stand in the order of the
// tables, which reads better than the alphabetical order of QJsonObject;
// each value is written as QJsonDocument writes it (numbers that read back to
// the same double, texts escaped).
class JsonText {
public:
    QByteArray text;

    void open(char bracket)
    {
        text += bracket;
        ++depth_;
        first_ = true;
    }
    void close(char bracket)
    {
        --depth_;
        if (!first_)  // an empty one stays on its line: []
            newline();
        text += bracket;
        first_ = false;
    }
    void key(const QString& name)
    {
        item();
        text += scalar(name) + ": ";
    }
    void value(const QJsonValue& v) { text += scalar(v); }
    // Starts an element of an array.
    void item()
    {
        if (!first_)
            text += ',';
        newline();
        first_ = false;
    }
    void row(const ExchangeRow& row, const Fields& fields)
    {
        open('{');
        for (const FieldDef& f : fields) {
            key(f.name);
            value(jsonOf(f, row.value(f.name)));
        }
        close('}');
    }
    void rows(const QList<ExchangeRow>& list, const Fields& fields)
    {
        open('[');
        for (const ExchangeRow& r : list) {
            item();
            row(r, fields);
        }
        close(']');
    }

private:
    static QByteArray scalar(const QJsonValue& v)
    {
        const QByteArray array = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
        return array.mid(1, array.size() - 2);
    }
    void newline()
    {
        text += '\n';
        text += QByteArray(4 * depth_, ' ');
    }
    int depth_ = 0;
    bool first_ = true;
};

// The first row of a directory with that name, as lookups of the program find it.
std::optional<ExchangeRow> directoryRow(const db::Store& store, const char* table, const Fields& fields,
                                        const QString& name)
{
    const auto rows = store.query(QStringLiteral("SELECT * FROM %1 WHERE Name = ?").arg(QLatin1String(table)), {name});
    if (rows.isEmpty())
        return std::nullopt;
    return rowOf(rows.first(), fields);
}

QList<ExchangeRow> directoryRows(const db::Store& store, const char* table, const Fields& fields, QStringList names)
{
    db::sortRussian(names);
    QList<ExchangeRow> rows;
    for (const QString& name : names)
        if (const auto row = directoryRow(store, table, fields, name))
            rows << *row;
    return rows;
}

// --- Reading a file ---

[[noreturn]] void refuse(const QString& message)
{
    throw ExchangeError(message);
}

QString shown(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::String: return QStringLiteral("«%1»").arg(v.toString());
    case QJsonValue::Bool: return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Array: return QStringLiteral("список");
    case QJsonValue::Object: return QStringLiteral("объект");
    case QJsonValue::Double: return calc::numberText(v.toDouble());
    default: return QStringLiteral("null");
    }
}

QVariant valueOf(const FieldDef& f, const QJsonValue& v, const QString& where)
{
    if (v.isNull())
        return {};
    const auto wrong = [&](const char* expected) {
        refuse(QStringLiteral("Файл не принят: %1, поле «%2» — ожидается %3, а записано %4.")
                   .arg(where, f.name, QString::fromUtf8(expected), shown(v)));
    };
    if (isNumber(f.type)) {
        if (!v.isDouble())
            wrong(f.type == FieldType::Integer ? "целое число" : "число");
        const double x = v.toDouble();
        if (f.type == FieldType::Double)
            return x;
        if (std::floor(x) != x || std::fabs(x) > 2147483647.0)
            wrong("целое число");
        return qint64(x);
    }
    if (!v.isString())
        wrong("текст");
    return v.toString();
}

QJsonObject objectAt(const QJsonValue& v, const QString& where)
{
    if (!v.isObject())
        refuse(QStringLiteral("Файл не принят: %1 — ожидается объект, а записано %2.").arg(where, shown(v)));
    return v.toObject();
}

QJsonArray arrayAt(const QJsonObject& o, const QString& key, const QString& where)
{
    if (!o.contains(key))
        refuse(QStringLiteral("Файл не принят: %1 — нет поля «%2».").arg(where, key));
    if (!o.value(key).isArray())
        refuse(QStringLiteral("Файл не принят: %1, поле «%2» — ожидается список, а записано %3.")
                   .arg(where, key, shown(o.value(key))));
    return o.value(key).toArray();
}

// Every key of the object must be one of `known`, and every one of `known` there.
void checkKeys(const QJsonObject& o, const QStringList& known, const QString& where)
{
    for (const QString& key : o.keys())
        if (!known.contains(key))
            refuse(QStringLiteral("Файл не принят: %1 — неизвестное поле «%2».").arg(where, key));
    for (const QString& key : known)
        if (!o.contains(key))
            refuse(QStringLiteral("Файл не принят: %1 — нет поля «%2».").arg(where, key));
}

ExchangeRow rowFrom(const QJsonValue& v, const Fields& fields, const QString& where)
{
    const QJsonObject o = objectAt(v, where);
    QStringList known;
    for (const FieldDef& f : fields)
        known << f.name;
    checkKeys(o, known, where);
    ExchangeRow row;
    for (const FieldDef& f : fields)
        row.insert(f.name, valueOf(f, o.value(f.name), where));
    return row;
}

QString nonEmptyName(const QJsonValue& v, const QString& where)
{
    if (!v.isString() || v.toString().trimmed().isEmpty())
        refuse(QStringLiteral("Файл не принят: %1 — нет имени.").arg(where));
    return v.toString();
}

QList<ExchangeRow> directoryFrom(const QJsonObject& top, const QString& key, const Fields& fields, const char* what)
{
    QList<ExchangeRow> rows;
    QSet<QString> seen;
    const QJsonArray list = arrayAt(top, key, QStringLiteral("файл"));
    for (int i = 0; i < list.size(); ++i) {
        const QString where = QStringLiteral("%1 № %2").arg(QString::fromUtf8(what)).arg(i + 1);
        nonEmptyName(objectAt(list[i], where).value(QStringLiteral("Name")), where);
        const ExchangeRow row = rowFrom(list[i], fields, where);
        const QString name = row.value(QStringLiteral("Name")).toString();
        if (seen.contains(name))
            refuse(QStringLiteral("Файл не принят: %1 «%2» встречается в нем дважды.").arg(QString::fromUtf8(what), name));
        seen.insert(name);
        rows << row;
    }
    return rows;
}

ExchangeCalculation calculationFrom(const QJsonValue& v, int index)
{
    const QString where = QStringLiteral("расчет № %1").arg(index + 1);
    const QJsonObject o = objectAt(v, where);
    checkKeys(o, {"name", "conditions", "settings", "blocks"}, where);
    ExchangeCalculation c;
    c.name = nonEmptyName(o.value(QStringLiteral("name")), where);
    const QString named = QStringLiteral("расчет «%1»").arg(c.name);
    c.conditions = rowFrom(o.value(QStringLiteral("conditions")), conditionFields(), named + QStringLiteral(", общие условия"));
    c.settings = rowFrom(o.value(QStringLiteral("settings")), settingFields(), named + QStringLiteral(", настройки"));
    QSet<qint64> ids;
    const QJsonArray blocks = arrayAt(o, QStringLiteral("blocks"), named);
    for (int i = 0; i < blocks.size(); ++i) {
        const ExchangeRow block =
            rowFrom(blocks[i], blockFields(), named + QStringLiteral(", блок № %1 по порядку").arg(i + 1));
        const QVariant id = block.value(QStringLiteral("Id"));
        if (id.isNull() || id.toLongLong() < 1)
            refuse(QStringLiteral("Файл не принят: %1, блок № %2 по порядку — номер блока (Id) должен быть целым "
                                  "числом от 1.")
                       .arg(named)
                       .arg(i + 1));
        if (ids.contains(id.toLongLong()))
            refuse(QStringLiteral("Файл не принят: %1 — блок № %2 записан дважды.").arg(named).arg(id.toLongLong()));
        ids.insert(id.toLongLong());
        c.blocks << block;
    }
    return c;
}

// A text that fails to parse: cut short, damaged, or not JSON at all.
[[noreturn]] void refuseUnparsed(const QByteArray& bytes, const QJsonParseError& error)
{
    const QByteArray text = bytes.trimmed();
    if (error.offset >= text.size() && text.startsWith('{'))
        refuse(QStringLiteral("Файл не принят: он обрезан — текст обрывается на позиции %1, не закончившись. "
                              "Получите файл заново.")
                   .arg(error.offset));
    if (text.startsWith('{'))
        refuse(QStringLiteral("Файл не принят: он поврежден — ошибка в тексте JSON на позиции %1 (%2).")
                   .arg(error.offset)
                   .arg(error.errorString()));
    refuse(QStringLiteral("Файл не принят: это не файл расчетов Вельтрон (его текст не JSON)."));
}

// --- Importing ---

QStringList fieldNames(const Fields& fields)
{
    QStringList names;
    for (const FieldDef& f : fields)
        names << f.name;
    return names;
}

QString insertSql(const QString& table, const QStringList& names)
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table, names.join(QStringLiteral(", ")), QStringList(names.size(), QStringLiteral("?")).join(", "));
}

QVariantList valuesOf(const ExchangeRow& row, const Fields& fields)
{
    QVariantList values;
    for (const FieldDef& f : fields)
        values << bound(f, row.value(f.name));
    return values;
}

QString valueText(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return QStringLiteral("пусто");
    if (v.typeId() == QMetaType::QString)
        return QStringLiteral("«%1»").arg(v.toString());
    return calc::numberText(v.toDouble());
}

QStringList differences(const ExchangeRow& file, const ExchangeRow& stored, const Fields& fields)
{
    QStringList out;
    for (const FieldDef& f : fields) {
        if (f.name == QLatin1String("Name"))
            continue;
        const QVariant a = file.value(f.name);
        const QVariant b = stored.value(f.name);
        const bool same = (a.isNull() && b.isNull()) ||
                          (!a.isNull() && !b.isNull() &&
                           (isNumber(f.type) ? a.toDouble() == b.toDouble() : a.toString() == b.toString()));
        if (!same)
            out << QStringLiteral("%1: в файле %2, в базе %3").arg(f.name, valueText(a), valueText(b));
    }
    return out;
}

QString importedName(const QString& name, int attempt)
{
    return attempt == 1 ? QStringLiteral("%1 (импорт)").arg(name) : QStringLiteral("%1 (импорт %2)").arg(name).arg(attempt);
}

// Brings the directory records of the file into the store and returns the
// name each one has there: its own, or "Имя (импорт)" when the store has a
// different record of that name.
QHash<QString, QString> bringIn(db::Store& store, const char* table, const Fields& fields,
                                const QList<ExchangeRow>& rows, const QString& what, QList<RenamedRecord>& renamed)
{
    QHash<QString, QString> names;
    const QString insert = insertSql(QLatin1String(table), fieldNames(fields));
    for (const ExchangeRow& row : rows) {
        const QString name = row.value(QStringLiteral("Name")).toString();
        QString candidate = name;
        QStringList firstDifferences;
        for (int attempt = 1;; ++attempt) {
            const auto stored = directoryRow(store, table, fields, candidate);
            if (!stored) {
                ExchangeRow copy = row;
                copy.insert(QStringLiteral("Name"), candidate);
                store.exec(insert, valuesOf(copy, fields));
                break;
            }
            const QStringList diff = differences(row, *stored, fields);
            if (diff.isEmpty())
                break;
            if (attempt == 1)
                firstDifferences = diff;
            candidate = importedName(name, attempt);
        }
        if (candidate != name)
            renamed << RenamedRecord{what, name, candidate, firstDifferences};
        names.insert(name, candidate);
    }
    return names;
}

}  // namespace

ExchangeFile readForExport(const db::Store& store, const QList<Calculation>& calculations)
{
    ExchangeFile file;
    QStringList substances;
    QStringList surfaces;
    for (const Calculation& c : calculations) {
        const auto main = store.query(QStringLiteral("SELECT * FROM tabMain WHERE Id = ?"), {c.id});
        if (main.isEmpty())
            throw db::StoreError(QStringLiteral("У расчета «%1» нет общих условий: откройте его на экране исходных "
                                                "данных и сохраните, затем повторите экспорт.")
                                     .arg(c.name));
        ExchangeCalculation out;
        out.name = c.name;
        out.conditions = rowOf(main.first(), conditionFields());
        out.settings = rowOf(main.first(), settingFields());
        for (const QSqlRecord& r :
             store.query(QStringLiteral("SELECT * FROM tabBloki WHERE Id_Rasch = ? ORDER BY Id"), {c.id})) {
            out.blocks << rowOf(r, blockFields());
            const QString substance = out.blocks.last().value(QStringLiteral("Name")).toString();
            if (!substances.contains(substance))
                substances << substance;
        }
        const QString surface = out.conditions.value(QStringLiteral("Name_poverhn")).toString();
        if (!surfaces.contains(surface))
            surfaces << surface;
        file.calculations << out;
    }
    file.substances = directoryRows(store, "SubstChar", substanceFields(), substances);
    file.surfaces = directoryRows(store, "tabPoverhn", surfaceFields(), surfaces);
    return file;
}

QByteArray exchangeJson(const ExchangeFile& file)
{
    JsonText j;
    j.open('{');
    j.key(QStringLiteral("format"));
    j.value(kExchangeFormat);
    j.key(QStringLiteral("version"));
    j.value(kExchangeVersion);
    j.key(QStringLiteral("calculations"));
    j.open('[');
    for (const ExchangeCalculation& c : file.calculations) {
        j.item();
        j.open('{');
        j.key(QStringLiteral("name"));
        j.value(c.name);
        j.key(QStringLiteral("conditions"));
        j.row(c.conditions, conditionFields());
        j.key(QStringLiteral("settings"));
        j.row(c.settings, settingFields());
        j.key(QStringLiteral("blocks"));
        j.rows(c.blocks, blockFields());
        j.close('}');
    }
    j.close(']');
    j.key(QStringLiteral("substances"));
    j.rows(file.substances, substanceFields());
    j.key(QStringLiteral("surfaces"));
    j.rows(file.surfaces, surfaceFields());
    j.close('}');
    return j.text + '\n';
}

ExchangeFile parseExchangeFile(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        refuseUnparsed(bytes, error);
    const QJsonObject top = doc.object();
    if (!doc.isObject() || top.value(QStringLiteral("format")) != QJsonValue(kExchangeFormat))
        refuse(QStringLiteral("Файл не принят: это не файл расчетов Вельтрон (в нем нет отметки формата «%1»).")
                   .arg(kExchangeFormat));
    const QJsonValue version = top.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()) || version.toDouble() < 1)
        refuse(QStringLiteral("Файл не принят: в нем не указана версия формата (целое число от 1)."));
    if (version.toDouble() > kExchangeVersion)
        refuse(QStringLiteral("Файл не принят: он записан более новой версией программы (формат версии %1), а эта "
                              "программа читает файлы версии %2. Обновите программу.")
                   .arg(version.toInt())
                   .arg(kExchangeVersion));
    checkKeys(top, {"format", "version", "calculations", "substances", "surfaces"}, QStringLiteral("файл"));

    ExchangeFile file;
    const QJsonArray calculations = arrayAt(top, QStringLiteral("calculations"), QStringLiteral("файл"));
    if (calculations.isEmpty())
        refuse(QStringLiteral("Файл не принят: в нем нет ни одного расчета."));
    for (int i = 0; i < calculations.size(); ++i)
        file.calculations << calculationFrom(calculations[i], i);
    file.substances = directoryFrom(top, QStringLiteral("substances"), substanceFields(), "вещество");
    file.surfaces = directoryFrom(top, QStringLiteral("surfaces"), surfaceFields(), "поверхность");
    return file;
}

QStringList takenNames(const db::Store& store, const QStringList& names)
{
    QStringList taken;
    for (const QString& name : names)
        if (findByName(store, name))
            taken << name;
    return taken;
}

ImportResult importCalculations(db::Store& store, const ExchangeFile& file, const QStringList& names)
{
    if (names.size() != file.calculations.size())
        throw db::StoreError(QStringLiteral("Для каждого расчета файла нужно одно имя."));
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].trimmed().isEmpty())
            throw db::StoreError(QStringLiteral("Имя расчета не может быть пустым."));
        if (names.indexOf(names[i]) != i)
            throw db::StoreError(QStringLiteral("Имя «%1» дано двум расчетам файла.").arg(names[i]));
    }
    ImportResult result;
    store.transaction([&] {
        lockNumbering(store);
        for (const QString& name : names)
            if (findByName(store, name))
                throw db::StoreError(
                    QStringLiteral("В базе есть расчет с именем «%1». Импортируйте его под другим именем.").arg(name));
        const auto substances =
            bringIn(store, "SubstChar", substanceFields(), file.substances, QStringLiteral("Вещество"), result.renamed);
        const auto surfaces =
            bringIn(store, "tabPoverhn", surfaceFields(), file.surfaces, QStringLiteral("Поверхность"), result.renamed);

        QStringList mainNames{QStringLiteral("Id")};
        mainNames << fieldNames(conditionFields()) << fieldNames(settingFields());
        QStringList blockNames{QStringLiteral("Id_Rasch")};
        blockNames << fieldNames(blockFields());
        for (int i = 0; i < names.size(); ++i) {
            const ExchangeCalculation& c = file.calculations[i];
            const Calculation stored{allocateId(store), names[i]};
            store.exec(QStringLiteral("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)"), {stored.id, stored.name});
            ExchangeRow conditions = c.conditions;
            const QString surface = conditions.value(QStringLiteral("Name_poverhn")).toString();
            conditions.insert(QStringLiteral("Name_poverhn"), surfaces.value(surface, surface));
            store.exec(insertSql(QStringLiteral("tabMain"), mainNames),
                       QVariantList{stored.id} + valuesOf(conditions, conditionFields()) +
                           valuesOf(c.settings, settingFields()));
            QList<QVariantList> blocks;
            for (ExchangeRow block : c.blocks) {
                const QString substance = block.value(QStringLiteral("Name")).toString();
                block.insert(QStringLiteral("Name"), substances.value(substance, substance));
                blocks << QVariantList{stored.id} + valuesOf(block, blockFields());
            }
            if (!blocks.isEmpty())
                store.execRows(insertSql(QStringLiteral("tabBloki"), blockNames), blocks);
            result.calculations << stored;
        }
    });
    return result;
}

QString renamedNotice(const ImportResult& result)
{
    QStringList parts;
    for (const RenamedRecord& r : result.renamed)
        parts << QStringLiteral("%1 «%2» в базе уже есть с другими значениями; запись из файла добавлена под именем "
                                "«%3», и расчеты файла ссылаются на нее. Различия: %4.")
                     .arg(r.what, r.name, r.importedAs, r.differences.join(QStringLiteral("; ")));
    if (parts.isEmpty())
        return {};
    parts << QStringLiteral("Записи справочников базы не изменены.");
    return parts.join(QLatin1Char('\n'));
}

}  // namespace veltron::records
