#pragma once

#include "records/app_state.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace veltron {

// The About box: program, version, purpose, and the system information.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(AppState& state, QWidget* parent = nullptr);

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblStore;  // which store the program works on
    QPushButton* cmdSysInfo;
    QPushButton* cmdOK;

    QString systemInformation() const;

private:
    QString storeText() const;
    AppState& state_;
};

}  // namespace veltron
