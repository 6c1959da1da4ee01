#include "records/user_memory.h"

#include "records/calculations.h"
#include "records/report_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include <memory>

namespace veltron::records {

namespace {

std::unique_ptr<QSettings> openSettings(const QString& file)
{
    if (!file.isEmpty())
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("veltron"),
                                       QStringLiteral("veltron"));
}

}  // namespace

UserMemory::UserMemory(const db::Store& store, const QString& settingsFile)
    : store_(store),
      settingsFile_(settingsFile),
      group_(QStringLiteral("stores/") + QString::fromLatin1(QUrl::toPercentEncoding(storeKey(store.source()))))
{
}

QString UserMemory::storeKey(const db::Source& source)
{
    if (!source.dsn.isEmpty())
        return QStringLiteral("dsn:") + source.dsn;
    return QStringLiteral("folder:") + QDir::cleanPath(QFileInfo(source.dataDir).absoluteFilePath());
}

QString UserMemory::value(const char* key, const std::function<QString()>& fromStore) const
{
    const auto settings = openSettings(settingsFile_);
    const QString name = group_ + QLatin1Char('/') + QLatin1String(key);
    if (settings->contains(name))
        return settings->value(name).toString();
    // The first meeting with this store: its tables give the starting value,
    // which is kept, so that later changes of the tables do not move it.
    QString start;
    try {
        start = fromStore();
    } catch (const db::StoreError&) {
        return {};
    }
    settings->setValue(name, start);
    return start;
}

void UserMemory::setValue(const char* key, const QString& value)
{
    openSettings(settingsFile_)->setValue(group_ + QLatin1Char('/') + QLatin1String(key), value);
}

int UserMemory::lastCalculation() const
{
    return value("lastCalculation", [this] {
               const int id = lastOpenedId(store_);
               return id > 0 ? QString::number(id) : QString();
           })
        .toInt();
}

void UserMemory::rememberCalculation(int id)
{
    setValue("lastCalculation", QString::number(id));
}

QString UserMemory::reportFolder() const
{
    return value("reportFolder", [this] { return storedReportFolder(store_); });
}

void UserMemory::rememberReportFolder(const QString& path)
{
    setValue("reportFolder", path);
}

}  // namespace veltron::records
