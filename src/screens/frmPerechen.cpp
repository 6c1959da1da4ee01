#include "screens/frmPerechen.h"

#include "records/signature.h"
#include "screens/form_widgets.h"
#include "screens/report_folder_dialog.h"
#include "screens/store_errors.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"
#include "ui/report_file.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltron::screens {

frmPerechen::frmPerechen(AppState& state, QWidget* parent)
    : ui::Screen(QStringLiteral("frmPerechen"), QStringLiteral("Сводная таблица блоков"), parent), state_(state)
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* frame = new QGroupBox(QStringLiteral("Расчеты, включаемые в перечень технологических блоков"), central);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* inFrame = new QVBoxLayout(frame);
    chkAll = new QCheckBox(QStringLiteral("все расчеты"), frame);
    chkAll->setObjectName(QStringLiteral("chkAll"));
    lstRasch = new QListWidget(frame);
    lstRasch->setObjectName(QStringLiteral("lstRasch"));
    lstRasch->setMaximumHeight(140);
    inFrame->addWidget(chkAll);
    inFrame->addWidget(lstRasch);
    layout->addWidget(frame);

    auto* runRow = new QHBoxLayout;
    cmdRun = namedButton(central, "cmdRun", QStringLiteral("Сформировать"));
    prbRun = new QProgressBar(central);
    prbRun->setObjectName(QStringLiteral("prbRun"));
    prbRun->setValue(0);
    cmdSave = namedButton(central, "cmdSave", QStringLiteral("Сохранить…"));
    cmdSave->setEnabled(false);
    runRow->addWidget(cmdRun);
    runRow->addWidget(prbRun, 1);
    runRow->addWidget(cmdSave);
    layout->addLayout(runRow);

    lblShapka = wrapLabel(central, "lblShapka", QString());
    layout->addWidget(lblShapka);
    tabPerechen = makeGrid(central, "tabPerechen");
    tabPerechen->horizontalHeader()->show();
    tabPerechen->setColumnCount(int(report::registerHeader().size()));
    tabPerechen->setHorizontalHeaderLabels(report::registerHeader());
    layout->addWidget(tabPerechen, 1);
    setCentralWidget(central);

    addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    addMenuAction(QStringLiteral("mnuFolder"), QStringLiteral("Папка для сохранения отчета"),
                  [this] { openReportFolder(state_, this); });
    addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });
    connect(chkAll, &QCheckBox::toggled, this, [this](bool on) {
        for (int i = 0; i < lstRasch->count(); ++i)
            lstRasch->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    });
    connect(cmdRun, &QPushButton::clicked, this, [this] { makeRegister(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { save(); });
    fillList();
    resize(1100, 640);
}

void frmPerechen::fillList()
{
    onStore([&] {
        for (const records::Calculation& c : records::listCalculations(state_.db())) {
            auto* item = new QListWidgetItem(c.name, lstRasch);
            item->setData(Qt::UserRole, c.id);
            item->setCheckState(Qt::Unchecked);
        }
    });
}

QList<records::Calculation> frmPerechen::ticked() const
{
    QList<records::Calculation> out;
    for (int i = 0; i < lstRasch->count(); ++i)
        if (const QListWidgetItem* item = lstRasch->item(i); item->checkState() == Qt::Checked)
            out << records::Calculation{item->data(Qt::UserRole).toInt(), item->text()};
    return out;
}

bool frmPerechen::makeRegister()
{
    const QList<records::Calculation> calculations = ticked();
    if (calculations.isEmpty()) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Отметьте расчеты, которые войдут в перечень, или «все расчеты»."),
                             ui::Icon::Warning);
        return false;
    }
    prbRun->setRange(0, int(calculations.size()));
    prbRun->setValue(0);
    cmdRun->setEnabled(false);
    const bool made = onStore([&] {
        register_ = report::makeRegister(state_.db(), calculations, [this](qsizetype done, qsizetype) {
            prbRun->setValue(int(done));
            // The bar moves while the runs go on; clicks wait until they end.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    });
    cmdRun->setEnabled(true);
    if (made)
        showRegister();
    return made;
}

void frmPerechen::showRegister()
{
    lblShapka->setText(report::registerHeading(*register_));
    tabPerechen->clearSpans();
    tabPerechen->setRowCount(int(register_->rows.size()));
    for (int r = 0; r < register_->rows.size(); ++r) {
        const QStringList cells = report::registerCells(register_->rows[r], r + 1);
        for (int c = 0; c < cells.size(); ++c)
            tabPerechen->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    // The message of a stopped run stands across the columns of the numbers.
    const int firstNumber = 4;
    for (int r = 0; r < register_->rows.size(); ++r)
        if (!register_->rows[r].numbers)
            tabPerechen->setSpan(r, firstNumber, 1, tabPerechen->columnCount() - firstNumber);
    tabPerechen->resizeColumnsToContents();
    cmdSave->setEnabled(true);
}

QString frmPerechen::save()
{
    if (!register_)
        return {};
    const records::Signature signature = records::rememberedSignature(state_.dataDir);
    return ui::saveFileAs(QStringLiteral("Сохранение перечня технологических блоков"), state_.reportFolder, state_.dataDir,
                          QStringLiteral("Документы Word (*.docx);;Книги Excel (*.xlsx);;Текст CSV (*.csv)"),
                          {QStringLiteral("docx"), QStringLiteral("xlsx"), QStringLiteral("csv")},
                          [&](const QString& path) {
                              return report::registerFile(*register_, *report::registerFormatOf(path), signature);
                          });
}

}  // namespace veltron::screens
