// Takes the pictures of the user manual from the real screens: walks the
// program as a user does, on a fresh data folder, under the offscreen
// platform at twice the screen size (QT_SCALE_FACTOR, unless set), and saves
// each screen as a PNG (with a title bar that carries the window's title)
// into the output folder; the two reports of model I go there too, as .docx,
// for scripts/manual-shots to draw their pages.
//
//   veltron_manual_shots OUT_DIR
//
// Every control is found by its name, so a renamed or missing control stops
// the walk with its name instead of a picture that shows something else.

#include "app/frmDataSourse.h"
#include "app/startup.h"
#include "directories/register_directory_screens.h"
#include "models/register_model_screens.h"
#include "records/app_state.h"
#include "screens/register_model1_screens.h"
#include "ui/dialogs.h"
#include "ui/frmSave_otchet.h"
#include "ui/navigator.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace veltron;

namespace {

QString outDir;
ui::ScriptedDialogs* scripted = nullptr;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "manual shots: %s\n", qPrintable(what));
    std::exit(1);
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QWidget* screen(const QString& name)
{
    settle();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    fail(QStringLiteral("screen %1 is not shown").arg(name));
}

template <typename T>
T* child(QWidget* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    if (!found)
        fail(QStringLiteral("%1 has no control %2").arg(parent->objectName(), name));
    return found;
}

void click(QWidget* parent, const QString& name)
{
    auto* b = child<QAbstractButton>(parent, name);
    if (!b->isEnabled())
        fail(QStringLiteral("%1.%2 is disabled").arg(parent->objectName(), name));
    b->click();
    settle();
}

void trigger(QWidget* parent, const QString& name)
{
    auto* a = child<QAction>(parent, name);
    if (!a->isEnabled())
        fail(QStringLiteral("%1.%2 is disabled").arg(parent->objectName(), name));
    a->trigger();
    settle();
}

void type(QWidget* parent, const QString& name, const QString& text)
{
    auto* box = child<QLineEdit>(parent, name);
    box->setText(text);
    Q_EMIT box->editingFinished();
    settle();
}

void choose(QWidget* parent, const QString& name, const QString& item)
{
    auto* combo = child<QComboBox>(parent, name);
    const int i = combo->findText(item);
    if (i < 0)
        fail(QStringLiteral("%1.%2 has no item %3").arg(parent->objectName(), name, item));
    combo->setCurrentIndex(i);
    settle();
}

void tick(QWidget* parent, const QString& name, bool on = true)
{
    child<QAbstractButton>(parent, name)->setChecked(on);
    settle();
}

void page(QWidget* parent, const QString& tabs, int index)
{
    child<QTabWidget>(parent, tabs)->setCurrentIndex(index);
    settle();
}

// The window as the user sees it: a title bar with its title over its
// content. The picture keeps the screen's pixel density (the walk runs at
// twice the size, for sharp text in print) and says so in its resolution.
void shot(QWidget* w, const QString& name)
{
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();  // no text cursor in the picture
    settle();
    const QPixmap content = w->grab();
    const qreal ratio = content.devicePixelRatio();
    const QSizeF size = content.deviceIndependentSize();
    const int bar = 26;
    QImage image((QSizeF(size.width(), size.height() + bar) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(60, 66, 78));
    QPainter p(&image);
    QFont f = w->font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(10, 0, size.width() - 20, bar), Qt::AlignVCenter | Qt::AlignLeft, w->windowTitle());
    p.drawPixmap(QPointF(0, bar), content);
    p.end();
    const int dotsPerMeter = qRound(96 * ratio / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    const QString file = QDir(outDir).filePath(name + QStringLiteral(".png"));
    if (!image.save(file))
        fail(QStringLiteral("cannot write %1").arg(file));
}

// The whole height of the window, also what a screen of 1366 x 768 shows
// only by scrolling.
void shotWhole(QWidget* w, const QString& name)
{
    const QSize before = w->size();
    QSize wanted = w->size().expandedTo(w->sizeHint());
    // A screen that scrolls grows by what its scroll area hides.
    for (auto* area : w->findChildren<QScrollArea*>()) {
        if (!area->widget() || !area->isVisible())
            continue;
        const QSize hidden = area->widget()->sizeHint() - area->viewport()->size();
        wanted.rheight() += qMax(0, hidden.height());
        break;
    }
    w->resize(wanted);
    shot(w, name);
    w->resize(before);
    settle();
}

void answer(std::initializer_list<ui::Answer> answers)
{
    scripted->answers.insert(scripted->answers.end(), answers);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    if (argc != 2)
        fail(QStringLiteral("usage: veltron_manual_shots OUT_DIR"));
    outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(outDir);
    QTemporaryDir data;

    ui::ScriptedDialogs dialogs;
    scripted = &dialogs;
    ui::ScriptedDialogs::setFailureHandler([](const QString& what) { fail(what); });
    ui::installDialogs(&dialogs);

    AppState state;
    state.programDir = data.path();
    state.dataDir = data.path();
    registerAppScreens(state);
    registerModelIScreens(state);
    registerDirectoryScreens(state);
    registerModelScreens(state);
    startUp(state);

    QWidget* menu = screen("frmMain1");
    shot(menu, "main-menu");
    click(menu, "Command1");
    QWidget* choice = screen("frmLoad_Rasch");
    shot(choice, "model-choice");
    click(choice, "Command1");
    QWidget* list = screen("frmLoad");
    type(list, "txtRasch", QStringLiteral("Склад пропана"));
    shot(list, "calc-list");
    click(list, "Command1");
    QWidget* input = screen("frmInput");

    // The main block: the propane vessel.
    click(input, "Command5");
    QWidget* block = screen("frmBlok");
    type(block, "Name_blok", QStringLiteral("Емкость хранения пропана Е-2"));
    choose(block, "Combo1", QStringLiteral("Пропан"));
    type(block, "V_GF", QStringLiteral("20"));
    type(block, "V_PGF", QStringLiteral("5"));
    type(block, "Davl", QStringLiteral("0,84"));
    type(block, "Temp", QStringLiteral("20"));
    click(block, "Command3");
    shot(block, "block-main");
    answer({ui::Answer::Yes});
    click(block, "Command2");
    click(block, "Command1");

    // The adjacent block: the filling pipeline.
    input = screen("frmInput");
    click(input, "Command15");
    block = screen("frmBlok");
    type(block, "Name_blok", QStringLiteral("Трубопровод налива пропана Ду 50"));
    choose(block, "Combo1", QStringLiteral("Пропан"));
    type(block, "V_GF", QStringLiteral("0,08"));
    type(block, "V_PGF", QStringLiteral("0"));
    type(block, "Davl", QStringLiteral("1,6"));
    type(block, "Temp", QStringLiteral("20"));
    click(block, "Command3");
    type(block, "S_sech", QStringLiteral("0,002"));
    type(block, "Koef_gidro", QStringLiteral("0,6"));
    type(block, "T", QStringLiteral("120"));
    shot(block, "block-adjacent");
    click(block, "Command4");
    QWidget* heat = screen("frmPt");
    shot(heat, "heat-inflow");
    click(heat, "Command2");
    block = screen("frmBlok");
    answer({ui::Answer::Yes});
    click(block, "Command2");
    click(block, "Command1");

    // General conditions: a spill on concrete inside a 15 x 15 m bund, outdoors.
    input = screen("frmInput");
    choose(input, "Combo4", QStringLiteral("Бетон"));
    type(input, "t_kontakt", QStringLiteral("3600"));
    type(input, "S_kontakt", QStringLiteral("225"));
    type(input, "S_G", QStringLiteral("225"));
    type(input, "Tempv", QStringLiteral("20"));
    type(input, "Tempp", QStringLiteral("20"));
    type(input, "txtTg", QStringLiteral("20"));
    shotWhole(input, "input-filled");
    click(input, "Command4");
    QWidget* nyu = screen("frmNyu");
    shot(nyu, "nyu");
    click(nyu, "Command2");
    input = screen("frmInput");
    click(input, "Command2");
    QWidget* z = screen("frmDolya_z");
    shot(z, "z-outdoors");
    trigger(z, "mnuCancel");
    input = screen("frmInput");
    trigger(input, "mnuSave");

    // The run: the save question, the settings, the confirmation.
    answer({ui::Answer::Yes});
    click(input, "Command3");
    QWidget* settings = screen("frmSetup_rasch");
    shot(settings, "run-settings");
    answer({ui::Answer::Yes});
    click(settings, "Command1");
    QWidget* output = screen("frmOutput");
    shot(output, "results-inputs");
    page(output, "SSTab2", 1);
    shot(output, "results-blocks");
    page(output, "SSTab2", 0);
    page(output, "SSTab1", 1);
    type(output, "txtP", QStringLiteral("12"));
    click(output, "Command2");
    shot(output, "results");
    page(output, "SSTab4", 1);
    page(output, "tabE", 1);  // E1'': the pipeline's liquid adds to it
    shot(output, "results-detail");
    page(output, "SSTab4", 0);

    // Both reports into the pictures' folder.
    scripted->files.push_back(QDir(outDir).filePath(QStringLiteral("report-main.docx")));
    trigger(output, "mnuWord1");
    scripted->files.push_back(QDir(outDir).filePath(QStringLiteral("report-appendix.docx")));
    trigger(output, "mnuWord2");
    {
        ui::frmSave_otchet progress;
        progress.show();
        shot(&progress, "report-progress");
    }

    // The block's result set aside for model IV.
    output = screen("frmOutput");
    click(output, "Command1");
    QWidget* pool = screen("frmSave_KR");
    type(pool, "txtName", QStringLiteral("Емкость Е-2"));
    shot(pool, "complex-handover");
    click(pool, "Command1");
    output = screen("frmOutput");
    trigger(output, "mnuReturn");

    // The directories of the input screen.
    input = screen("frmInput");
    trigger(input, "mnuVva");
    QWidget* substances = screen("frmVvo");
    shot(substances, "substances");
    trigger(substances, "mnuPred");
    input = screen("frmInput");
    click(input, "Command1");
    QWidget* surfaces = screen("frmBD_Type");
    shot(surfaces, "surfaces");
    trigger(surfaces, "mnuPred");
    input = screen("frmInput");
    tick(input, "Option4");
    click(input, "Command2");
    z = screen("frmDolya_z");
    shot(z, "z-room");
    click(z, "Command6");
    QWidget* fuels = screen("frmBD_Goryuch");
    shot(fuels, "fuel-kinds");
    trigger(fuels, "mnuPred");
    z = screen("frmDolya_z");
    trigger(z, "mnuCancel");
    input = screen("frmInput");
    trigger(input, "mnuSetup");
    settings = screen("frmSetup");
    shot(settings, "settings");
    trigger(settings, "mnuCancel");
    input = screen("frmInput");

    // The example calculation run as it is stored, set aside too.
    trigger(input, "mnuReturn");
    choice = screen("frmLoad_Rasch");
    click(choice, "Command1");
    list = screen("frmLoad");
    tick(list, "Option3");
    choose(list, "Combo1", QStringLiteral("Пример — резервуар пропана"));
    click(list, "Command1");
    input = screen("frmInput");
    answer({ui::Answer::No});
    click(input, "Command3");
    answer({ui::Answer::Yes});
    click(screen("frmSetup_rasch"), "Command1");
    output = screen("frmOutput");
    click(output, "Command1");
    pool = screen("frmSave_KR");
    type(pool, "txtName", QStringLiteral("Резервуар Е-1"));
    click(pool, "Command1");
    trigger(screen("frmOutput"), "mnuReturn");
    trigger(screen("frmInput"), "mnuReturn");

    // Model IV: a complex calculation of the two blocks.
    choice = screen("frmLoad_Rasch");
    tick(choice, "Option4");
    click(choice, "Command1");
    list = screen("frmLoad1");
    type(list, "txtRasch", QStringLiteral("Склад пропана — комплекс"));
    shot(list, "complex-list");
    click(list, "Command1");
    QWidget* complex = screen("frmOutput_KR");
    for (const QString& entry : {QStringLiteral("Емкость Е-2"), QStringLiteral("Резервуар Е-1")}) {
        choose(complex, "Combo1", entry);
        click(complex, "Command2");
    }
    click(complex, "Command1");
    shot(complex, "complex");
    trigger(complex, "mnuSave");
    answer({ui::Answer::No});  // saved just now
    trigger(complex, "mnuReturn");

    // Model II: a compound.
    choice = screen("frmLoad_Rasch");
    tick(choice, "Option2");
    click(choice, "Command1");
    QWidget* compound = screen("frmVzr_KVV");
    type(compound, "Name_blok", QStringLiteral("Склад аммиачной селитры"));
    choose(compound, "Combo1", QStringLiteral("Аммиачная селитра"));
    type(compound, "Massa_G", QStringLiteral("2000"));
    shot(compound, "model2-input");
    click(compound, "Command1");
    QWidget* compoundResults = screen("frmOutput_KVV");
    shotWhole(compoundResults, "model2-results");
    trigger(compoundResults, "mnuReturn");
    compound = screen("frmVzr_KVV");
    click(compound, "Command3");
    QWidget* compounds = screen("frmBD_KVV");
    shot(compounds, "compounds");
    trigger(compounds, "mnuPred");
    trigger(screen("frmVzr_KVV"), "mnuReturn");

    // Model III: the summary.
    choice = screen("frmLoad_Rasch");
    tick(choice, "Option3");
    click(choice, "Command1");
    QWidget* summary = screen("frmSumm");
    type(summary, "txtWt0", QStringLiteral("1550"));
    type(summary, "txtWt1", QStringLiteral("620"));
    click(summary, "Command1");
    shotWhole(summary, "model3");
    trigger(summary, "mnuReturn");

    // The main menu: the organisation lists.
    choice = screen("frmLoad_Rasch");
    trigger(choice, "mnuReturn");
    menu = screen("frmMain1");
    trigger(menu, "mnuDolgn");
    QWidget* posts = screen("frmBD");
    shot(posts, "organisation-list");
    trigger(posts, "mnuPred");

    // The register of the blocks of every calculation, and the signature of the reports.
    menu = screen("frmMain1");
    trigger(menu, "mnuSvod");
    QWidget* perechen = screen("frmPerechen");
    click(perechen, "chkAll");
    click(perechen, "cmdRun");
    shot(perechen, "register");
    trigger(perechen, "mnuFolder");
    QWidget* folder = screen("frmAddFolder");
    choose(folder, "Combo1", QStringLiteral("Главный технолог"));
    type(folder, "txtIspolnitel", QStringLiteral("Петров П. П."));
    choose(folder, "Istochnik", QStringLiteral("Проектная документация"));
    shot(folder, "report-folder");
    click(folder, "Command2");
    trigger(screen("frmPerechen"), "mnuReturn");

    // The data-source dialog, as start-up shows it when no store opens.
    auto* source = new frmDataSourse(state, QString());
    source->setAttribute(Qt::WA_DeleteOnClose);
    source->show();
    shot(source, "data-source");
    source->close();

    ui::installDialogs(nullptr);
    return 0;
}
