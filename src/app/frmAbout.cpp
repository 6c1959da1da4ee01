#include "app/frmAbout.h"

#include "db/data_source.h"
#include "ui/dialogs.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace veltron {

frmAbout::frmAbout(AppState& state, QWidget* parent) : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе \"Вельтрон\""));
    auto* layout = new QVBoxLayout(this);
    lblTitle = new QLabel(QStringLiteral("Вельтрон"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont f = lblTitle->font();
    f.setPointSize(16);
    f.setBold(true);
    lblTitle->setFont(f);
    lblVersion = new QLabel(QStringLiteral("Версия %1").arg(QStringLiteral(VELTRON_VERSION)), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel(QStringLiteral("Оценка взрывоопасности технологических блоков по ПБ 09-540-03: "
                                               "энергетический потенциал, категория взрывоопасности, "
                                               "тротиловый эквивалент и радиусы зон разрушений."),
                                this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblStore = new QLabel(QStringLiteral("База данных: %1").arg(storeText()), this);
    lblStore->setObjectName(QStringLiteral("lblStore"));
    lblStore->setWordWrap(true);
    layout->addWidget(lblTitle);
    layout->addWidget(lblVersion);
    layout->addWidget(lblDescription);
    layout->addWidget(lblStore);
    auto* buttons = new QHBoxLayout;
    cmdSysInfo = new QPushButton(QStringLiteral("Сведения о системе..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] {
        ui::dialogs().inform(QStringLiteral("Сведения о системе"), systemInformation(), ui::Icon::Information);
    });
    resize(460, 200);
}

QString frmAbout::storeText() const
{
    return state_.store ? db::describeStore(state_.store->source()) : QStringLiteral("не подключена");
}

QString frmAbout::systemInformation() const
{
    return QStringLiteral("Операционная система: %1 (%2)\nВерсия Qt: %3\nПапка программы: %4\n"
                          "Папка данных: %5\nБаза данных: %6")
        .arg(QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture(), QString::fromLatin1(qVersion()),
             QDir::toNativeSeparators(state_.programDir), QDir::toNativeSeparators(state_.dataDir), storeText());
}

}  // namespace veltron
