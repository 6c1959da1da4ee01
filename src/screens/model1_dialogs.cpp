#include "screens/model1_dialogs.h"

#include "screens/frmDolya_z.h"
#include "screens/frmNyu.h"
#include "screens/frmPt.h"
#include "screens/frmSetup.h"
#include "screens/run_request.h"
#include "ui/numeric_edit.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

namespace veltron::screens {

namespace {

QLineEdit* edit(QWidget* screen, const char* name)
{
    return screen ? screen->findChild<QLineEdit*>(QLatin1String(name)) : nullptr;
}

QString textOf(QWidget* screen, const char* name)
{
    const QLineEdit* e = edit(screen, name);
    return e ? e->text() : QString();
}

void setTextOf(QWidget* screen, const char* name, const QString& text)
{
    if (QLineEdit* e = edit(screen, name))
        e->setText(text);
}

}  // namespace

void openZDialog(AppState& state, QWidget* inputScreen)
{
    auto* outdoors = inputScreen->findChild<QAbstractButton*>(QStringLiteral("Option3"));
    QPointer<QWidget> input(inputScreen);
    auto* dlg = new frmDolya_z(state, outdoors && outdoors->isChecked(), inputScreen, [input](const QString& z) {
        setTextOf(input, "Zet", z);
    });
    inputScreen->hide();
    dlg->show();
    dlg->Zet->setText(textOf(inputScreen, "Zet"));
}

void openNyuCalculator(AppState& state, QWidget* inputScreen)
{
    QPointer<QWidget> input(inputScreen);
    inputScreen->hide();
    auto* calc = new frmNyu(state, textOf(inputScreen, "Tempv"), inputScreen,
                            [input](const QString& tempv, const QString& nyu) {
                                setTextOf(input, "Tempv", tempv);
                                setTextOf(input, "txtNyu", nyu);
                            });
    calc->show();
}

void openSettingsScreen(AppState& state, QWidget* inputScreen)
{
    inputScreen->hide();
    (new frmSetup(state, inputScreen))->show();
}

void openHeatInflowDialog(AppState& state, QWidget* blockEditor)
{
    QPointer<QWidget> editor(blockEditor);
    blockEditor->hide();
    auto* dlg = new frmPt(state, textOf(blockEditor, "Sk_teploper_GF"), blockEditor,
                          [editor](const QString& rate) { setTextOf(editor, "Sk_teploper_GF", rate); });
    dlg->show();
}

RunRequest* runRequestOf(AppState& state, QWidget* inputScreen)
{
    if (auto* existing = inputScreen->findChild<RunRequest*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new RunRequest(state, inputScreen);
}

}  // namespace veltron::screens
