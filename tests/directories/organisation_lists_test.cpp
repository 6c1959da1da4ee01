#include "directories/directories_fixture.h"

using namespace veltron;
using namespace veltron::test;
using directories::frmBD;
using records::Directory;

namespace {

class OrganisationLists : public Directories {
protected:
    frmBD* open(Directory list)
    {
        return openDirectory<frmBD>(list == Directory::Positions ? "frmBD/tabDolgn" : "frmBD/tabIstochnik");
    }
    QStringList stored(Directory list)
    {
        QStringList out;
        for (const auto& e : records::directoryEntries(*state.store, list))
            out << e.Name;
        return out;
    }
};

}  // namespace

TEST_F(OrganisationLists, AnEntryIsChangedInPlaceSoLeavingMidEditLosesNothing)
{
    frmBD* d = openDirectory<frmBD>("frmBD/tabDolgn");
    ASSERT_NE(d, nullptr);
    const QStringList before = stored(Directory::Positions);
    ASSERT_GE(before.size(), 2);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Добавление/изменение базы данных"));
    EXPECT_EQ(screens::cellText(d->grid, 0, 0), QStringLiteral("Список должностей"));
    EXPECT_EQ(d->findChild<QLabel*>("lblSpis")->text(), QStringLiteral("Список должностей"));
    EXPECT_EQ(column0(d->grid), before);
    const int browsingHeight = d->height();

    // "Изменить", then "Отмена": the same names.
    clickRow(d->grid, 1);
    click(d->Command5);
    EXPECT_EQ(d->Name_Object->text(), before[0]);
    EXPECT_GT(d->height(), browsingHeight);
    EXPECT_FALSE(d->mnuPred->isEnabled());
    EXPECT_EQ(stored(Directory::Positions), before);  // still there while it is edited
    click(d->Command4);
    EXPECT_EQ(stored(Directory::Positions), before);
    EXPECT_EQ(d->height(), browsingHeight);

    // The window closed in the middle of a change, the change not kept: nothing lost.
    Q_EMIT d->grid->cellDoubleClicked(1, 0);
    ASSERT_TRUE(d->editing());
    d->Name_Object->setText(QStringLiteral("Главный инженер проекта"));
    dialogs.answers = {ui::Answer::No};
    d->close();
    settle();
    EXPECT_EQ(visible<frmBD>("frmBD"), nullptr);
    EXPECT_EQ(stored(Directory::Positions), before);
    dialogs.clear();

    // "Ввод" changes the entry in place.
    d = open(Directory::Positions);
    ASSERT_NE(d, nullptr);
    clickRow(d->grid, 1);
    click(d->Command5);
    d->Name_Object->setText(QStringLiteral("Главный инженер проекта"));
    click(d->Command1);
    QStringList expected = before;
    expected[0] = QStringLiteral("Главный инженер проекта");
    db::sortRussian(expected);
    EXPECT_EQ(stored(Directory::Positions), expected);
    EXPECT_EQ(column0(d->grid), expected);
    EXPECT_TRUE(dialogs.calls.empty());
    clickRow(d->grid, 2);
    click(d->Command5);
    snapshot(d, QStringLiteral("frmBD-editing"));
}

TEST_F(OrganisationLists, NewNamesDuplicatesAndDeletingTheLastEntry)
{
    frmBD* d = open(Directory::Sources);
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->Command5->isEnabled());
    click(d->Command2);
    EXPECT_FALSE(d->Command1->isEnabled());
    d->Name_Object->setText(QStringLiteral("Акт обследования"));
    click(d->Command1);
    EXPECT_EQ(column0(d->grid).first(), QStringLiteral("Акт обследования"));

    click(d->Command2);
    d->Name_Object->setText(QStringLiteral("Акт обследования"));
    click(d->Command1);
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("Внимание!|«Акт обследования» уже есть в списке. Введите другое наименование.")});
    EXPECT_TRUE(d->editing());
    click(d->Command4);
    EXPECT_EQ(countNamed("tabIstochnik", QStringLiteral("Акт обследования"), db::Base::Second), 1);

    // Delete everything: the header and one empty row stay.
    dialogs.clear();
    const int n = int(stored(Directory::Sources).size());
    for (int i = 0; i < n; ++i) {
        clickRow(d->grid, 1);
        dialogs.answers = {ui::Answer::Yes};
        click(d->Command3);
    }
    EXPECT_TRUE(dialogs.calls.front().text.startsWith(QStringLiteral("Удалить источник исходных данных «")));
    EXPECT_TRUE(stored(Directory::Sources).isEmpty());
    EXPECT_EQ(d->grid->rowCount(), 2);
    EXPECT_EQ(screens::cellText(d->grid, 0, 0), QStringLiteral("Список источников исходных данных"));
    EXPECT_EQ(screens::cellText(d->grid, 1, 0), QString());
    clickRow(d->grid, 1);
    EXPECT_FALSE(d->Command3->isEnabled());
    // The other list is untouched.
    EXPECT_FALSE(stored(Directory::Positions).isEmpty());
}
