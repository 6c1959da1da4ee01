#pragma once

#include "db/data_source.h"
#include "db/store.h"

#include <QString>

#include <memory>

namespace veltron {

// Process-wide state of one program run, owned by main() and handed to the
// screens that need it.
struct AppState {
    QString programDir;   // executable, templates, user manual
    QString dataDir;      // the two databases and "Data Source.txt"
    db::ConnectionStrings connection;
    std::unique_ptr<db::Store> store;

    // The calculation being worked on.
    double currentId = 0;
    QString currentName;

    // 0: the name dialog renames, 1: it saves under another name.
    int saveMode = 0;

    // Folder proposed by every report save dialog; empty until confirmed.
    QString reportFolder;

    db::Store& db() const { return *store; }
};

}  // namespace veltron
