#include "app/frmMain1.h"

#include "db/program_folders.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron {

namespace {

// A flame over a vessel: the emblem of the main menu.
QPixmap emblem(const QColor& color)
{
    QPixmap pm(96, 96);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.setBrush(QColor(220, 220, 225));
    p.drawRoundedRect(22, 50, 52, 38, 8, 8);
    QPainterPath flame;
    flame.moveTo(48, 6);
    flame.cubicTo(70, 26, 66, 44, 48, 48);
    flame.cubicTo(30, 44, 26, 26, 48, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(flame);
    return pm;
}

QLabel* wrapped(const QString& text, QWidget* parent, int pointSize, bool bold)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setPointSize(pointSize);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

}  // namespace

frmMain1::frmMain1(AppState& state, QWidget* parent)
    : ui::Screen(QStringLiteral("frmMain1"), QStringLiteral("Программа \"Вельтрон\""), parent), state_(state)
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* top = new QHBoxLayout;
    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(emblem(QColor(230, 120, 30)));
    Image2 = new QLabel(central);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(emblem(QColor(200, 40, 40)));
    Label1 = wrapped(QStringLiteral("Программа количественной оценки взрывоопасности технологических блоков, "
                                    "расчета участвующей во взрыве массы вещества и радиусов зон разрушений"),
                     central, 13, true);
    Label1->setObjectName(QStringLiteral("Label1"));
    top->addWidget(Image1);
    top->addWidget(Label1, 1);
    top->addWidget(Image2);
    layout->addLayout(top);
    Label2 = wrapped(QStringLiteral("Разработана на основе Федеральных норм и правил в области промышленной "
                                    "безопасности \"Общие правила взрывобезопасности для взрывопожарных "
                                    "химических, нефтехимических и нефтеперерабатывающих производств\""),
                     central, 10, false);
    Label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(Label2);
    layout->addStretch();
    Command1 = new QPushButton(QStringLiteral("Далее>>"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    setCentralWidget(central);

    connect(Command1, &QPushButton::clicked, this, [this] { ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {}); });

    QMenu* exitMenu = addMenu(QStringLiteral("mnuExit"), QStringLiteral("&Выход"));
    addMenuItem(exitMenu, QStringLiteral("Ex"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); },
                QKeySequence(Qt::CTRL | Qt::Key_Z));
    // The organisation lists are kept from here: no other screen offers them.
    QMenu* lists = addMenu(QStringLiteral("mnuSprav"), QStringLiteral("&Справочники"));
    addMenuItem(lists, QStringLiteral("mnuDolgn"), QStringLiteral("Должности..."),
                [this] { ui::openFrom(this, QStringLiteral("frmBD/tabDolgn")); });
    addMenuItem(lists, QStringLiteral("mnuIstochnik"), QStringLiteral("Источники исходных данных..."),
                [this] { ui::openFrom(this, QStringLiteral("frmBD/tabIstochnik")); });
    QMenu* reports = addMenu(QStringLiteral("mnuOtchety"), QStringLiteral("&Отчеты"));
    addMenuItem(reports, QStringLiteral("mnuSvod"), QStringLiteral("Сводная таблица блоков…"),
                [this] { ui::openFrom(this, QStringLiteral("frmPerechen")); });
    QMenu* help = addMenu(QStringLiteral("mnuHelp"), QStringLiteral("&Помощь"));
    addMenuItem(help, QStringLiteral("He"), QStringLiteral("Инструкция"),
                [this] { openUserManual(state_.programDir); }, QKeySequence(Qt::Key_F1));
    help->addSeparator();
    addMenuItem(help, QStringLiteral("Hel"), QStringLiteral("О программе"),
                [] { ui::navigator().open(QStringLiteral("frmAbout")); }, QKeySequence(Qt::Key_F3));
    resize(760, 380);
}

void openUserManual(const QString& programDir)
{
    const QString base = db::userManualBase(programDir);
    const QFileInfo folder(QFileInfo(base).path());
    QStringList found;
    for (const char* ext : {".docx", ".html"})
        if (QFileInfo::exists(base + QLatin1String(ext)))
            found << base + QLatin1String(ext);
    if (found.isEmpty()) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Инструкция пользователя не найдена: в папке «%1» нет файла «%2.docx» "
                                            "(или .html). Установите программу заново или верните папку «%3» на место.")
                                 .arg(QDir::toNativeSeparators(folder.filePath()), QFileInfo(base).fileName(),
                                      folder.fileName()),
                             ui::Icon::Critical);
        return;
    }
    // The Word document first, as the manual is written; the same text as a
    // page for a desktop without a viewer of Word documents.
    for (const QString& file : found)
        if (ui::desktop().openDocument(file))
            return;
    ui::dialogs().inform(QStringLiteral("Внимание!"),
                         QStringLiteral("Не удалось открыть инструкцию пользователя «%1»: не найдена программа "
                                        "для просмотра документа. Откройте этот файл вручную.")
                             .arg(QDir::toNativeSeparators(found.first())),
                         ui::Icon::Critical);
}

}  // namespace veltron
