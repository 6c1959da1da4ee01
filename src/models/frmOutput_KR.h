#pragma once

#include "calc/complex_calculation.h"
#include "records/app_state.h"
#include "ui/screen.h"

#include <QList>

#include <optional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace veltron::screens {
class ZoneResults;
}

namespace veltron::models {

// Model IV, the complex calculation of the current calculation of
// tabRasch1: entries of the pool (tabKR) added as rows, the run over the
// rows, the rows saved, and the report.
class frmOutput_KR : public ui::Screen {
    Q_OBJECT
public:
    explicit frmOutput_KR(AppState& state, QWidget* parent = nullptr);

    QLabel* lblName;    // "Наименование расчета: " and the calculation's name
    QTabWidget* SSTab1;
    QComboBox* Combo1;  // the pool: "выбрать блок", then every entry by name
    QLineEdit *E11, *E12, *E21, *E22, *E23, *E24, *Wt_0;  // the chosen entry
    QPushButton* Command2;  // "добавить расчет"
    QPushButton* Command6;  // "удалить расчет из БД"
    QTableWidget* tabRasch;  // the rows: the names on view, the seven values in hidden columns
    QLabel* lblNoRows;       // "Расчеты не выбраны", uncovered while the grid is hidden
    QPushButton* Command3;   // "удалить расчет", above the grid
    QPushButton* Command4;   // "удалить расчет", below the grid
    QPushButton* Command1;   // "Расчет"
    QGroupBox* Frame1;       // the results
    QLineEdit *Q, *m, *Wt;
    QLabel* Zn_kategor;
    screens::ZoneResults* zones;  // tabZone and the overpressure calculator

    QAction* mnuReturn;
    QMenu* mnuRasch;
    QAction* mnuSave;
    QAction* mnuDelete;
    QAction* mnuRaschet;
    QAction* mnuWord;
    QAction* mnuFolder;
    QAction* mnuExit;

    // The rows as the grid holds them, with their exact numbers.
    const QList<calc::BlockEnergies>& rows() const { return rows_; }
    // The last run on this screen.
    const std::optional<calc::ComplexRun>& lastRun() const { return run_; }

    // "добавить расчет"; false when refused.
    bool addRow();
    // "удалить расчет": the selected row leaves the grid.
    void removeRow();
    // "удалить расчет из БД": the chosen entry leaves the pool, after a question.
    void deletePoolEntry();
    // "Расчет"; false when the run stopped or was refused.
    bool run();
    // "Сохранить": the rows replace the stored ones; false when refused or failed.
    bool save();
    // "Удалить": the complex calculation leaves the store, after a question.
    void deleteCalculation();
    // "Вывод результатов в Word"; the file written, or an empty text.
    QString report();
    // "<<Назад": asks to save rows that differ from the stored ones, then
    // shows the model choice.
    void back();
    bool hasUnsavedChanges() const override;

protected:
    void closedByFrame() override { back(); }
    bool saveChanges() override { return save(); }

private:
    QWidget* buildPage();
    void fillPool();
    void choosePoolEntry();
    void showRows();
    void selectRow();

    AppState& state_;
    QList<calc::BlockEnergies> rows_;
    QList<calc::BlockEnergies> storedRows_;  // as last read or saved
    std::optional<calc::BlockEnergies> chosen_;  // the pool entry on view
    std::optional<calc::ComplexRun> run_;
};

}  // namespace veltron::models
