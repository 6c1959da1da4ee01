#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>

namespace veltron::test {

// Stands in for the input screen: the controls a run request reads, under
// their names, filled like the example calculation, and a "Сохранить
// исходные данные" action that counts its use.
class FakeInput : public QWidget {
public:
    FakeInput()
    {
        setObjectName(QStringLiteral("frmInput"));
        auto* layout = new QVBoxLayout(this);
        const auto edit = [&](const char* name, const char* text) {
            auto* e = new QLineEdit(QString::fromUtf8(text), this);
            e->setObjectName(QLatin1String(name));
            layout->addWidget(e);
            return e;
        };
        const auto box = [&](const char* name) {
            auto* b = new QCheckBox(this);
            b->setObjectName(QLatin1String(name));
            layout->addWidget(b);
            return b;
        };
        Zet = edit("Zet", "0,1");
        S_G = edit("S_G", "400");
        S_kontakt = edit("S_kontakt", "400");
        t_kontakt = edit("t_kontakt", "3600");
        Tempv = edit("Tempv", "20");
        txtTg = edit("txtTg", "20");
        Tempp = edit("Tempp", "20");
        c = edit("c", "0,84");
        p = edit("p", "2200");
        Koef_teplopr = edit("Koef_teplopr", "1,3");
        txtNyu = edit("txtNyu", "1");
        txtUv = edit("txtUv", "1");
        txtLnkpr = edit("txtLnkpr", "20");
        txtPn = edit("txtPn", "0");
        txtPn1 = edit("txtPn1", "0");
        Check1 = box("Check1");
        Check2 = box("Check2");
        Check3 = box("Check3");
        Check4 = box("Check4");
        Option3 = new QRadioButton(this);
        Option3->setObjectName(QStringLiteral("Option3"));
        Option3->setChecked(true);
        Combo4 = new QComboBox(this);
        Combo4->setObjectName(QStringLiteral("Combo4"));
        Combo4->addItem(QStringLiteral("Бетон"));
        mnuSave = new QAction(this);
        mnuSave->setObjectName(QStringLiteral("mnuSave"));
        addAction(mnuSave);
        QObject::connect(mnuSave, &QAction::triggered, this, [this] { ++saves; });
    }

    QLineEdit *Zet, *S_G, *S_kontakt, *t_kontakt, *Tempv, *txtTg, *Tempp, *c, *p, *Koef_teplopr, *txtNyu, *txtUv,
        *txtLnkpr, *txtPn, *txtPn1;
    QCheckBox *Check1, *Check2, *Check3, *Check4;
    QRadioButton* Option3;
    QComboBox* Combo4;
    QAction* mnuSave;
    int saves = 0;
};

}  // namespace veltron::test
