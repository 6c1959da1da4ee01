#include "app/frmDataSourse.h"

#include "app/startup.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron {

frmDataSourse::frmDataSourse(AppState& state, const QString& reason, QWidget* parent)
    : ui::Screen(QStringLiteral("frmDataSourse"), QStringLiteral("Имя источника данных ODBC"), parent), state_(state)
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* frame = new QGroupBox(central);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* inner = new QVBoxLayout(frame);
    Label1 = new QLabel(QStringLiteral("Панель управления->Администрирование-> Источники данных (ODBC)->База данных "
                                       "MS Access->Пользовательский DSN-> Имя источника данных переменных"),
                        frame);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    inner->addWidget(Label1);
    txtDataSourse = new QLineEdit(QStringLiteral("База данных MS Access"), frame);
    txtDataSourse->setObjectName(QStringLiteral("txtDataSourse"));
    inner->addWidget(txtDataSourse);
    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("Подключение"), frame);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Выход"), frame);
    Command2->setObjectName(QStringLiteral("Command2"));
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    inner->addLayout(buttons);
    layout->addWidget(frame);
    lblReason = new QLabel(reason, central);
    lblReason->setObjectName(QStringLiteral("lblReason"));
    lblReason->setWordWrap(true);
    lblReason->setStyleSheet(QStringLiteral("color: #a00000;"));
    lblReason->setVisible(!reason.isEmpty());
    layout->addWidget(lblReason);
    setCentralWidget(central);
    resize(560, 240);

    txtDataSourse->setText(state_.dsn.isEmpty() ? db::readDataSourceName(state_.dataDir) : state_.dsn);
    connect(Command1, &QPushButton::clicked, this, [this] { connectSource(); });
    connect(Command2, &QPushButton::clicked, this, [this] { closedByFrame(); });
}

void frmDataSourse::connectSource()
{
    const QString name = txtDataSourse->text();
    QString error;
    state_.connection = db::ConnectionStrings::namedProbe(state_.dataDir, name);
    bool ready = false;
    if (connectNamed(state_, name, &error)) {
        try {
            ready = state_.store->hasTables() || offerTables(state_);
            if (!ready)
                return;  // the tables were not created: the dialog stays for another name
        } catch (const db::StoreError& e) {
            error = e.message();
        }
    }
    if (!ready) {
        state_.store.reset();
        ui::dialogs().inform(QStringLiteral("В н и м а н и е!!!"),
                             QStringLiteral("Невозможно подключиться к базе данных, измените имя источника данных ODBC!"),
                             ui::Icon::Critical);
        lblReason->setText(error);
        lblReason->setVisible(!error.isEmpty());
        return;
    }
    // A shared source chosen at start is replaced by the one that connected;
    // the data-source file names the source tried after the embedded store.
    if (!state_.dsn.isEmpty())
        state_.dsn = name;
    else if (!db::writeDataSourceName(state_.dataDir, name))
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Не удалось записать имя источника данных в файл «Data Source.txt» "
                                            "папки данных: при следующем запуске его придется ввести снова."),
                             ui::Icon::Warning);
    txtDataSourse->setText(name);
    ui::dialogs().inform(QStringLiteral("В н и м а н и е!!!"), QStringLiteral("База успешно подключена!"), ui::Icon::None);
    leave();
    state_.store.reset();
    // The user has just chosen the source, having read why the embedded
    // store failed: starting again on it needs no second notice.
    startUp(state_, false);
}

void frmDataSourse::closedByFrame()
{
    leave();
    bool othersShown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            othersShown = true;
    if (!othersShown)
        QApplication::quit();
}

}  // namespace veltron
