#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

class QLabel;
class QPushButton;

namespace veltron {

// The main menu.
class frmMain1 : public ui::Screen {
    Q_OBJECT
public:
    explicit frmMain1(AppState& state, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Image1;
    QLabel* Image2;
    QPushButton* Command1;

private:
    AppState& state_;
};

// Opens the user manual (db::userManualBase: the Word document, else the
// page) with the desktop's viewer without waiting for it, or says why it cannot.
void openUserManual(const QString& programDir);

}  // namespace veltron
