#include "ui/name_filter.h"

namespace veltron::ui {

namespace {

QString folded(const QString& text)
{
    return text.toLower().replace(QChar(0x0451), QChar(0x0435));  // ё → е
}

}  // namespace

bool passesFilter(const QString& name, const QString& filter)
{
    const QString wanted = folded(filter.trimmed());
    return wanted.isEmpty() || folded(name).contains(wanted);
}

}  // namespace veltron::ui
