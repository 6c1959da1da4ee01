#include "ui/desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace veltron::ui {

namespace {

class RealDesktop : public Desktop {
public:
    bool openDocument(const QString& path) override { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
};

Desktop* installed = nullptr;

}  // namespace

Desktop& desktop()
{
    static RealDesktop real;
    return installed ? *installed : real;
}

void installDesktop(Desktop* service)
{
    installed = service;
}

}  // namespace veltron::ui
