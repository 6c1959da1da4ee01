#include "db/csv.h"

#include "db/store.h"

namespace veltron::db {

namespace {

// Splits the whole text into records of fields, honouring quotes that span lines.
QList<QPair<int, QStringList>> records(const QString& text)
{
    QList<QPair<int, QStringList>> out;
    QStringList fields;
    QString field;
    bool quoted = false, atLineStart = true, skipLine = false, any = false;
    int line = 1, recordLine = 1;
    auto endRecord = [&] {
        if (any) {
            fields << field;
            out.append({recordLine, fields});
        }
        fields.clear();
        field.clear();
        any = false;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (skipLine) {
            if (c == QLatin1Char('\n')) { skipLine = false; atLineStart = true; ++line; }
            continue;
        }
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) { field += c; ++i; }
                else quoted = false;
            } else {
                if (c == QLatin1Char('\n')) ++line;
                field += c;
            }
            continue;
        }
        if (atLineStart) {
            recordLine = line;
            if (c == QLatin1Char('#')) { skipLine = true; continue; }
        }
        atLineStart = false;
        if (c == QLatin1Char('"')) { quoted = true; any = true; }
        else if (c == QLatin1Char(',')) { fields << field; field.clear(); any = true; }
        else if (c == QLatin1Char('\r')) {}
        else if (c == QLatin1Char('\n')) { endRecord(); atLineStart = true; ++line; }
        else { field += c; any = true; }
    }
    endRecord();
    return out;
}

}  // namespace

CsvTable parseCsv(const QString& text, const QString& sourceName)
{
    CsvTable table;
    const auto recs = records(text);
    if (recs.isEmpty())
        return table;
    table.header = recs.first().second;
    for (auto& h : table.header)
        h = h.trimmed();
    for (int i = 1; i < recs.size(); ++i) {
        if (recs[i].second.size() != table.header.size())
            throw StoreError(QStringLiteral("Ошибка в данных «%1», строка %2: ожидалось полей %3, найдено %4.")
                                 .arg(sourceName).arg(recs[i].first)
                                 .arg(table.header.size()).arg(recs[i].second.size()));
        table.rows << recs[i].second;
    }
    return table;
}

}  // namespace veltron::db
