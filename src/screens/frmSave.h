#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

#include <QPointer>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace veltron::screens {

class frmInput;

// The name dialog of the input screen: renames the current calculation
// (mode 0) or saves it under another name (mode 1).
class frmSave : public ui::Screen {
    Q_OBJECT
public:
    frmSave(AppState& state, frmInput* input, QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QLineEdit* txtRasch;
    QPushButton* Command1;
    QAction* mnuLoad;

    // "Сохранить"; returns whether the name was taken.
    bool save();
    void back();

protected:
    void closedByFrame() override { back(); }

private:
    bool rename(const QString& name);
    bool saveAs(const QString& name);

    AppState& state_;
    QPointer<frmInput> input_;
};

}  // namespace veltron::screens
