// «Сводная таблица блоков…», «Экспорт расчета…» and «Импорт расчета…» of the
// list of calculations, driven as a user drives them.
#include "screens/screens_fixture.h"

#include "app/frmMain1.h"
#include "records/exchange.h"
#include "records/signature.h"
#include "report/block_register.h"
#include "report/docx/document.h"
#include "screens/frmPerechen.h"

#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QSqlRecord>

using namespace veltron;
using namespace veltron::test;

namespace {

class RegisterAndExchange : public ModelIScreens {
protected:
    void SetUp() override
    {
        ModelIScreens::SetUp();
        // The example runs with the propane of the seed data.
        state.db().exec("UPDATE SubstChar SET T_kip = -42.1, Tepl_sgorPGF = 46350, Tepl_paroobr = 432, "
                        "Teploem_GF = 2.57 WHERE Name = 'Пропан'");
    }
    int count(const char* table)
    {
        return state.db().query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))).first().value(0).toInt();
    }
    screens::frmPerechen* openRegister(QWidget* from)
    {
        trigger(from, "mnuSvod");
        return visible<screens::frmPerechen>("frmPerechen");
    }
};

}  // namespace

TEST_F(RegisterAndExchange, RegisterOfTheTickedCalculationsIsShownAndSavedInEachFormat)
{
    createCalculation(QStringLiteral("Без блоков"));
    closeAllScreens();
    auto* list = openList();
    ASSERT_NE(list, nullptr);
    auto* p = openRegister(list);
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(list->isVisible());
    const int calculations = count("tabRasch");
    ASSERT_EQ(p->lstRasch->count(), calculations);
    EXPECT_FALSE(p->cmdSave->isEnabled());

    // Nothing ticked: nothing runs.
    click(p->cmdRun);
    EXPECT_EQ(dialogs.messages(),
              QStringList{"Внимание!|Отметьте расчеты, которые войдут в перечень, или «все расчеты»."});
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Warning);
    dialogs.clear();

    const int journal = count("tabOtchet");
    p->chkAll->click();
    EXPECT_EQ(p->ticked().size(), calculations);
    click(p->cmdRun);
    ASSERT_TRUE(p->shown());
    EXPECT_EQ(p->prbRun->value(), p->prbRun->maximum());
    EXPECT_EQ(p->tabPerechen->rowCount(), calculations);
    EXPECT_EQ(p->lblShapka->text(), report::registerHeading(*p->shown()));
    // The calculation without blocks stopped: its row shows the reason.
    const auto& last = p->shown()->rows.last();
    EXPECT_EQ(last.calculation, QStringLiteral("Без блоков"));
    EXPECT_EQ(p->tabPerechen->item(calculations - 1, 4)->text(), last.stop);
    EXPECT_EQ(count("tabOtchet") - journal, calculations - 1);

    // A name without an extension is saved as a Word document, with the signature chosen last.
    ASSERT_TRUE(records::rememberSignature(state.dataDir, {QStringLiteral("Инженер"), QStringLiteral("Иванов И. И."),
                                                           QStringLiteral("Регламент")}));
    state.reportFolder = folder.path();
    dialogs.files = {folder.file("перечень"), folder.file("перечень.xlsx"), folder.file("перечень.csv")};
    EXPECT_EQ(p->save(), folder.file("перечень.docx"));
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Сохранение перечня технологических блоков"));
    EXPECT_EQ(dialogs.calls.back().text,
              folder.path() + "|Документы Word (*.docx);;Книги Excel (*.xlsx);;Текст CSV (*.csv)");
    EXPECT_TRUE(docx::Document::open(folder.file("перечень.docx"))
                    .bookmarkText(QStringLiteral("mPodpis"))
                    .contains(QStringLiteral("Исходные данные: Регламент")));
    click(p->cmdSave);
    click(p->cmdSave);
    QFile xlsx(folder.file("перечень.xlsx"));
    ASSERT_TRUE(xlsx.open(QIODevice::ReadOnly));
    EXPECT_TRUE(xlsx.read(2) == "PK");
    QFile csv(folder.file("перечень.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), report::registerCsv(*p->shown()));
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('\n').toStdString();

    trigger(p, "mnuReturn");
    EXPECT_TRUE(list->isVisible());

    // The main menu leads there too.
    closeAllScreens();
    auto* menu = qobject_cast<frmMain1*>(ui::navigator().open(QStringLiteral("frmMain1")));
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(openRegister(menu), nullptr);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(RegisterAndExchange, ACalculationGoesToAFileAndComesBackUnderANewName)
{
    auto* list = openList();
    ASSERT_NE(list, nullptr);
    // «новый расчет» is chosen: there is no calculation to send.
    trigger(list, "mnuExport");
    EXPECT_EQ(dialogs.messages(),
              QStringList{"Внимание!!!|Выберите расчет в списке сохраненных расчетов, затем повторите экспорт."});
    dialogs.clear();

    list->Option3->setChecked(true);
    const QString example = QStringLiteral("Пример — резервуар пропана");
    list->Combo1->setCurrentIndex(list->Combo1->findText(example));
    dialogs.files = {folder.file("пример")};
    trigger(list, "mnuExport");
    const QString path = folder.file("пример.veltron");
    ASSERT_TRUE(QFile::exists(path)) << dialogs.messages().join('\n').toStdString();
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Экспорт расчета"));
    dialogs.clear();

    // Its name is taken here: the user is asked for another one.
    const int calculations = count("tabRasch");
    dialogs.files = {path};
    dialogs.texts = {QStringLiteral("Присланный пример")};
    trigger(list, "mnuImport");
    ASSERT_EQ(dialogs.calls.size(), 3u);
    EXPECT_EQ(dialogs.calls[0].kind, QStringLiteral("open"));
    EXPECT_EQ(dialogs.calls[1].text, "В базе есть расчет с именем «" + example +
                                         "». Введите другое имя для импортируемого расчета:|" + example + " (импорт)");
    EXPECT_EQ(dialogs.calls[2].title, QStringLiteral("Импорт расчета"));
    EXPECT_TRUE(dialogs.calls[2].text.startsWith(QStringLiteral("Импортировано расчетов: 1 («Присланный пример»)")));
    EXPECT_EQ(count("tabRasch"), calculations + 1);
    EXPECT_TRUE(list->Option3->isChecked());
    EXPECT_EQ(list->Combo1->currentText(), QStringLiteral("Присланный пример"));
    dialogs.clear();

    // Cancelling the name imports nothing and says nothing.
    dialogs.files = {path};
    dialogs.texts = {std::nullopt};
    trigger(list, "mnuImport");
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(count("tabRasch"), calculations + 1);
    dialogs.clear();

    // A file that is not ours is refused with the reason; the store stays as it was.
    const QString foreign = folder.file("чужой.veltron");
    QFile f(foreign);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"format": "другой", "version": 1})");
    f.close();
    dialogs.files = {foreign};
    trigger(list, "mnuImport");
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith(QStringLiteral("Внимание!|Файл не принят: это не файл расчетов")));
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
    EXPECT_EQ(count("tabRasch"), calculations + 1);
}
