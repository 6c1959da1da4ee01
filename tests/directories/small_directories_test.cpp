#include "directories/directories_fixture.h"

#include "ui/numeric_edit.h"

using namespace veltron;
using namespace veltron::test;
using directories::ListDirectory;

namespace {

class SmallDirectories : public Directories {
protected:
    ListDirectory* open(const char* name) { return openDirectory<ListDirectory>(name); }

    static ui::NumericEdit* box(ListDirectory* d, const char* name)
    {
        return d->findChild<ui::NumericEdit*>(QLatin1String(name));
    }
    QStringList namesInTable(const char* table)
    {
        QStringList out;
        const QString order = QLatin1String(table) == QLatin1String("tabGoryuch") ? QStringLiteral(" ORDER BY Poryadok")
                                                                                 : QString();
        for (const auto& r : state.store->query(QStringLiteral("SELECT Name FROM %1%2").arg(QLatin1String(table), order)))
            out << r.value(0).toString();
        return out;
    }
};

}  // namespace

TEST_F(SmallDirectories, SurfacesAreAddedChangedAndProtected)
{
    const records::Calculation c = records::createCalculation(*state.store, QStringLiteral("Площадка"));
    state.current = c;  // its surface: "Бетон"
    ListDirectory* d = open("frmBD_Type");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Добавление/изменение базы данных"));
    EXPECT_EQ(column0(d->grid), (QStringList{"Бетон", "Песок"}));
    EXPECT_EQ(screens::cellText(d->grid, 1, 2), QStringLiteral("1,86"));
    // The header row selects nothing; a double click on a surface does nothing.
    clickRow(d->grid, 0);
    EXPECT_FALSE(d->Command5->isEnabled());
    Q_EMIT d->grid->cellDoubleClicked(1, 0);
    EXPECT_FALSE(d->editing());

    click(d->Command2);
    EXPECT_FALSE(d->mnuPred->isEnabled());
    EXPECT_FALSE(d->browseFrame->isEnabled());
    EXPECT_FALSE(d->Command1->isEnabled());
    EXPECT_EQ(box(d, "lyambda")->text(), QStringLiteral("0"));
    d->Name_Object->setText(QStringLiteral("Асфальт"));
    box(d, "p")->setText(QStringLiteral("2100"));
    box(d, "lyambda")->setText(QStringLiteral("1,05"));
    box(d, "c")->setText(QStringLiteral("1,68"));
    snapshot(d, QStringLiteral("frmBD_Type-editing"));
    click(d->Command1);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(column0(d->grid), (QStringList{"Асфальт", "Бетон", "Песок"}));
    EXPECT_EQ(records::findSurface(*state.store, QStringLiteral("Асфальт"))->lyambda, 1.05);

    // The current calculation's surface keeps its name; its values change.
    select(d->grid, QStringLiteral("Бетон"));
    click(d->Command5);
    EXPECT_FALSE(d->Name_Object->isEnabled());
    box(d, "c")->setText(QStringLiteral("0,84"));
    click(d->Command1);
    EXPECT_EQ(records::findSurface(*state.store, QStringLiteral("Бетон"))->c, 0.84);

    // A surface of a stored calculation cannot be deleted; another can.
    select(d->grid, QStringLiteral("Бетон"));
    click(d->Command3);
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("Внимание!|Невозможно удалить! Данная поверхность сохранена в исходных данных!")});
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
    EXPECT_EQ(countNamed("tabPoverhn", QStringLiteral("Бетон")), 1);
    dialogs.clear();
    select(d->grid, QStringLiteral("Песок"));
    dialogs.answers = {ui::Answer::No};
    click(d->Command3);
    EXPECT_EQ(countNamed("tabPoverhn", QStringLiteral("Песок")), 1);
    dialogs.answers = {ui::Answer::Yes};
    click(d->Command3);
    EXPECT_EQ(dialogs.messages().last(),
              QStringLiteral("В н и м а н и е ! ! !|Удалить поверхность «Песок»?"));
    EXPECT_EQ(column0(d->grid), (QStringList{"Асфальт", "Бетон"}));
    EXPECT_FALSE(d->Command3->isEnabled());
    snapshot(d, QStringLiteral("frmBD_Type"));
}

TEST_F(SmallDirectories, ChangeThenCancelOrADuplicateNameChangesNothing)
{
    for (const char* screen : {"frmBD_Type", "frmBD_Goryuch", "frmBD_KVV"}) {
        SCOPED_TRACE(screen);
        ListDirectory* d = open(screen);
        ASSERT_NE(d, nullptr);
        const QStringList before = column0(d->grid);
        ASSERT_GE(before.size(), 2);
        clickRow(d->grid, 1);
        click(d->Command5);
        d->Name_Object->setText(QStringLiteral("Другое имя"));
        d->values[0]->setText(QStringLiteral("123"));
        click(d->Command4);
        EXPECT_FALSE(d->editing());
        EXPECT_EQ(column0(d->grid), before);

        // The first entry renamed as the second: refused, the panel stays.
        dialogs.clear();
        clickRow(d->grid, 1);
        click(d->Command5);
        d->Name_Object->setText(before[1]);
        click(d->Command1);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
        EXPECT_TRUE(dialogs.calls[0].text.contains(QStringLiteral("«%1» уже есть в справочнике").arg(before[1])));
        EXPECT_TRUE(d->editing());
        click(d->Command4);
        EXPECT_EQ(column0(d->grid), before);
        dialogs.clear();
        trigger(d, "mnuPred");
    }
}

TEST_F(SmallDirectories, FuelKindsKeepTheTableOrderAlsoWhenChanged)
{
    ListDirectory* d = open("frmBD_Goryuch");
    ASSERT_NE(d, nullptr);
    QStringList order = namesInTable("tabGoryuch");
    EXPECT_EQ(column0(d->grid), order);

    // A new kind comes last, though its name would sort first.
    click(d->Command2);
    d->Name_Object->setText(QStringLiteral("Аммиак"));
    d->values[0]->setText(QStringLiteral("0,5"));
    click(d->Command1);
    order << QStringLiteral("Аммиак");
    EXPECT_EQ(column0(d->grid), order);

    // A double click opens the panel; the changed kind stays where it was.
    Q_EMIT d->grid->cellDoubleClicked(2, 0);
    ASSERT_TRUE(d->editing());
    EXPECT_EQ(d->Name_Object->text(), order[1]);
    d->Name_Object->setText(QStringLiteral("Ацетилен и др."));
    d->values[0]->setText(QStringLiteral("0,75"));
    click(d->Command1);
    order[1] = QStringLiteral("Ацетилен и др.");
    EXPECT_EQ(column0(d->grid), order);
    EXPECT_EQ(namesInTable("tabGoryuch"), order);
    EXPECT_EQ(screens::cellText(d->grid, 2, 1), QStringLiteral("0,75"));
    snapshot(d, QStringLiteral("frmBD_Goryuch"));
}

TEST_F(SmallDirectories, RowHeightsFollowTheCharactersPerLine)
{
    state.store->exec("DELETE FROM Explosives");
    state.store->exec("INSERT INTO Explosives (Name, Energy) VALUES (?, 1)", {QString(61, QChar(u'а'))});
    state.store->exec("INSERT INTO Explosives (Name, Energy) VALUES (?, 1)", {QString(62, QChar(u'б'))});
    state.store->exec("INSERT INTO Explosives (Name, Energy) VALUES (?, 1)", {QStringLiteral("Тротил")});
    state.store->exec("INSERT INTO tabPoverhn (Name, p, lyambda, c) VALUES (?, 1, 1, 1)", {QString(60, QChar(u'в'))});
    ListDirectory* kvv = open("frmBD_KVV");
    ASSERT_NE(kvv, nullptr);
    const auto h = [](ListDirectory* d, const QString& n) { return d->grid->rowHeight(rowOf(d->grid, n)); };
    EXPECT_EQ(h(kvv, QString(61, QChar(u'а'))), h(kvv, QStringLiteral("Тротил")));
    EXPECT_GT(h(kvv, QString(62, QChar(u'б'))), h(kvv, QStringLiteral("Тротил")));
    ListDirectory* type = open("frmBD_Type");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(h(type, QString(60, QChar(u'в'))), h(kvv, QString(62, QChar(u'б'))));
}

TEST_F(SmallDirectories, AnEmptyTableShowsItsNoticeAndAnEmptyValueStaysEmpty)
{
    state.store->exec("DELETE FROM Explosives");
    ListDirectory* d = open("frmBD_KVV");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->grid->isHidden());
    EXPECT_FALSE(d->Label4->isHidden());
    EXPECT_EQ(d->Label4->text(), QStringLiteral("Данные не введены"));
    trigger(d, "mnuPred");

    state.store->exec("INSERT INTO Explosives (Name, Energy) VALUES (?, NULL)", {QStringLiteral("Гексоген")});
    d = open("frmBD_KVV");
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->grid->isHidden());
    EXPECT_EQ(screens::cellText(d->grid, 1, 1), QStringLiteral("0"));
    clickRow(d->grid, 1);
    click(d->Command5);
    EXPECT_EQ(d->values[0]->text(), QStringLiteral("0"));
    d->Name_Object->setText(QStringLiteral("Гексоген (RDX)"));
    click(d->Command1);
    const auto rows = state.store->query("SELECT Name, Energy FROM Explosives");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(0).toString(), QStringLiteral("Гексоген (RDX)"));
    EXPECT_TRUE(rows[0].isNull(1));
}

// Each number of the small directories is refused outside its physical
// range; z = 2 of a fuel kind never reaches the z dialog.
TEST_F(SmallDirectories, AValueOutsideItsPhysicalRangeIsRefused)
{
    const struct {
        const char* screen;
        const char* box;
        const char* typed;
        const char* field;
        const char* range;
    } cases[] = {
        {"frmBD_Type", "p", "0", "Плотность материала твердой поверхности, кг/куб.м", "больше 0"},
        {"frmBD_Type", "lyambda", "0",
         "Коэффициент теплопроводности материала твердой поверхности (пола, поддона, земли и т.п.) , Вт/(м·К)",
         "больше 0"},
        {"frmBD_Type", "c", "0", "Удельная теплоемкость материала твердой поверхности, кДж/(кг·К)", "больше 0"},
        {"frmBD_Goryuch", "z", "0",
         "Значение доли (z) приведенной массы парогазовых веществ, участвующих во взрыве, для замкнутых объемов "
         "(помещений)",
         "больше 0 и не больше 1"},
        {"frmBD_Goryuch", "z", "2",
         "Значение доли (z) приведенной массы парогазовых веществ, участвующих во взрыве, для замкнутых объемов "
         "(помещений)",
         "больше 0 и не больше 1"},
        {"frmBD_KVV", "Energy", "0",
         "Удельная энергия взрыва, кДж/кг (для твердых и химически нестабильных соединений)", "больше 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " = " + c.typed);
        ListDirectory* d = open(c.screen);
        ASSERT_NE(d, nullptr);
        click(d->Command2);
        d->Name_Object->setText(QStringLiteral("Проба"));
        for (ui::NumericEdit* b : d->values)
            b->setText(QStringLiteral("1"));  // each range holds 1
        box(d, c.box)->setText(QString::fromUtf8(c.typed));
        dialogs.clear();
        click(d->Command1);
        expectOutOfRange(c.field, c.typed, c.range, QStringLiteral("Данные не сохранены."));
        EXPECT_TRUE(d->editing());
        EXPECT_EQ(rowOf(d->grid, QStringLiteral("Проба")), -1);
        click(d->Command4);
        trigger(d, "mnuPred");
    }
}

// Zeros an older store may hold are marked where the directory lists them,
// and stay as they are.
TEST_F(SmallDirectories, ZerosTheFormulasCannotUseAreMarked)
{
    state.store->exec("INSERT INTO tabPoverhn (Name, p, lyambda, c) VALUES (?, 1800, 0.9, 0)",
                      {QStringLiteral("Кирпич")});
    state.store->exec("INSERT INTO Explosives (Name, Energy) VALUES (?, 0)", {QStringLiteral("Соединение без энергии")});
    ListDirectory* surfaces = open("frmBD_Type");
    ASSERT_NE(surfaces, nullptr);
    const int brick = rowOf(surfaces->grid, QStringLiteral("Кирпич"));
    const int sand = rowOf(surfaces->grid, QStringLiteral("Песок"));
    EXPECT_FALSE(surfaces->grid->item(brick, 0)->icon().isNull());
    EXPECT_TRUE(surfaces->grid->item(sand, 0)->icon().isNull());
    EXPECT_NE(surfaces->grid->item(brick, 3)->background(), surfaces->grid->item(brick, 2)->background());
    EXPECT_FALSE(surfaces->lblMissing->isHidden());
    trigger(surfaces, "mnuPred");
    EXPECT_EQ(records::findSurface(*state.store, QStringLiteral("Кирпич"))->c, 0.0);

    ListDirectory* compounds = open("frmBD_KVV");
    ASSERT_NE(compounds, nullptr);
    EXPECT_FALSE(
        compounds->grid->item(rowOf(compounds->grid, QStringLiteral("Соединение без энергии")), 0)->icon().isNull());
    const int tnt = rowOf(compounds->grid, QStringLiteral("Тротил (тринитротолуол)"));
    ASSERT_GE(tnt, 1);
    EXPECT_TRUE(compounds->grid->item(tnt, 0)->icon().isNull());
    EXPECT_FALSE(compounds->lblMissing->isHidden());
    trigger(compounds, "mnuPred");

    ListDirectory* fuel = open("frmBD_Goryuch");
    ASSERT_NE(fuel, nullptr);
    EXPECT_TRUE(fuel->lblMissing->isHidden()) << "z = 0 of the rules is not marked";
}

// The question before a delete names the entry, in every directory.
TEST_F(SmallDirectories, TheDeleteQuestionNamesTheEntry)
{
    state.store->exec("INSERT INTO tabDolgn (Name) VALUES (?)", {QStringLiteral("Инженер")}, db::Base::Second);
    state.store->exec("INSERT INTO tabIstochnik (Name) VALUES (?)", {QStringLiteral("Паспорт")}, db::Base::Second);
    const QString fuel = records::fuelKinds(*state.store).value(0).Name;
    const QString compound = state.store->query("SELECT Name FROM Explosives").value(0).value(0).toString();
    const struct {
        const char* screen;
        QString entry;
        QString question;
    } cases[] = {
        {"frmVvo", QStringLiteral("Бутан"), QStringLiteral("Удалить вещество «Бутан»?")},
        {"frmBD_Type", QStringLiteral("Песок"), QStringLiteral("Удалить поверхность «Песок»?")},
        {"frmBD_Goryuch", fuel, QStringLiteral("Удалить вид горючего «%1»?").arg(fuel)},
        {"frmBD_KVV", compound, QStringLiteral("Удалить соединение «%1»?").arg(compound)},
        {"frmBD/tabDolgn", QStringLiteral("Инженер"), QStringLiteral("Удалить должность «Инженер»?")},
        {"frmBD/tabIstochnik", QStringLiteral("Паспорт"), QStringLiteral("Удалить источник исходных данных «Паспорт»?")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        QWidget* d = openDirectory<QWidget>(c.screen);
        ASSERT_NE(d, nullptr);
        auto* v = qobject_cast<directories::frmVvo*>(d);
        auto* l = qobject_cast<ListDirectory*>(d);
        select(v ? v->Tabl_Vva : l->grid, c.entry);
        dialogs.clear();
        dialogs.answers = {ui::Answer::No};
        click(v ? v->Command3 : l->Command3);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("В н и м а н и е ! ! !"));
        EXPECT_EQ(dialogs.calls[0].text, c.question);
        EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Question);
        EXPECT_EQ(dialogs.calls[0].buttons, ui::Buttons::YesNo);
        EXPECT_GE(rowOf(v ? v->Tabl_Vva : l->grid, c.entry), 1) << "No keeps the entry";
        closeAllScreens();
    }
}

// No name and no header of a small directory is cut short: each cell's text,
// wrapped in its column, fits the height of its row.
TEST_F(SmallDirectories, NamesAndHeadersAreNeverCutShort)
{
    for (const char* screen : {"frmBD_Type", "frmBD_Goryuch", "frmBD_KVV"}) {
        SCOPED_TRACE(screen);
        ListDirectory* d = open(screen);
        ASSERT_NE(d, nullptr);
        for (int r = 0; r < d->grid->rowCount(); ++r)
            for (int c = 0; c < d->grid->columnCount(); ++c) {
                const QTableWidgetItem* item = d->grid->item(r, c);
                if (!item)
                    continue;
                const QFontMetrics fm(item->font());
                const int needed =
                    fm.boundingRect(QRect(0, 0, d->grid->columnWidth(c) - 8, 10000), Qt::TextWordWrap, item->text())
                        .height();
                EXPECT_LE(needed, d->grid->rowHeight(r)) << item->text().toStdString();
                // A header wraps only between words: its longest word fits the column.
                for (const QString& word : item->text().split(' ', Qt::SkipEmptyParts))
                    EXPECT_LE(fm.horizontalAdvance(word), d->grid->columnWidth(c) - 6) << word.toStdString();
            }
        closeAllScreens();
    }
}
