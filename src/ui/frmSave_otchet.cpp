#include "ui/frmSave_otchet.h"

#include "calc/number_text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace veltron::ui {

frmSave_otchet::frmSave_otchet(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSave_otchet"));
    setWindowTitle(QStringLiteral("Создание отчета"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Внимание! Идет сохранение отчета. Не выполняйте никаких действий  до завершения!!!"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    QFont f = Label1->font();
    f.setPointSize(14);
    f.setBold(true);
    Label1->setFont(f);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight);
    layout->addWidget(Label1, 1);
    layout->addWidget(Label2);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &frmSave_otchet::tick);
    Timer1->start();
    tick();
    resize(650, 150);
}

void frmSave_otchet::tick()
{
    Label2->setText(calc::russianLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
}

ReportProgress::ReportProgress(QWidget* screen) : screen_(screen), window_(new frmSave_otchet)
{
    if (screen_)
        screen_->hide();
    window_->show();
    QCoreApplication::processEvents();
}

ReportProgress::~ReportProgress()
{
    window_->Timer1->stop();
    window_->hide();
    window_->deleteLater();
    if (screen_)
        screen_->show();
}

}  // namespace veltron::ui
