// The question on leaving a directory while its edit panel holds changes
// that are not stored: the window frame is the way out while the panel is
// open ("<<Назад" waits for the panel to close).
#include "directories/directories_fixture.h"

#include "common/leave_question.h"
#include "ui/numeric_edit.h"

using namespace veltron;
using namespace veltron::test;
using directories::frmVvo;
using directories::ListDirectory;

namespace {

class LeaveQuestion : public Directories {};

void closeByFrame(ui::Screen* s)
{
    s->close();
}

}  // namespace

TEST_F(LeaveQuestion, Substances)
{
    LeaveCase c;
    c.open = [&]() -> ui::Screen* {
        auto* d = openDirectory<frmVvo>("frmVvo");
        if (!d)
            return nullptr;
        select(d->Tabl_Vva, QStringLiteral("Бутан"));
        click(d->Command5);
        return d;
    };
    c.change = [](ui::Screen* s, int edit) {
        static_cast<frmVvo*>(s)->Mol_massa->setText(edit == 1 ? QStringLiteral("58,2") : QStringLiteral("58,3"));
    };
    c.save = [&](ui::Screen* s) {
        dialogs.answers = {ui::Answer::Yes};  // saving although the data may be wrong
        click(static_cast<frmVvo*>(s)->Command1);
    };
    c.leave = closeByFrame;
    c.stored = [&] {
        return QString::number(*records::findSubstanceRecord(*state.store, QStringLiteral("Бутан"))->Mol_massa);
    };
    c.afterYes = {ui::Answer::Yes};
    expectLeaveQuestion(dialogs, c);
}

// Every small directory and an organisation list, by the number or the name of an entry.
TEST_F(LeaveQuestion, SmallDirectoriesAndOrganisationLists)
{
    state.store->exec("INSERT INTO tabDolgn (Name) VALUES (?)", {QStringLiteral("Инженер")}, db::Base::Second);
    struct Directory {
        const char* screen;
        QString entry;
        const char* table;
        const char* field;  // the number the edits change; none: the name
        db::Base base = db::Base::Main;
    };
    const QString fuel = records::fuelKinds(*state.store).value(0).Name;
    const QString compound = state.store->query("SELECT Name FROM Explosives").value(0).value(0).toString();
    const Directory cases[] = {
        {"frmBD_Type", QStringLiteral("Песок"), "tabPoverhn", "p"},
        {"frmBD_Goryuch", fuel, "tabGoryuch", "z"},
        {"frmBD_KVV", compound, "Explosives", "Energy"},
        {"frmBD/tabDolgn", QStringLiteral("Инженер"), "tabDolgn", nullptr, db::Base::Second},
    };
    for (const Directory& d : cases) {
        SCOPED_TRACE(d.screen);
        ASSERT_FALSE(d.entry.isEmpty());
        QString entry = d.entry;
        LeaveCase c;
        c.open = [&]() -> ui::Screen* {
            auto* s = openDirectory<ListDirectory>(d.screen);
            if (!s)
                return nullptr;
            select(s->grid, entry);
            click(s->Command5);
            return s;
        };
        c.change = [&](ui::Screen* s, int edit) {
            auto* l = static_cast<ListDirectory*>(s);
            if (d.field)
                l->values[0]->setText(edit == 1 ? QStringLiteral("0,75") : QStringLiteral("0,5"));
            else
                l->Name_Object->setText(d.entry + QString::number(edit));
        };
        c.save = [](ui::Screen* s) {
            click(static_cast<ListDirectory*>(s)->Command1);
        };
        c.leave = closeByFrame;
        c.stored = [&] {
            QString out;
            const QString sql = d.field ? QStringLiteral("SELECT %1 FROM %2 WHERE Name = ?").arg(d.field, d.table)
                                        : QStringLiteral("SELECT Name FROM %1 WHERE Name LIKE ?").arg(d.table);
            const auto rows = state.store->query(sql, {d.field ? d.entry : d.entry + "%"}, d.base);
            for (const auto& r : rows)
                out += r.value(0).toString() + ";";
            // A renamed entry is opened under its new name.
            if (!d.field && !rows.isEmpty())
                entry = rows.last().value(0).toString();
            return out;
        };
        expectLeaveQuestion(dialogs, c);
    }
}
