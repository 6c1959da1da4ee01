#pragma once

// Where the program's own files and the user's data lie.
//
// In a build tree (build/bin) and in a folder that holds the programs with
// their files, everything lies beside the executables, and the data folder
// is the program folder. An installed program (<prefix>/bin/veltron) finds
// its templates and its manual in <prefix>/share/veltron and keeps its data
// in the user's own data folder ($XDG_DATA_HOME/veltron, by default
// ~/.local/share/veltron), since the program folder is not the user's to
// write. --data and VELTRON_DATA choose another data folder in every case.

#include <QString>

class QCoreApplication;

namespace veltron::db {

struct ProgramFolders {
    QString program;  // the folder of the executables
    QString files;    // templates/ of an installed program, and the manual's folder
    bool installed = false;
};

ProgramFolders programFolders(const QString& programDir);

// The data folder used when neither --data nor VELTRON_DATA names one.
QString defaultDataDir(const QString& programDir);

// The folder the report folder dialog offers when none is stored or the
// stored one is gone: the program folder, or the home folder of an installed
// program.
QString defaultReportFolder(const QString& programDir);

// The name of the user manual's folder and document: "Инструкция Вельтрон_" and the version.
QString userManualName();
// The user manual without its extension: "<files>/NAME/NAME".
QString userManualBase(const QString& programDir);

// Loads Qt's own Russian texts (the buttons and labels of message boxes and
// file dialogs) into the application; false when the translation is not installed.
bool installQtTranslation(QCoreApplication& app);

}  // namespace veltron::db
