#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace veltron {

// Entry of the ODBC data-source name when no database could be opened.
class frmDataSourse : public ui::Screen {
    Q_OBJECT
public:
    frmDataSourse(AppState& state, const QString& reason, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* lblReason;  // why the program's own database could not be opened
    QLineEdit* txtDataSourse;
    QPushButton* Command1;
    QPushButton* Command2;

    void connectSource();

protected:
    void closedByFrame() override;

private:
    AppState& state_;
};

}  // namespace veltron
