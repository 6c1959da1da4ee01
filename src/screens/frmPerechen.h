#pragma once

#include "records/app_state.h"
#include "report/block_register.h"
#include "ui/screen.h"

#include <optional>

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace veltron::screens {

// «Сводная таблица блоков»: the calculations of model I to take (ticked, or
// all), their runs with a progress bar, the register they make in a preview
// grid, and its saving as .docx, .xlsx or .csv in the report folder. The
// screen that opened it shows again when it closes.
class frmPerechen : public ui::Screen {
    Q_OBJECT
public:
    explicit frmPerechen(AppState& state, QWidget* parent = nullptr);

    QListWidget* lstRasch;  // the calculations, each with its tick
    QCheckBox* chkAll;      // «все расчеты»
    QPushButton* cmdRun;    // «Сформировать»
    QProgressBar* prbRun;
    QLabel* lblShapka;           // the heading line of the register
    QTableWidget* tabPerechen;   // the preview
    QPushButton* cmdSave;        // «Сохранить…»

    // The calculations ticked, in the order of the list.
    QList<records::Calculation> ticked() const;
    // Runs the ticked calculations and shows their register; false when none
    // is ticked or the store fails (the user is told).
    bool makeRegister();
    // Saves the register shown; returns the path written, or an empty text.
    QString save();
    void back() { leave(); }

    const std::optional<report::BlockRegister>& shown() const { return register_; }

protected:
    void closedByFrame() override { back(); }

private:
    void fillList();
    void showRegister();

    AppState& state_;
    std::optional<report::BlockRegister> register_;
};

}  // namespace veltron::screens
