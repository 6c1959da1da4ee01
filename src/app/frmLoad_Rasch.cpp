#include "app/frmLoad_Rasch.h"

#include "ui/navigator.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace veltron {

namespace {

// A radio button cannot wrap its caption, so the caption is a label beside
// it; a click on the label selects the option.
class OptionCaption : public QLabel {
public:
    OptionCaption(const QString& text, QRadioButton* button, QWidget* parent) : QLabel(text, parent), button_(button)
    {
        setWordWrap(true);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent*) override { button_->setChecked(true); }

private:
    QRadioButton* button_;
};

QRadioButton* option(const char* name, const QString& caption, QWidget* parent, QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* button = new QRadioButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(caption);
    auto* label = new OptionCaption(caption, button, parent);
    label->setObjectName(QLatin1String(name) + QStringLiteral("Caption"));
    row->addWidget(button, 0, Qt::AlignTop);
    row->addWidget(label, 1);
    layout->addLayout(row);
    return button;
}

// The first screen of each model, in the order of the options.
const char* const kModelScreens[] = {"frmLoad", "frmVzr_KVV", "frmSumm", "frmLoad1"};

}  // namespace

frmLoad_Rasch::frmLoad_Rasch(AppState& state, QWidget* parent)
    : ui::Screen(QStringLiteral("frmLoad_Rasch"), QStringLiteral("Выбор расчетных моделей"), parent), state_(state)
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    Label1 = new QLabel(QStringLiteral("Определение энергетических показателей технологических блоков и радиусов "
                                       "зон разрушений при:"),
                        central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    QFont f = Label1->font();
    f.setBold(true);
    Label1->setFont(f);
    layout->addWidget(Label1);
    auto* frame = new QGroupBox(central);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(frame);
    Option1 = option("Option1",
                     QStringLiteral("I. Сгорании парогазовой фазы, находящейся в блоке, с учетом величины работы ее "
                                    "адиабатического расширения, а также величины энергии полного сгорания "
                                    "испарившейся жидкости с максимально возможной площади ее пролива"),
                     frame, options);
    Option2 = option("Option2", QStringLiteral("II. Сгорании твердых и жидких химически нестабильных соединений"),
                     frame, options);
    Option3 = option("Option3",
                     QStringLiteral("III. Схема энергетической установки имеет блоки с парогазовыми смесями и с "
                                    "твердыми или жидкими нестабильными соединениями"),
                     frame, options);
    Option4 = option("Option4",
                     QStringLiteral("IV. Комплексный расчет энергетического потенциала от двух и более блоков"),
                     frame, options);
    layout->addWidget(frame);
    layout->addStretch();
    Command1 = new QPushButton(QStringLiteral("Загрузить"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    Option1->setChecked(true);

    connect(Command1, &QPushButton::clicked, this, [this] { load(); });
    addMenuAction(QStringLiteral("mnuLoad"), QStringLiteral("Загрузить"), [this] { load(); });
    addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { closedByFrame(); });
    addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });
    resize(720, 360);
}

void frmLoad_Rasch::load()
{
    const QRadioButton* buttons[] = {Option1, Option2, Option3, Option4};
    for (int i = 0; i < 4; ++i) {
        if (buttons[i]->isChecked()) {
            ui::goTo(this, QLatin1String(kModelScreens[i]), QStringLiteral("frmLoad_Rasch"));
            return;
        }
    }
}

void frmLoad_Rasch::closedByFrame()
{
    ui::goTo(this, QStringLiteral("frmMain1"), {});
}

}  // namespace veltron
