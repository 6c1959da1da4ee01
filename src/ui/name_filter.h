#pragma once

#include <QString>

namespace veltron::ui {

// Whether a name passes the filter of a list: the filter's text anywhere in
// the name, whatever the case, with «ё» read as «е» on both sides. An empty
// filter (or one of spaces) passes every name.
bool passesFilter(const QString& name, const QString& filter);

}  // namespace veltron::ui
