#pragma once

#include <QStringView>

namespace veltron::docx {

// Width of a line of text in the report font (Times New Roman), in ems: the
// font size in points times this is the width in points.
double textWidthEm(QStringView text, bool bold = false);

}  // namespace veltron::docx
