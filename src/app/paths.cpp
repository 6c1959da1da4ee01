#include "app/paths.h"

#include <QDir>
#include <QFileInfo>

namespace veltron {

QString resolveDataDir(QStringList& args, const QString& programDir)
{
    QString dir;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--data") && i + 1 < args.size()) {
            dir = args[i + 1];
            args.remove(i, 2);
            break;
        }
        if (args[i].startsWith(QLatin1String("--data="))) {
            dir = args[i].mid(7);
            args.remove(i);
            break;
        }
    }
    if (dir.isEmpty())
        dir = qEnvironmentVariable("VELTRON_DATA");
    if (dir.isEmpty())
        dir = programDir;
    QDir().mkpath(dir);
    return QFileInfo(dir).absoluteFilePath();
}

}  // namespace veltron
