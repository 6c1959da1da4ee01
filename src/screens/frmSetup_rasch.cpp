#include "screens/frmSetup_rasch.h"

#include "screens/settings_panel.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron::screens {

frmSetup_rasch::frmSetup_rasch(AppState& state, bool hideFrame3, QWidget* parent) : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("frmSetup_rasch"));
    setWindowTitle(settingsTitle());
    setModal(true);

    auto* menu = new QMenuBar(this);
    mnuReturn = menu->addAction(QStringLiteral("Расчет по выбранным зависимостям"));
    mnuReturn->setObjectName(QStringLiteral("mnuReturn"));
    connect(mnuReturn, &QAction::triggered, this, [this] { confirm(); });

    panel = new SettingsPanel(SettingsPanel::Mode::RunDialog, this);
    Command1 = new QPushButton(QStringLiteral("Расчет по выбранным зависимостям и переменным, введенным с клавиатуры"),
                               this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, [this] { confirm(); });

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(panel, 1);
    layout->addWidget(Command1, 0, Qt::AlignHCenter);

    loaded_ = panel->load(state_, hideFrame3);
    resize(1180, 660);
}

void frmSetup_rasch::confirm()
{
    const auto settings = panel->read();
    if (!settings)
        return;
    state_.runSettings = *settings;
    state_.settingsConfirmed = true;
    accept();
}

}  // namespace veltron::screens
