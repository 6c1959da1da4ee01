#pragma once

#include "records/substances.h"

#include <QIcon>

class QLabel;
class QTableWidgetItem;
class QWidget;

namespace veltron::screens {

// The mark of a substance whose record lacks a property every run reads.
QIcon missingMark(const QWidget* widget);

// Marks a grid cell whose value a run cannot use: empty, or 0 where it must
// be positive.
void markMissingCell(QTableWidgetItem* item);

// Shows in the label what a substance lacks: in red when a run would take 0
// for a property, in grey when only one formula cannot be applied to it;
// hidden when nothing is missing.
void showMissing(QLabel* label, const records::MissingProperties& missing);

}  // namespace veltron::screens
