#pragma once

#include "records/app_state.h"
#include "records/blocks.h"
#include "records/substances.h"
#include "ui/screen.h"

#include <QHash>
#include <QPointer>

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::screens {

class frmInput;

// The block editor: one main or adjacent block of the current calculation.
class frmBlok : public ui::Screen {
    Q_OBJECT
public:
    // adjacent: the block is an adjacent one (the frame of adjacent-block
    // fields is shown); existing: the block is stored under `number` and is
    // loaded; otherwise the first save adds it under `number`.
    frmBlok(AppState& state, frmInput* input, bool adjacent, bool existing, int number, QWidget* parent = nullptr);

    QLineEdit* Name_blok;
    QLineEdit* Id;
    QComboBox* cmdGrpog;
    QLineEdit* txtFiltr;
    QPushButton* Command6;
    QComboBox* Combo1;
    QPushButton* cmdVva;  // opens the substances directory
    QLabel* lblGaps;      // what the chosen substance's record lacks
    ui::NumericEdit* V_GF;
    ui::NumericEdit* V_PGF;
    ui::NumericEdit* Davl;
    ui::NumericEdit* Temp;
    ui::NumericEdit* Plotn_GF;
    QPushButton* Command3;
    ui::NumericEdit* Plotn_PGF;
    ui::NumericEdit* Adiab;
    QCheckBox* Check1;
    ui::NumericEdit* G1;
    QLabel* picG1;
    QLabel* Label11;
    QCheckBox* Check2;
    ui::NumericEdit* G2;
    QLabel* picG2;
    QCheckBox* Check5;
    ui::NumericEdit* pMi;
    QLabel* picMi;
    QPushButton* Command5;  // "Рассчитать": G1 of the main block from its vapour-gas phase

    QGroupBox* Frame2;
    ui::NumericEdit* S_sech;
    ui::NumericEdit* T;
    ui::NumericEdit* Sk_teploper_GG;
    ui::NumericEdit* t_P;
    QPushButton* Command4;
    ui::NumericEdit* Sk_teploper_GF;
    ui::NumericEdit* Koef_gidro;
    QSlider* HScroll1;
    ui::NumericEdit* t_T;
    ui::NumericEdit* txtVist;
    QCheckBox* Check3;
    ui::NumericEdit* txtVist_zad;
    ui::NumericEdit* txtVistG;
    QCheckBox* Check4;
    ui::NumericEdit* txtVistG_zad;

    QPushButton* Command2;
    QPushButton* Command1;
    QAction* mnuReturn;
    QAction* mnuSave;

    // The labels of the fields, by the field's name ("V_GF", "txtVist", …).
    QLabel* labelOf(const QString& field) const;

    // "Сохранить"; returns whether the block was stored.
    bool save();
    void back();
    // Command3: density of the vapour-gas phase from the molar mass and Temp.
    bool computeDensity();
    // Command5: the known vapour-gas mass G1 of the main block computed from
    // its density, volume, pressure and temperature, as a run computes it.
    bool computeVapourMass();
    void openHeatInflow();
    // The substances directory; on return the list is filled anew, the
    // chosen substance kept while it is still listed.
    void openSubstances();
    // The leave check of Koef_gidro: keeps it within 0,4 … 0,8 and moves the slider.
    void applyKoefGidroRange(double value);
    bool isAdjacent() const { return adjacent_; }
    // Whether the block is stored: opened from the store or saved once.
    bool stored() const { return stored_; }

protected:
    void closedByFrame() override { back(); }
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void kindChanged();
    void filterChanged();
    void substanceSelected();
    void fillSubstances(const QString& filter);
    void loadBlock(const records::Block& b);
    std::optional<records::Block> readBlock();
    void applyRules();
    void showField(QWidget* field, bool shown);

    AppState& state_;
    QPointer<frmInput> input_;
    bool adjacent_;
    bool stored_;
    int number_;
    std::optional<double> molarMass_;
    QHash<QString, records::MissingProperties> gaps_;  // what each listed substance lacks
    bool syncingSlider_ = false;
    bool refilling_ = false;
    QHash<QString, QLabel*> labels_;
};

}  // namespace veltron::screens
