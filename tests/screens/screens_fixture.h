#pragma once

#include "app/frmLoad_Rasch.h"
#include "app/startup.h"
#include "common/test_store.h"
#include "records/app_state.h"
#include "records/blocks.h"
#include "records/calculations.h"
#include "screens/frmBlok.h"
#include "screens/frmInput.h"
#include "screens/frmLoad.h"
#include "screens/register_model1_screens.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace veltron::test {

// A store of its own with a few substances and surfaces, every screen of
// start-up and model I registered, dialogs answered from a script.
class ModelIScreens : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.dataDir = folder.path();
        state.programDir = folder.path();
        state.store = openStore(folder);
        auto& s = *state.store;
        s.exec("DELETE FROM SubstChar");
        s.exec("DELETE FROM tabPoverhn");
        const char* insert = "INSERT INTO SubstChar (Name, Vid_vva, Mol_massa, Plotn_GF, PokAdiab) VALUES (?, ?, ?, ?, ?)";
        s.exec(insert, {QStringLiteral("Пропан"), 1, 44.1, 500.0, 1.13});
        s.exec(insert, {QStringLiteral("Бутан"), 1, 58.12, 580.0, 1.1});
        s.exec(insert, {QStringLiteral("аммиак"), 1, 17.03, 682.0, 1.31});
        s.exec(insert, {QStringLiteral("Бензин"), 2, 95.0, 730.0, 1.05});
        const char* surface = "INSERT INTO tabPoverhn (Name, p, lyambda, c) VALUES (?, ?, ?, ?)";
        s.exec(surface, {QStringLiteral("Песок"), 1600.0, 0.58, 0.84});
        s.exec(surface, {QStringLiteral("Бетон"), 2400.0, 1.86, 0.88});
        registerAppScreens(state);
        registerModelIScreens(state);
    }
    void TearDown() override { closeAllScreens(); }

    static void click(QAbstractButton* b)
    {
        ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
        settle();
    }
    static void trigger(QWidget* screen, const char* action)
    {
        auto* a = screen->findChild<QAction*>(QLatin1String(action));
        ASSERT_NE(a, nullptr) << action;
        ASSERT_TRUE(a->isEnabled()) << action;
        a->trigger();
        settle();
    }
    static void clickRow(QTableWidget* grid, int row)
    {
        grid->setCurrentCell(row, 0);
        Q_EMIT grid->cellClicked(row, 0);
    }

    screens::frmLoad* openList()
    {
        // From the model choice when it is shown, as the user goes.
        if (auto* choice = visible<frmLoad_Rasch>("frmLoad_Rasch"))
            choice->load();
        else
            ui::navigator().open(QStringLiteral("frmLoad"));
        settle();
        return visible<screens::frmLoad>("frmLoad");
    }

    // A new calculation through the list screen; returns its input screen.
    screens::frmInput* createCalculation(const QString& name)
    {
        auto* list = openList();
        if (!list)
            return nullptr;
        list->txtRasch->setText(name);
        QTest::mouseClick(list->Command1, Qt::LeftButton);
        settle();
        return visible<screens::frmInput>("frmInput");
    }

    screens::frmBlok* editor() { return visible<screens::frmBlok>("frmBlok"); }

    // Fills and saves the block open in the editor.
    void enterBlock(const QString& name, const QString& substance, const QString& vgf, const QString& temp)
    {
        auto* e = editor();
        ASSERT_NE(e, nullptr);
        e->Name_blok->setText(name);
        const int kind = substance == QStringLiteral("Бензин") ? 1 : 0;
        e->cmdGrpog->setCurrentIndex(kind);
        e->Combo1->setCurrentIndex(e->Combo1->findText(substance));
        ASSERT_EQ(e->Combo1->currentText(), substance);
        e->V_GF->setText(vgf);
        e->V_PGF->setText(QStringLiteral("7,5"));
        e->Davl->setText(QStringLiteral("0,84"));
        e->Temp->setText(temp);
        dialogs.answers.push_back(ui::Answer::Yes);  // save although the data may be wrong
        click(e->Command2);
    }

    TempFolder folder;
    ui::ScriptedDialogs dialogs;
    AppState state;
};

}  // namespace veltron::test
