#pragma once

#include <QString>
#include <QTemporaryDir>

namespace veltron::test {

// A fresh, empty data folder that disappears with the test.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

}  // namespace veltron::test
