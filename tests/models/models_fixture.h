#pragma once

#include "app/frmLoad_Rasch.h"
#include "app/startup.h"
#include "models/register_model_screens.h"
#include "records/signature.h"
#include "report/docx/document.h"
#include "report/signature_block.h"
#include "results/results_fixture.h"
#include "ui/navigator.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>

namespace veltron::test {

// The screen fixture with the screens of start-up and of models II and III
// registered; clicks and menu items let the events settle.
class ModelScreens : public ScreenFixture {
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        registerAppScreens(state);
        registerModelScreens(state);
    }

    static void click(QAbstractButton* b)
    {
        ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        ScreenFixture::click(b);
        settle();
    }
    static void trigger(QWidget* screen, const char* action)
    {
        ScreenFixture::trigger(screen, action);
        settle();
    }

    // A signature kept for the data folder, as the report folder dialog keeps it.
    records::Signature rememberASignature()
    {
        const records::Signature s{QStringLiteral("Главный технолог"), QStringLiteral("Петров П. П."),
                                   QStringLiteral("Проектная документация")};
        EXPECT_TRUE(records::rememberSignature(state.dataDir, s));
        return s;
    }
    static void expectSignedBy(const docx::Document& doc, const records::Signature& s)
    {
        EXPECT_EQ(doc.bookmarkText(report::kSignatureBookmark).split('\n').mid(1), report::signatureLines(s));
    }

    // The screen of a model, opened from the model choice as a user does.
    template <typename Screen>
    Screen* openModel(QRadioButton* frmLoad_Rasch::*option, const char* name)
    {
        ui::navigator().open(QStringLiteral("frmLoad_Rasch"));
        settle();
        auto* choice = visible<frmLoad_Rasch>("frmLoad_Rasch");
        EXPECT_NE(choice, nullptr);
        if (!choice)
            return nullptr;
        (choice->*option)->setChecked(true);
        click(choice->Command1);
        return visible<Screen>(QLatin1String(name));
    }

    // The report folder dialog from a screen's menu item: the screen hides
    // while it is open and shows again when it is cancelled.
    void expectReportFolderRoundTrip(QWidget* screen, const char* action)
    {
        trigger(screen, action);
        QWidget* dialog = visibleScreen(QStringLiteral("frmAddFolder"));
        ASSERT_NE(dialog, nullptr) << action;
        EXPECT_FALSE(screen->isVisible());
        click(dialog->findChild<QPushButton*>(QStringLiteral("Command2")));
        EXPECT_TRUE(screen->isVisible());
        EXPECT_EQ(visibleScreen(QStringLiteral("frmAddFolder")), nullptr);
    }

    // Name_ob and Conc of every journal row, oldest first.
    QStringList journal() const
    {
        QStringList rows;
        for (const QSqlRecord& r : state.db().query("SELECT Name_ob, Conc FROM tabOtchet ORDER BY Date"))
            rows << r.value(0).toString() + "|" + r.value(1).toString();
        return rows;
    }
};

// A screen as a user sees it must fit a 1366 × 768 display.
inline void expectFitsTheDisplay(QWidget* screen)
{
    EXPECT_LE(screen->frameGeometry().width(), 1366) << screen->objectName().toStdString();
    EXPECT_LE(screen->frameGeometry().height(), 768) << screen->objectName().toStdString();
    EXPECT_LE(screen->minimumSizeHint().width(), 1366);
    EXPECT_LE(screen->minimumSizeHint().height(), 768);
    EXPECT_GE(screen->width(), screen->minimumSizeHint().width());
    EXPECT_GE(screen->height(), screen->minimumSizeHint().height());
}

}  // namespace veltron::test
