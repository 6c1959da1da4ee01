#include "screens/frmSetup.h"

#include "records/calculations.h"
#include "screens/settings_panel.h"
#include "screens/store_errors.h"
#include "ui/dialogs.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron::screens {

frmSetup::frmSetup(AppState& state, QWidget* returnTo, QWidget* parent)
    : ui::ReturningScreen(QStringLiteral("frmSetup"), settingsTitle(), returnTo, parent), state_(state)
{
    addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад с сохранением"), [this] { save(); });
    addMenuAction(QStringLiteral("mnuCancel"), QStringLiteral("Отмена"), [this] { cancel(); });

    auto* central = new QWidget(this);
    panel = new SettingsPanel(SettingsPanel::Mode::SettingsScreen, central);
    Command1 = new QPushButton(QStringLiteral("<<Назад с сохранением"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Отмена"), central);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, [this] { save(); });
    connect(Command2, &QPushButton::clicked, this, [this] { cancel(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);

    panel->load(state_, false);
    resize(1180, 680);
}

bool frmSetup::save()
{
    const auto s = panel->read();
    if (!s)
        return false;
    bool stored = false;
    if (!onStore([&] { stored = records::saveRunSettings(state_.db(), state_.current.id, *s); }))
        return false;
    if (!stored) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Условия расчета \"%1\" не найдены в базе данных, настройки не "
                                            "сохранены.")
                                 .arg(state_.current.name),
                             ui::Icon::Critical);
        return false;
    }
    state_.runSettings = *s;
    returnToCaller();
    return true;
}

}  // namespace veltron::screens
