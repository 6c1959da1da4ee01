#pragma once

#include "records/app_state.h"
#include "records/calculation_inputs.h"
#include "report/results_view.h"
#include "ui/screen.h"

#include <QPointer>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace veltron::screens {

class ZoneResults;

// The results screen of model I: the inputs the run used and every result,
// the overpressure calculator and the hand-over to the complex calculation.
class frmOutput : public ui::ReturningScreen {
    Q_OBJECT
public:
    // inputs: what the input screen held for the run; view: the run's texts.
    // inputScreen is shown again by "<<Назад".
    frmOutput(AppState& state, QWidget* inputScreen, const records::CalculationInputs& inputs,
              const report::ResultsView& view, QWidget* parent = nullptr);

    const records::CalculationInputs& inputs() const { return inputs_; }
    const report::ResultsView& view() const { return view_; }
    // The last overpressure calculation, row 6 of the zone grid.
    const report::Overpressure& overpressure() const;

    QTabWidget* SSTab1;
    QTabWidget* SSTab2;
    QTabWidget* SSTab4;
    QTabWidget* tabE;

    // Results page.
    QLineEdit *A, *G, *E11, *E12, *E21, *E22, *E23, *E24, *m, *Q, *Wt;
    QLabel* Zn_kategor;
    QLabel* Label28;
    QLabel* lblPnNote;  // why the evaporation intensity W is 0, when formula 14.2 gives no pressure
    ZoneResults* zones;  // tabZone and the overpressure calculator
    QTableWidget* tabZone;
    QPushButton* Command1;
    QLineEdit* txtP;
    QPushButton* Command2;
    QLineEdit* txtX;

    // Page "Общие".
    QGroupBox* Frame1;
    QGroupBox* Frame3;
    QLineEdit *Name_Vva, *Mol_massa, *T_kip, *Tepl_sgorGF, *Tepl_sgorPGF, *Tepl_paroobr, *Teploem_GF, *Plotn_PGF;
    QLineEdit *t_kontakt, *txtTau_max, *Type, *Koef_teplopr, *c, *p, *S_kontakt, *S_G, *txtNyu;
    QLineEdit *Tempv, *Tempp, *txtTg, *txtUmax, *txtPn, *txtPn1;
    QLabel* LTempv;
    QLabel* Label5;
    QLabel* Label33;
    QLabel* Label17;

    // Page "Блоки".
    QGroupBox* Frame2;
    QTableWidget* tabBlok;
    QLabel* Label2;
    QGroupBox* Frame4;
    QTableWidget* tabBlok_smeg;
    QLabel* Label1;

    // Detail grids.
    QTableWidget* tabE2;
    QTableWidget* tabE1;
    QTableWidget* tabE22;
    QTableWidget* tabE23;

    QAction* mnuReturn;
    QAction* mnuWord1;
    QAction* mnuWord2;
    QAction* mnuFolder;
    QAction* mnuExit;

    // "Расчет" of the overpressure calculator; false when txtP is not a number.
    bool calculateOverpressure();
    // "Использовать данные для комплексного расчета".
    void handOver();
    // "<<Назад": the screen is destroyed and the input screen shown.
    void back();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildResultsPage();
    QWidget* buildGeneralPage();
    QWidget* buildBlocksPage();
    QWidget* buildDetailPage();
    void fill();
    void report(const QString& which);

    AppState& state_;
    records::CalculationInputs inputs_;
    report::ResultsView view_;
};

}  // namespace veltron::screens
