#pragma once

#include "directories/frmVvo.h"
#include "directories/list_directory.h"
#include "directories/register_directory_screens.h"
#include "records/reference_lists.h"
#include "records/substances.h"
#include "screens/screens_fixture.h"

#include <QIcon>
#include <QPointer>

namespace veltron::test {

// The store and screens of model I with the directories registered too.
class Directories : public ModelIScreens {
protected:
    void SetUp() override
    {
        ModelIScreens::SetUp();
        registerDirectoryScreens(state);
    }

    template <typename T>
    T* openDirectory(const char* name)
    {
        QPointer<QWidget> w = ui::navigator().open(QString::fromUtf8(name));
        settle();
        return w && w->isVisible() ? qobject_cast<T*>(w.data()) : nullptr;
    }

    // Row of the grid whose column 0 holds the name; -1 when none.
    static int rowOf(const QTableWidget* grid, const QString& name)
    {
        for (int r = 1; r < grid->rowCount(); ++r)
            if (screens::cellText(grid, r, 0) == name)
                return r;
        return -1;
    }
    static QStringList column0(const QTableWidget* grid)
    {
        QStringList out;
        for (int r = 1; r < grid->rowCount(); ++r)
            out << screens::cellText(grid, r, 0);
        return out;
    }
    static void select(QTableWidget* grid, const QString& name)
    {
        const int row = rowOf(grid, name);
        ASSERT_GE(row, 1) << name.toStdString();
        clickRow(grid, row);
    }

    // The one message of a save refused for a value out of its range;
    // notSaved is the editor's closing sentence.
    void expectOutOfRange(const char* field, const char* typed, const char* range, const QString& notSaved)
    {
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Ввод данных"));
        EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Warning);
        EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("Значение поля «%1» (%2) вне допустимых пределов: оно должно "
                                                        "быть %3. %4")
                                             .arg(QString::fromUtf8(field), QString::fromUtf8(typed),
                                                  QString::fromUtf8(range), notSaved));
    }

    // A calculation of its own, current, with a main block of the substance.
    records::Calculation calculationWithBlock(const QString& name, const QString& substance)
    {
        const records::Calculation c = records::createCalculation(*state.store, name);
        records::Block b;
        b.Id_Rasch = c.id;
        b.Id = 1;
        b.Name = substance;
        records::saveBlock(*state.store, b);
        state.current = c;
        return c;
    }

    int countNamed(const QString& table, const QString& name, db::Base base = db::Base::Main)
    {
        return state.store->query(QStringLiteral("SELECT Name FROM %1 WHERE Name = ?").arg(table), {name}, base).size();
    }
};

}  // namespace veltron::test
