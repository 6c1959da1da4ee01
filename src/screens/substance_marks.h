#pragma once

#include "records/substances.h"

#include <QIcon>

class QLabel;
class QWidget;

namespace veltron::screens {

// The mark of a substance whose record lacks a property every run reads.
QIcon missingMark(const QWidget* widget);

// Shows in the label what a substance lacks: in red when a run would take 0
// for a property, in grey when only one formula cannot be applied to it;
// hidden when nothing is missing.
void showMissing(QLabel* label, const records::MissingProperties& missing);

}  // namespace veltron::screens
