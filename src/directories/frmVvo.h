#pragma once

#include "records/app_state.h"
#include "records/substances.h"
#include "ui/screen.h"

#include <QHash>

#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::directories {

// The substances directory: browses, filters, adds, changes and deletes the
// substances of SubstChar. The screen that opened it shows again when it
// closes ("Вернуться в основное меню").
class frmVvo : public ui::Screen {
    Q_OBJECT
public:
    explicit frmVvo(AppState& state, QWidget* parent = nullptr);

    // Browsing: the grid and its buttons.
    QGroupBox* Frame2;
    QLabel* Label1;  // the grid's title
    QTableWidget* Tabl_Vva;
    QLabel* Label2;  // "Нет введенных или удовлетворяющих фильтру веществ"
    QLabel* Label3;  // legend lines
    QLabel* lblMissing;  // what the marks of incomplete substances mean
    QLineEdit* txtFiltr;
    QPushButton* Command7;
    QPushButton* Command2;
    QPushButton* Command5;
    QPushButton* Command3;

    // The parameter panel.
    QGroupBox* Frame1;
    QLineEdit* Name_Vva;
    QComboBox* cmdGrpog;
    QLineEdit* txtBruttoF;
    ui::NumericEdit* Mol_massa;
    ui::NumericEdit* txtPlotnGF;
    ui::NumericEdit* T_plav;
    ui::NumericEdit* T_kip;
    ui::NumericEdit* T_vsp;
    ui::NumericEdit* txtNKPR;
    ui::NumericEdit* txtVKPR;
    ui::NumericEdit* txtA;
    ui::NumericEdit* txtB;
    ui::NumericEdit* txtCa;
    ui::NumericEdit* txtnTpr;
    ui::NumericEdit* txtvTpr;
    ui::NumericEdit* Tepl_sgorPGF;
    ui::NumericEdit* Tepl_paroobr;
    ui::NumericEdit* Teploem_GF;
    ui::NumericEdit* txt_k;
    QLineEdit* Dop_inf;
    QLabel* lblGaps;  // what the loaded record lacks
    QPushButton* Command1;
    QPushButton* Command6;
    QPushButton* Command4;

    QAction* mnuSave;
    QAction* mnuSave1;
    QAction* mnuCancel;
    QAction* mnuPred;
    QAction* mnuExit;

    // Fills the grid with the substances whose name contains the filter
    // (case-sensitive); an empty filter lists every one.
    void FillSubstGrid(const QString& filter);

    void newSubstance();
    void changeSubstance();
    bool save();
    bool saveAs();
    void cancel();
    void deleteSubstance();
    // "Вернуться в основное меню".
    void back();

    // The substance of the selected grid row; empty when none is selected.
    QString selectedName() const;
    bool editing() const;

protected:
    void closedByFrame() override { back(); }

private:
    enum class Mode { Browsing, New, Change };

    void build();
    void rowSelected();
    void nameEdited();
    void showPanel(Mode mode);
    void showBrowsing();
    void showRecord(const records::SubstanceRecord& s);
    // The panel as a record; nothing, with the message shown, when a box
    // holds no number.
    std::optional<records::SubstanceRecord> readPanel(const QString& notSaved);
    // Refuses the first value outside the physical range of its field.
    bool valuesInRange(const QString& notSaved);
    bool nameTaken(const QString& name);
    bool confirmSave();
    bool write(const QString& oldName, const records::SubstanceRecord& s);

    AppState& state_;
    Mode mode_ = Mode::Browsing;
    QString remembered_;              // the name before editing
    std::optional<int> loadedKind_;   // Vid_vva of the record being changed
    QHash<ui::NumericEdit*, QString> labels_;
    bool filling_ = false;
};

}  // namespace veltron::directories
