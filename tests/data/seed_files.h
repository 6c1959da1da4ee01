#pragma once

#include "db/csv.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace veltron::test {

// One seed file read from the source tree, with access to its fields by name.
class SeedFile {
public:
    // Relative to the data folder, e.g. "SubstChar.csv" or "second/tabDolgn.csv".
    static SeedFile load(const QString& relativePath);
    static QString dataDir();
    // Every seed file, relative paths.
    static QStringList all();

    QString name() const { return name_; }
    const QStringList& header() const { return table_.header; }
    int rowCount() const { return int(table_.rows.size()); }
    const QStringList& row(int i) const { return table_.rows[i]; }

    QString text(int row, const QString& field) const;
    // Empty field gives nothing; a field that is not a number fails the test that asked.
    std::optional<double> number(int row, const QString& field) const;
    // A field that must be filled.
    double required(int row, const QString& field) const;
    // Index of the first row whose field equals the text, -1 if none.
    int find(const QString& field, const QString& value) const;

private:
    int column(const QString& field) const;

    QString name_;
    db::CsvTable table_;
};

}  // namespace veltron::test
