#include "data/seed_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace veltron::test {

QString SeedFile::dataDir()
{
    return QStringLiteral(VELTRON_DATA_SRC);
}

QStringList SeedFile::all()
{
    QStringList files;
    const QDir root(dataDir());
    QDirIterator it(dataDir(), {QStringLiteral("*.csv")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << root.relativeFilePath(it.next());
    files.sort();
    return files;
}

SeedFile SeedFile::load(const QString& relativePath)
{
    SeedFile f;
    f.name_ = relativePath;
    QFile file(QDir(dataDir()).filePath(relativePath));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open " << relativePath.toStdString();
        return f;
    }
    f.table_ = db::parseCsv(QString::fromUtf8(file.readAll()), relativePath);
    return f;
}

int SeedFile::column(const QString& field) const
{
    const int c = int(table_.header.indexOf(field));
    if (c < 0)
        ADD_FAILURE() << name_.toStdString() << " has no field " << field.toStdString();
    return c;
}

QString SeedFile::text(int row, const QString& field) const
{
    const int c = column(field);
    return c < 0 ? QString() : table_.rows[row][c];
}

std::optional<double> SeedFile::number(int row, const QString& field) const
{
    const QString t = text(row, field);
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok) {
        ADD_FAILURE() << name_.toStdString() << " row " << row + 1 << ": " << field.toStdString()
                      << " = \"" << t.toStdString() << "\" is not a number";
        return std::nullopt;
    }
    return v;
}

double SeedFile::required(int row, const QString& field) const
{
    const auto v = number(row, field);
    if (!v)
        ADD_FAILURE() << name_.toStdString() << " row " << row + 1 << ": " << field.toStdString()
                      << " must be filled";
    return v.value_or(0.0);
}

int SeedFile::find(const QString& field, const QString& value) const
{
    for (int i = 0; i < rowCount(); ++i)
        if (text(i, field) == value)
            return i;
    return -1;
}

}  // namespace veltron::test
