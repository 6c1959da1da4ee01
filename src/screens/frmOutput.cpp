#include "screens/frmOutput.h"

#include "records/signature.h"
#include "report/appendix_report.h"
#include "report/main_report.h"
#include "screens/frmSave_KR.h"
#include "screens/energy_captions.h"
#include "screens/report_folder_dialog.h"
#include "screens/zone_map.h"
#include "screens/form_widgets.h"
#include "screens/zone_results.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"
#include "ui/report_file.h"
#include "ui/numeric_edit.h"
#include "calc/number_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltron::screens {

namespace {

QLabel* formulaLabel(QWidget* parent, const QString& html)
{
    auto* l = new QLabel(html, parent);
    l->setTextFormat(Qt::RichText);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    l->setFont(f);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(52);
    return l;
}

QWidget* scrolled(QWidget* content)
{
    auto* area = new QScrollArea;
    area->setWidget(content);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

// Rows of a detail grid after its header; a grid always keeps at least its two rows.
void fillRows(QTableWidget* grid, const QList<QStringList>& rows)
{
    grid->setRowCount(std::max<int>(2, int(rows.size()) + 1));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            setCell(grid, r + 1, c, rows[r][c]);
}

int lineHeight(const QWidget* w)
{
    return w->fontMetrics().lineSpacing() + 2;
}

}  // namespace

frmOutput::frmOutput(AppState& state, QWidget* inputScreen, const records::CalculationInputs& inputs,
                     const report::ResultsView& view, QWidget* parent)
    : ui::ReturningScreen(QStringLiteral("frmOutput"), QStringLiteral("Результаты расчета"), inputScreen, parent),
      state_(state),
      inputs_(inputs),
      view_(view)
{
    mnuReturn = addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    QMenu* word = addMenu(QStringLiteral("mnuWord"), QStringLiteral("Вывод результатов в MWord"));
    mnuWord1 = addMenuItem(word, QStringLiteral("mnuWord1"),
                           QStringLiteral("Приложение 2 ОПРЕДЕЛЕНИЕ КАТЕГОРИЙ ВЗРЫВООПАСНОСТИ ТЕХНОЛОГИЧЕСКИХ БЛОКОВ"),
                           [this] { report(QStringLiteral("mnuWord1")); });
    QAction* separator = word->addSeparator();
    separator->setObjectName(QStringLiteral("bbb"));
    mnuWord2 = addMenuItem(word, QStringLiteral("mnuWord2"),
                           QStringLiteral("Приложение 3.1 РАСЧЕТ УЧАСТВУЮЩЕЙ ВО ВЗЫВЕ МАССЫ ВЕЩЕСТВА И РАДИУСОВ ЗОН "
                                          "РАЗРУШЕНИЙ. Методика расчета \"тротилового эквивалента\""),
                           [this] { report(QStringLiteral("mnuWord2")); });
    mnuFolder = addMenuAction(QStringLiteral("mnuFolder"), QStringLiteral("Папка для сохранения отчета"), [this] {
        openReportFolder(state_, this);
    });
    mnuExit = addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab2 = new QTabWidget;
    SSTab2->setObjectName(QStringLiteral("SSTab2"));
    SSTab2->addTab(scrolled(buildGeneralPage()), QStringLiteral("Общие"));
    SSTab2->addTab(scrolled(buildBlocksPage()), QStringLiteral("Блоки"));
    SSTab4 = new QTabWidget;
    SSTab4->setObjectName(QStringLiteral("SSTab4"));
    SSTab4->addTab(scrolled(buildResultsPage()), QStringLiteral("избыточного давления (кПа)"));
    SSTab4->addTab(buildDetailPage(), QStringLiteral("Дополгительные показатели взрывоопасности"));
    SSTab1->addTab(SSTab2, QStringLiteral("Исходные данные"));
    SSTab1->addTab(SSTab4, QStringLiteral("Результаты расчета"));
    setCentralWidget(SSTab1);

    fill();
    SSTab1->setCurrentIndex(0);
    SSTab2->setCurrentIndex(0);
    SSTab4->setCurrentIndex(0);
    tabE->setCurrentIndex(0);
    resize(1340, 700);
}

QWidget* frmOutput::buildResultsPage()
{
    auto* page = new QWidget;
    const auto box = [page](QLineEdit*& field, const char* name) {
        field = valueBox(page, name, 150);
        return field;
    };

    // Energy terms and totals on the left, zones and the calculators on the right.
    auto* left = new QGridLayout;
    left->setColumnStretch(0, 1);
    int row = 0;
    const auto term = [&](const char* labelName, const QString& caption, const QString& formula, QLineEdit*& field,
                          const char* name) {
        left->addWidget(wrapLabel(page, labelName, caption), row, 0);
        left->addWidget(formulaLabel(page, formula), row, 1);
        left->addWidget(box(field, name), row, 2);
        ++row;
    };
    term("LA",
         QStringLiteral("Энергия сжатой ПГФ, рассматриваемая как работа ее адиабатического расширения при АРБ, кДЖ"),
         QStringLiteral("А ="), A, "A");
    term("LG", QStringLiteral("Масса ПГФ, имеющихся непосредственно в блоке, кг"), QStringLiteral("G'<sub>1</sub> ="),
         G, "G");
    G->setMaximumWidth(240);
    G->setMinimumWidth(220);
    term("LE11", captions::LE11, QStringLiteral("E'<sub>1</sub> ="), E11, "E11");
    term("LE12", captions::LE12, QStringLiteral("E'<sub>2</sub> ="), E12, "E12");
    term("LE21", captions::LE21, QStringLiteral("E''<sub>1</sub>="), E21, "E21");
    term("LE22", captions::LE22, QStringLiteral("E''<sub>2</sub>="), E22, "E22");
    term("LE23", captions::LE23, QStringLiteral("E''<sub>3</sub>="), E23, "E23");
    term("LE24", captions::LE24, QStringLiteral("E''<sub>4</sub>="), E24, "E24");
    Label28 = wrapLabel(page, "Label28", QString());
    Label28->setStyleSheet(QStringLiteral("QLabel { color: #000080; font-style: italic; }"));
    Label28->hide();
    left->addWidget(Label28, row++, 0, 1, 3);
    lblPnNote = wrapLabel(page, "lblPnNote", QString());
    lblPnNote->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    lblPnNote->hide();
    left->addWidget(lblPnNote, row++, 0, 1, 3);
    term("Lm",
         QStringLiteral("Общая масса горючих паров (газов) взрывоопасного парогазового облака m, приведенная к единой "
                        "удельной энергии сгорания, равной 46 000 кДж/кг"),
         QStringLiteral("m ="), m, "m");
    term("LQ", QStringLiteral("Относительный энергетический потенциал взрывоопасности Qв технологического блока "),
         QStringLiteral("Q<sub>в</sub>  ="), Q, "Q");
    {
        auto* kategor = wrapLabel(page, "Kategor", QStringLiteral("Категория взрывоопасности:"));
        QFont f = kategor->font();
        f.setBold(true);
        kategor->setFont(f);
        Zn_kategor = new QLabel(page);
        Zn_kategor->setObjectName(QStringLiteral("Zn_kategor"));
        QFont big = f;
        big.setPointSizeF(f.pointSizeF() * 1.6);
        Zn_kategor->setFont(big);
        Zn_kategor->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
        left->addWidget(kategor, row, 0);
        left->addWidget(Zn_kategor, row, 2);
        ++row;
    }
    left->addWidget(wrapLabel(page, "LWt", QStringLiteral("Тротиловый эквивалент взрыва парогазовой среды Wт, кг")), row,
                    0);
    left->addWidget(box(Wt, "Wt"), row, 2);
    ++row;
    left->setRowStretch(row, 1);

    auto* right = new QVBoxLayout;
    zones = new ZoneResults(
        {QStringLiteral("Command2"), false, QStringLiteral("5"), ZoneResults::Options::MapPlace::Apart}, page);
    tabZone = zones->tabZone;
    txtP = zones->txtP;
    Command2 = zones->calculateButton;
    txtX = zones->txtX;
    right->addWidget(zones);
    Command1 = new QPushButton(QStringLiteral("Использовать данные для комплексного расчета"), page);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, [this] { handOver(); });
    right->addWidget(Command1, 0, Qt::AlignLeft);
    // The map of the zones under the hand-over, so that the button stays in view.
    right->addWidget(zones->map, 1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 11);
    layout->addSpacing(12);
    layout->addLayout(right, 9);
    return page;
}

QWidget* frmOutput::buildGeneralPage()
{
    auto* page = new QWidget;
    const auto pair = [](QGridLayout* g, int row, QWidget* parent, const char* labelName, const QString& caption,
                         QLineEdit*& field, const char* name, int width = 130) {
        g->addWidget(wrapLabel(parent, labelName, caption), row, 0);
        field = valueBox(parent, name, width);
        g->addWidget(field, row, 1);
    };

    Frame1 = new QGroupBox(QStringLiteral("Параметры вещества"), page);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* f1 = new QGridLayout(Frame1);
    f1->setColumnStretch(0, 1);
    pair(f1, 0, Frame1, "LName_Vva", QStringLiteral("Название вещества в АРБ"), Name_Vva, "Name_Vva", 220);
    pair(f1, 1, Frame1, "LMol_massa", QStringLiteral("Молярная масса, кг/моль"), Mol_massa, "Mol_massa");
    pair(f1, 2, Frame1, "LT_kip", QStringLiteral("Температура кипения, °C"), T_kip, "T_kip");
    pair(f1, 3, Frame1, "LTepl_sgorGF", QStringLiteral("Удельная теплота сгорания жидкой фазы, кДж/кг"), Tepl_sgorGF,
         "Tepl_sgorGF");
    pair(f1, 4, Frame1, "LTepl_sgorPGF", QStringLiteral("Удельная теплота сгорания парогазовой фазы, кДж/кг"),
         Tepl_sgorPGF, "Tepl_sgorPGF");
    pair(f1, 5, Frame1, "LTepl_paroobr", QStringLiteral("Удельная теплота парообразования, кДж/кг"), Tepl_paroobr,
         "Tepl_paroobr");
    pair(f1, 6, Frame1, "LTeploem_GF", QStringLiteral("Удельная теплоемкость жидкой фазы, кДж/(кг*К)"), Teploem_GF,
         "Teploem_GF");
    pair(f1, 7, Frame1, "LPlotn_PGF", QStringLiteral("Плотность парогазовой фазы при НУ, кг/куб. м"), Plotn_PGF,
         "Plotn_PGF");
    Plotn_PGF->hide();
    if (auto* l = Frame1->findChild<QLabel*>(QStringLiteral("LPlotn_PGF")))
        l->hide();

    Frame3 = new QGroupBox(QStringLiteral("Давление насыщенных паров, кПа"), page);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    auto* f3 = new QGridLayout(Frame3);
    f3->setColumnStretch(0, 1);
    pair(f3, 0, Frame3, "lPn", QStringLiteral("при регламентной температуре в аппарате на момент разрушения"), txtPn,
         "txtPn");
    Label5 = wrapLabel(Frame3, "Label5", QString());
    f3->addWidget(Label5, 1, 0, 1, 2);
    pair(f3, 2, Frame3, "Label34", QStringLiteral("при максимальной из температур (воздуха и жидкости в проливе)"),
         txtPn1, "txtPn1");
    Label33 = wrapLabel(Frame3, "Label33", QString());
    f3->addWidget(Label33, 3, 0, 1, 2);
    for (QLabel* l : {Label5, Label33})
        l->setStyleSheet(QStringLiteral("QLabel { color: #000080; }"));

    Label17 = wrapLabel(page, "Label17", QString());
    Label17->setStyleSheet(QStringLiteral("QLabel { color: #c00000; font-weight: bold; }"));
    Label17->hide();

    auto* conditions = new QGroupBox(page);
    conditions->setObjectName(QStringLiteral("FrameConditions"));
    auto* g = new QGridLayout(conditions);
    g->setColumnStretch(0, 1);
    int row = 0;
    pair(g, row++, conditions, "Lt_kontakt",
         QStringLiteral("Время контакта жидкости с поверхностью пролива, принимаемое в расчет, с"), t_kontakt,
         "t_kontakt");
    pair(g, row++, conditions, "Label36", QStringLiteral("Максимальное теоретическое время испарения, с"), txtTau_max,
         "txtTau_max");
    pair(g, row++, conditions, "LType", QStringLiteral("Вид подстилающей поверхности"), Type, "Type", 220);
    pair(g, row++, conditions, "Label15",
         QStringLiteral("Коэффициент теплопроводности подстилающей поверхности, Вт/(м·К)"), Koef_teplopr,
         "Koef_teplopr");
    pair(g, row++, conditions, "Label14", QStringLiteral("Удельная теплоемкость подстилающей поверхности,  кДж/(кг·К)"),
         c, "c");
    pair(g, row++, conditions, "Label9", QStringLiteral("Плотность подстилающей поверхности, кг/куб.м"), p, "p");
    pair(g, row++, conditions, "LS_kontakt",
         QStringLiteral("Площадь контакта жидкости с твердой поверхностью розлива (площадь теплообмена между пролитой "
                        "жидкостью и твердой поверхностью), кв.м"),
         S_kontakt, "S_kontakt");
    pair(g, row++, conditions, "LS_G", QStringLiteral("Площадь поверхности зеркала жидкости, кв.м"), S_G, "S_G");
    pair(g, row++, conditions, "Label16", QStringLiteral("Коэффициента интенсивности испарения"), txtNyu, "txtNyu");
    pair(g, row, conditions, "LTempv", QStringLiteral("Температура воздуха в помещение, C°"), Tempv, "Tempv");
    LTempv = conditions->findChild<QLabel*>(QStringLiteral("LTempv"));
    ++row;
    pair(g, row++, conditions, "LTempp", QStringLiteral("Температура твердой поверхности (пола, поддона, грунта и т.п.), C°"),
         Tempp, "Tempp");
    pair(g, row++, conditions, "Label32", QStringLiteral("Температура жидкости в проливе, °C"), txtTg, "txtTg");
    pair(g, row++, conditions, "Label35", QStringLiteral("Время испарения, с (ф-15)"), txtUmax, "txtUmax");
    g->setRowStretch(row, 1);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(Frame1);
    leftColumn->addWidget(Frame3);
    leftColumn->addWidget(Label17);
    leftColumn->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(leftColumn, 1);
    layout->addWidget(conditions, 1);
    return page;
}

QWidget* frmOutput::buildBlocksPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QFont bold = page->font();
    bold.setBold(true);

    auto* lab8 = wrapLabel(page, "Lab8", QStringLiteral("Информация о рассчитываемом блоке"));
    lab8->setFont(bold);
    layout->addWidget(lab8);
    Frame2 = new QGroupBox(page);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* f2 = new QVBoxLayout(Frame2);
    tabBlok = makeGrid(Frame2, "tabBlok");
    f2->addWidget(tabBlok);
    layout->addWidget(Frame2);
    Label2 = wrapLabel(page, "Label2", QStringLiteral("Нет данных о блоке"));
    layout->addWidget(Label2);

    auto* lab9 = wrapLabel(page, "Lab9", QStringLiteral("Информация о смежных блоках"));
    lab9->setFont(bold);
    layout->addWidget(lab9);
    Frame4 = new QGroupBox(page);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    auto* f4 = new QVBoxLayout(Frame4);
    tabBlok_smeg = makeGrid(Frame4, "tabBlok_smeg");
    f4->addWidget(tabBlok_smeg);
    const char* legend[] = {
        "I - Площадь сечения, через которое возможно истечение ПГФ или ЖФ при АРБ, кв. м",
        "II - Скорость теплопритока к ГФ за счет суммарного теплового эффекта экзотермической реакции, кДж/с",
        "III - Скорость теплопритока к ЖФ от внешних теплоносителей, кДж/с",
        "IV - Безразмерный коэффициент, учитывающий гидродинамику процесса",
        "V - Время с момента АРБ до полного срабатывания отключающей аварийный блок арматуры, с",
        "VI - Время с момента АРБ до полного прекращения экзотермических процессов, с",
        "VII - Время с момента АРБ до полного прекращения подачи теплоносителя к аварийному блоку (прекращение "
        "теплообменного процесса), с",
    };
    for (int i = 0; i < 7; ++i) {
        const QByteArray name = "La" + QByteArray::number(i + 1);
        f4->addWidget(wrapLabel(Frame4, name.constData(), QString::fromUtf8(legend[i])));
    }
    layout->addWidget(Frame4);
    Label1 = wrapLabel(page, "Label1", QStringLiteral("Смежные блоки не введены"));
    layout->addWidget(Label1);
    layout->addStretch(1);
    return page;
}

QWidget* frmOutput::buildDetailPage()
{
    tabE = new QTabWidget;
    tabE->setObjectName(QStringLiteral("tabE"));
    const auto page = [this](const QString& title, QTableWidget*& grid, const char* name,
                             const QList<std::pair<const char*, QString>>& legends) {
        auto* w = new QWidget;
        auto* v = new QVBoxLayout(w);
        auto* heading = new QLabel(title, w);
        heading->setWordWrap(true);
        QFont f = heading->font();
        f.setBold(true);
        heading->setFont(f);
        v->addWidget(heading);
        grid = makeGrid(w, name);
        v->addWidget(grid, 1, Qt::AlignLeft);
        for (const auto& [labelName, text] : legends)
            v->addWidget(wrapLabel(w, labelName, text));
        tabE->addTab(w, title);
        tabE->setTabToolTip(tabE->count() - 1, title);
    };
    page(QStringLiteral("Энергии сгорания ПГФ, поступившей к разгерметизированному участку от смежных блоков - E2'"),
         tabE2, "tabE2",
         {{"Label11", QStringLiteral("G' - масса ПГФ поступившей к разгерметизированному участку при АРБ от смежных "
                                     "блоков")}});
    page(QStringLiteral("Энергии сгорания ПГФ, образующейся за счет энергии перегретой ЖФ - E1''"), tabE1, "tabE1",
         {{"Label6", QStringLiteral("G'' - масса ЖФ, имеющейся непосредственно в блоке и поступивших в него при АРБ от "
                                    "смежных блоков")},
          {"Label8", QStringLiteral("w'' - скорость истечения ЖФ в рассматриваемый блок из смежных блоков")}});
    page(QStringLiteral("Энергии сгорания ПГФ, образующейся из ЖФ за счет тепла экзотермических реакций - E2''"), tabE22,
         "tabE22", {});
    page(QStringLiteral("Энергии сгорания ПГФ, образующейся из ЖФ за счет теплопритока от внешних теплоносителей - "
                        "E3''"),
         tabE23, "tabE23", {});
    // Four long page titles: let them shorten on the tab with the whole title as a tool tip.
    tabE->setElideMode(Qt::ElideRight);
    tabE->setUsesScrollButtons(true);
    return tabE;
}

void frmOutput::fill()
{
    const report::ResultsView& v = view_;

    // Results page.
    A->setText(v.A);
    G->setText(v.G);
    E11->setText(v.E11);
    E12->setText(v.E12);
    E21->setText(v.E21);
    E22->setText(v.E22);
    E23->setText(v.E23);
    E24->setText(v.E24);
    m->setText(v.m);
    Q->setText(v.Q);
    Zn_kategor->setText(v.Zn_kategor);
    Wt->setText(v.Wt);
    Label28->setText(v.Label28);
    Label28->setVisible(!v.Label28.isEmpty());
    lblPnNote->setText(v.PnNote);
    lblPnNote->setVisible(!v.PnNote.isEmpty());

    zones->showZones(v.R0);

    // Page "Общие".
    Label5->setText(v.Label5);
    Label33->setText(v.Label33);
    txtPn->setText(v.txtPn);
    txtPn1->setText(v.txtPn1);
    Name_Vva->setText(v.Name_Vva);
    Mol_massa->setText(v.Mol_massa);
    T_kip->setText(v.T_kip);
    Tepl_sgorGF->setText(v.Tepl_sgorGF);
    Tepl_sgorPGF->setText(v.Tepl_sgorPGF);
    Tepl_paroobr->setText(v.Tepl_paroobr);
    Teploem_GF->setText(v.Teploem_GF);
    t_kontakt->setText(v.t_kontakt);
    txtTau_max->setText(v.txtTau_max);
    Type->setText(v.Type);
    Koef_teplopr->setText(v.Koef_teplopr);
    c->setText(v.c);
    p->setText(v.p);
    S_kontakt->setText(v.S_kontakt);
    S_G->setText(v.S_G);
    txtNyu->setText(v.txtNyu);
    Tempv->setText(v.Tempv);
    LTempv->setText(v.LTempv);
    Tempp->setText(v.Tempp);
    txtTg->setText(v.txtTg);
    txtUmax->setText(v.txtUmax);
    Label17->setText(v.Label17);
    Label17->setVisible(!v.Label17.isEmpty());

    // Page "Блоки".
    prepareGrid(tabBlok, report::mainBlockHeader(),
                {3000, 1900, 950, 1000, 950, 1150, 1350, 1400, 1000, 2400, 4300}, 700);
    if (v.hasMainBlock) {
        for (int c = 0; c < v.mainBlock.size(); ++c)
            setCell(tabBlok, 1, c, v.mainBlock[c]);
        // A mass entered by hand replaces the volume and density it would be computed from.
        tabBlok->setColumnHidden(3, v.mainG1);
        tabBlok->setColumnHidden(7, v.mainG1);
        tabBlok->setColumnHidden(9, !v.mainG1);
        tabBlok->setColumnHidden(2, v.mainG2);
        tabBlok->setColumnHidden(6, v.mainG2);
        tabBlok->setColumnHidden(10, !v.mainG2);
        const int lines = int(v.mainBlock.value(1).size()) / 23 + 1;
        tabBlok->setRowHeight(1, std::max(tabBlok->rowHeight(1), lines * lineHeight(tabBlok) + 6));
    } else {
        tabBlok->setColumnHidden(9, true);
        tabBlok->setColumnHidden(10, true);
    }
    fitGridHeight(tabBlok);
    const bool mainShown = !cellText(tabBlok, 1, 1).isEmpty();
    tabBlok->setVisible(mainShown);
    Frame2->setVisible(mainShown);
    Label2->setVisible(!mainShown);

    QList<int> smegWidths = {600, 3500, 2500, 1000, 1000, 1000, 1200, 1400, 1400, 1000};
    for (int i = 10; i <= 16; ++i)
        smegWidths << 1000;
    for (int i = 17; i <= 24; ++i)
        smegWidths << 0;
    smegWidths << 2400 << 4300;
    prepareGrid(tabBlok_smeg, report::adjacentBlockHeader(), smegWidths, 700);
    tabBlok_smeg->setRowCount(std::max<int>(2, int(v.adjacentBlocks.size()) + 1));
    for (int k = 0; k < v.adjacentBlocks.size(); ++k) {
        const QStringList& cells = v.adjacentBlocks[k];
        for (int c = 0; c < cells.size(); ++c)
            setCell(tabBlok_smeg, k + 1, c, cells[c]);
        const int lines =
            std::max(int(cells.value(1).size()) / 38 + 1, int(cells.value(2).size()) / 27 + 1);
        tabBlok_smeg->setRowHeight(k + 1, std::max(tabBlok_smeg->rowHeight(k + 1), lines * lineHeight(tabBlok_smeg) + 6));
    }
    fitGridHeight(tabBlok_smeg);
    const bool adjacentShown = !cellText(tabBlok_smeg, 1, 0).isEmpty();
    Frame4->setVisible(adjacentShown);
    Label1->setVisible(!adjacentShown);

    // Detail grids.
    const struct {
        QTableWidget* grid;
        const QList<QStringList>* rows;
        int firstWidth;
    } details[] = {{tabE2, &v.tabE2, 1100}, {tabE1, &v.tabE1, 1000}, {tabE22, &v.tabE22, 1000}, {tabE23, &v.tabE23, 1000}};
    for (const auto& d : details) {
        prepareGrid(d.grid, report::detailHeader(), {d.firstWidth, 1200, 2000});
        fillRows(d.grid, *d.rows);
        int width = 2 * d.grid->frameWidth() + d.grid->verticalScrollBar()->sizeHint().width();
        for (int c = 0; c < 3; ++c)
            width += d.grid->columnWidth(c);
        d.grid->setFixedWidth(width);
    }
}

void frmOutput::showEvent(QShowEvent* event)
{
    ui::ReturningScreen::showEvent(event);
    if (!event->spontaneous())
        calculateOverpressure();
}

bool frmOutput::calculateOverpressure()
{
    return zones->calculate();
}

const report::Overpressure& frmOutput::overpressure() const
{
    static const report::Overpressure none;
    return zones->overpressure() ? *zones->overpressure() : none;
}

void frmOutput::handOver()
{
    hide();
    (new frmSave_KR(state_, view_, state_.current.name, this))->show();
}

void frmOutput::back()
{
    returnToCaller();
}

void frmOutput::report(const QString& which)
{
    if (which == QLatin1String("mnuWord1") && state_.lastResult) {
        const report::MainReportData data{inputs_, *state_.lastResult, view_, state_.nyu,
                                          records::rememberedSignature(state_.dataDir)};
        ui::makeReport(this, state_.reportFolder, state_.dataDir, [&data] { return report::buildMainReport(data); });
        return;
    }
    if (which == QLatin1String("mnuWord2") && state_.lastResult) {
        report::AppendixData data;
        data.result = *state_.lastResult;
        data.view = view_;
        data.z = state_.lastResult->z;
        data.blockName = view_.mainBlock.value(0);
        data.row6 = overpressure().row6;
        data.calculator = zones->overpressure();
        data.signature = records::rememberedSignature(state_.dataDir);
        ui::makeReport(this, state_.reportFolder, state_.dataDir, [&data] { return report::buildAppendixReport(data); });
        return;
    }
    ui::dialogs().inform(QStringLiteral("Внимание!"), QStringLiteral("Результаты расчета не получены."),
                         ui::Icon::Critical);
}

}  // namespace veltron::screens
