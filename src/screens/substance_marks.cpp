#include "screens/substance_marks.h"

#include <QLabel>
#include <QStyle>
#include <QTableWidgetItem>

namespace veltron::screens {

QIcon missingMark(const QWidget* widget)
{
    return widget->style()->standardIcon(QStyle::SP_MessageBoxWarning);
}

void markMissingCell(QTableWidgetItem* item)
{
    item->setBackground(QColor(255, 214, 214));
}

void showMissing(QLabel* label, const records::MissingProperties& missing)
{
    const QString note = records::missingPropertiesNote(missing);
    label->setText(note);
    label->setStyleSheet(missing.always.isEmpty() ? QStringLiteral("color: #555555") : QStringLiteral("color: #a00000"));
    label->setVisible(!note.isEmpty());
}

}  // namespace veltron::screens
