// «Подпись» of the report folder dialog: the organisation lists as its
// choices, their editor behind «…», and the choice kept per data folder.
#include "directories/directories_fixture.h"

#include "records/signature.h"
#include "screens/report_folder_dialog.h"
#include "screens/signature_section.h"
#include "ui/frmAddFolder.h"

#include <QComboBox>

using namespace veltron;
using namespace veltron::test;
using records::Directory;

namespace {

class Signature : public Directories {
protected:
    void SetUp() override
    {
        Directories::SetUp();
        // The screen the dialog was opened from; the fixture's end destroys it with the others.
        opener = new QWidget;
        opener->setObjectName(QStringLiteral("opener"));
        opener->show();
    }

    screens::SignatureSection* openDialog()
    {
        screens::openReportFolder(state, opener);
        settle();
        auto* dialog = visible<ui::frmAddFolder>("frmAddFolder");
        return dialog ? dialog->findChild<screens::SignatureSection*>(QStringLiteral("fraPodpis")) : nullptr;
    }

    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    // The list as the section offers it: an empty item, then the table's names.
    QStringList offered(Directory list)
    {
        QStringList out{QString()};
        for (const auto& e : records::directoryEntries(*state.store, list))
            out << e.Name;
        return out;
    }

    QWidget* opener = nullptr;
};

}  // namespace

TEST_F(Signature, TheChoiceIsKeptForTheDataFolderWhenTheFolderIsConfirmed)
{
    auto* s = openDialog();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(items(s->Combo1), offered(Directory::Positions));
    EXPECT_EQ(items(s->Istochnik), offered(Directory::Sources));
    ASSERT_TRUE(items(s->Combo1).contains(QStringLiteral("Главный технолог")));
    ASSERT_TRUE(items(s->Istochnik).contains(QStringLiteral("Проектная документация")));
    EXPECT_EQ(s->Combo1->currentIndex(), 0);

    s->Combo1->setCurrentText(QStringLiteral("Главный технолог"));
    s->txtIspolnitel->setText(QStringLiteral("  Иванов И. И. "));
    s->Istochnik->setCurrentText(QStringLiteral("Проектная документация"));
    // «Отмена» keeps nothing.
    click(s->window()->findChild<QPushButton*>(QStringLiteral("Command2")));
    EXPECT_EQ(records::rememberedSignature(state.dataDir), records::Signature{});

    s = openDialog();
    ASSERT_NE(s, nullptr);
    s->Combo1->setCurrentText(QStringLiteral("Главный технолог"));
    s->txtIspolnitel->setText(QStringLiteral("  Иванов И. И. "));
    s->Istochnik->setCurrentText(QStringLiteral("Проектная документация"));
    dialogs.answers = {ui::Answer::Yes};
    click(s->window()->findChild<QPushButton*>(QStringLiteral("Command1")));
    EXPECT_TRUE(opener->isVisible());
    const records::Signature chosen{QStringLiteral("Главный технолог"), QStringLiteral("Иванов И. И."),
                                    QStringLiteral("Проектная документация")};
    EXPECT_EQ(records::rememberedSignature(state.dataDir), chosen);

    // Opened again, the dialog shows it; another data folder has none.
    s = openDialog();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->signature(), chosen);
    TempFolder other;
    EXPECT_EQ(records::rememberedSignature(other.path()), records::Signature{});
}

TEST_F(Signature, TheEllipsisOpensTheListEditorWhichRefillsTheList)
{
    auto* s = openDialog();
    ASSERT_NE(s, nullptr);
    QWidget* dialog = s->window();
    click(s->cmdDolgn);
    auto* editor = visible<directories::frmBD>("frmBD");
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(dialog->isVisible());
    editor->newEntry();
    editor->Name_Object->setText(QStringLiteral("Технолог цеха № 3"));
    ASSERT_TRUE(editor->enter());
    editor->back();
    settle();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(items(s->Combo1).contains(QStringLiteral("Технолог цеха № 3")));
    EXPECT_EQ(items(s->Combo1), offered(Directory::Positions));
    EXPECT_EQ(s->Combo1->currentIndex(), 0);

    click(s->cmdIstochnik);
    editor = visible<directories::frmBD>("frmBD");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->heading->text(), QStringLiteral("Список источников исходных данных"));
    editor->back();
    settle();
    EXPECT_EQ(items(s->Istochnik), offered(Directory::Sources));
}
