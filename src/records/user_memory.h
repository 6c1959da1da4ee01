#pragma once

#include "db/store.h"

#include <QString>

#include <functional>

namespace veltron::records {

// What one user's program remembers of one store between runs: the
// calculation of model I opened last and the folder reports are proposed to
// go to. It lives in the user's own settings (QSettings), apart for every
// store (a data folder, or a shared data source by its name), so that the
// users of a shared store never change each other's. The first time a user
// meets a store, what its tables hold (tab_time, tabPath) becomes the
// user's starting value.
class UserMemory {
public:
    // settingsFile: the user's settings file; empty: the user's own
    // settings of the program (an INI file under the user's configuration
    // folder, "veltron/veltron.ini").
    explicit UserMemory(const db::Store& store, const QString& settingsFile = {});

    // 0 when none is remembered and the store names none.
    int lastCalculation() const;
    void rememberCalculation(int id);

    // Empty when none is remembered and the store holds none.
    QString reportFolder() const;
    void rememberReportFolder(const QString& path);

    // The group of the store in the settings: the data folder or the data source.
    static QString storeKey(const db::Source& source);

private:
    QString value(const char* key, const std::function<QString()>& fromStore) const;
    void setValue(const char* key, const QString& value);

    const db::Store& store_;
    QString settingsFile_;
    QString group_;
};

}  // namespace veltron::records
