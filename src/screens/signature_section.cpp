#include "screens/signature_section.h"

#include "screens/form_widgets.h"
#include "screens/store_errors.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace veltron::screens {

SignatureSection::SignatureSection(AppState& state, QWidget* parent)
    : QGroupBox(QStringLiteral("Подпись"), parent), state_(state)
{
    setObjectName(QStringLiteral("fraPodpis"));
    auto* grid = new QGridLayout(this);
    const auto list = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(24);
        return box;
    };
    Combo1 = list("Combo1");
    cmdDolgn = namedButton(this, "cmdDolgn", QStringLiteral("…"));
    txtIspolnitel = new QLineEdit(this);
    txtIspolnitel->setObjectName(QStringLiteral("txtIspolnitel"));
    Istochnik = list("Istochnik");
    cmdIstochnik = namedButton(this, "cmdIstochnik", QStringLiteral("…"));
    for (QPushButton* b : {cmdDolgn, cmdIstochnik})
        b->setFixedWidth(32);
    grid->addWidget(new QLabel(QStringLiteral("Должность"), this), 0, 0);
    grid->addWidget(Combo1, 0, 1);
    grid->addWidget(cmdDolgn, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Исполнитель"), this), 1, 0);
    grid->addWidget(txtIspolnitel, 1, 1, 1, 2);
    grid->addWidget(wrapLabel(this, "lblIstochnik", QStringLiteral("Источник исходных данных")), 2, 0);
    grid->addWidget(Istochnik, 2, 1);
    grid->addWidget(cmdIstochnik, 2, 2);
    grid->setColumnStretch(1, 1);

    const records::Signature remembered = records::rememberedSignature(state_.dataDir);
    fill(Combo1, records::Directory::Positions, remembered.position);
    txtIspolnitel->setText(remembered.performer);
    fill(Istochnik, records::Directory::Sources, remembered.source);
    connect(cmdDolgn, &QPushButton::clicked, this,
            [this] { openEditor(Combo1, records::Directory::Positions, "frmBD/tabDolgn"); });
    connect(cmdIstochnik, &QPushButton::clicked, this,
            [this] { openEditor(Istochnik, records::Directory::Sources, "frmBD/tabIstochnik"); });
}

void SignatureSection::fill(QComboBox* list, records::Directory table, const QString& chosen)
{
    list->clear();
    list->addItem(QString());
    onStore([&] {
        for (const records::DirectoryEntry& e : records::directoryEntries(state_.db(), table))
            list->addItem(e.Name);
    });
    list->setCurrentIndex(std::max(0, list->findText(chosen)));
}

// The editor of the list hides the dialog while it is open; back from it, the
// list is filled anew with its empty item chosen, as the editor leaves its caller's list.
void SignatureSection::openEditor(QComboBox* list, records::Directory table, const char* screen)
{
    ui::openFrom(window(), QLatin1String(screen), [this, list, table] { fill(list, table, QString()); });
}

records::Signature SignatureSection::signature() const
{
    return {Combo1->currentText(), txtIspolnitel->text().trimmed(), Istochnik->currentText()};
}

bool SignatureSection::save()
{
    if (records::rememberSignature(state_.dataDir, signature()))
        return true;
    ui::dialogs().inform(QStringLiteral("Внимание!"),
                         QStringLiteral("Подпись отчетов не сохранена: папка данных «%1» закрыта для записи.")
                             .arg(state_.dataDir),
                         ui::Icon::Critical);
    return false;
}

}  // namespace veltron::screens
