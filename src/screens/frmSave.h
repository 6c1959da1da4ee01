#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

#include <QPointer>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace veltron::screens {

class frmInput;

// The name dialog of the input screen: renames the current calculation or
// saves it under another name.
class frmSave : public ui::Screen {
    Q_OBJECT
public:
    enum class Mode { Rename, SaveAs };

    frmSave(AppState& state, Mode mode, frmInput* input, QWidget* parent = nullptr);

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
    Mode mode_;
    QPointer<frmInput> input_;
};

}  // namespace veltron::screens
