#include "app/frmAbout.h"
#include "app/frmDataSourse.h"
#include "app/frmLoad_Rasch.h"
#include "app/frmMain1.h"
#include "app/startup.h"
#include "common/test_support.h"
#include "db/program_folders.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace veltron;

namespace {

class StartUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.dataDir = data.path();
        state.programDir = data.path();
        registerAppScreens(state);
    }
    void TearDown() override
    {
        test::closeAllScreens();
        ui::installDesktop(nullptr);
    }

    void corruptEmbeddedStore()
    {
        QFile f(data.file("bdVeltron.sqlite"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'z'));
    }

    // An ODBC data source of the test's own, on the SQLite3 driver.
    void writeOdbcIni(const QString& dsn)
    {
        QFile ini(odbc.file("odbc.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[%1]\nDriver=SQLite3\nDatabase=%2\n").arg(dsn, odbc.file("shared.db")).toUtf8());
        ini.close();
        qputenv("ODBCINI", odbc.file("odbc.ini").toUtf8());
    }

    test::TempFolder data;
    test::TempFolder odbc;
    ui::ScriptedDialogs dialogs;
    AppState state;
};

const char* kNoConnection = "Невозможно подключиться к базе данных, установите имя источника данных ODBC!";

}  // namespace

TEST_F(StartUp, WorkingStoreShowsTheMainMenu)
{
    startUp(state);
    test::settle();
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
    EXPECT_TRUE(dialogs.calls.empty());
    ASSERT_NE(state.store, nullptr);
    EXPECT_TRUE(state.connection.isEmbedded());
}

TEST_F(StartUp, UnreachableStoreAndBadNameShowTheMessageAndTheDataSourceDialog)
{
    corruptEmbeddedStore();
    ASSERT_TRUE(db::writeDataSourceName(data.path(), "NoSuchSource"));
    writeOdbcIni("Other");
    startUp(state);
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.calls[0].text, QString::fromUtf8(kNoConnection));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
    auto* dlg = test::visible<frmDataSourse>("frmDataSourse");
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->txtDataSourse->text(), QStringLiteral("NoSuchSource"));
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmDataSourse"});
    // The reason the program's own database failed is not hidden from the user.
    EXPECT_TRUE(dlg->lblReason->text().contains(QStringLiteral("повреждён")));

    // A name that does not connect: the message, and the dialog stays.
    dialogs.clear();
    dlg->txtDataSourse->setText("StillWrong");
    QTest::mouseClick(dlg->Command1, Qt::LeftButton);
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("В н и м а н и е!!!"));
    EXPECT_EQ(dialogs.calls[0].text,
              QStringLiteral("Невозможно подключиться к базе данных, измените имя источника данных ODBC!"));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmDataSourse"});
    EXPECT_EQ(db::readDataSourceName(data.path()), QStringLiteral("NoSuchSource"));
}

TEST_F(StartUp, WorkingNameInTheDialogIsSavedAndReachesTheMainMenu)
{
    corruptEmbeddedStore();
    writeOdbcIni("VeltronTest");
    startUp(state);
    test::settle();
    auto* dlg = test::visible<frmDataSourse>("frmDataSourse");
    ASSERT_NE(dlg, nullptr);
    // The source has no tables yet: the question, and No leaves it untouched.
    dialogs.clear();
    dialogs.answers = {ui::Answer::No};
    dlg->txtDataSourse->setText("VeltronTest");
    QTest::mouseClick(dlg->Command1, Qt::LeftButton);
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("В н и м а н и е ! ! !"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("В базе данных источника «VeltronTest» нет таблиц программы. "
                                                    "Создать их и заполнить справочники?"));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Question);
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmDataSourse"});
    EXPECT_FALSE(db::Store::openOdbc(data.path(), "VeltronTest")->hasTables());
    EXPECT_EQ(db::readDataSourceName(data.path()), QString());

    // Yes creates them.
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    QTest::mouseClick(dlg->Command1, Qt::LeftButton);
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Question);
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("В н и м а н и е!!!"));
    EXPECT_EQ(dialogs.calls[1].text, QStringLiteral("База успешно подключена!"));
    EXPECT_EQ(dialogs.calls[1].icon, ui::Icon::None);
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
    EXPECT_EQ(db::readDataSourceName(data.path()), QStringLiteral("VeltronTest"));
    ASSERT_NE(state.store, nullptr);
    EXPECT_EQ(state.store->source().dsn, QStringLiteral("VeltronTest"));
    EXPECT_FALSE(state.connection.isEmbedded());
    // The source received the schema and works like the embedded store.
    state.store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {901, QStringLiteral("Цех 'А'")});
    EXPECT_EQ(state.store->query("SELECT Name FROM tabRasch WHERE Id = 901")[0].value(0).toString(),
              QStringLiteral("Цех 'А'"));
}

// The program's own database does not open and «Data Source.txt» names a
// source that works: the program works with that source, and says so first.
TEST_F(StartUp, FallingBackToTheSourceOfTheFileIsAnnounced)
{
    writeOdbcIni("VeltronTest");
    db::Store::openOdbc(data.path(), "VeltronTest")->createSchema(true);
    corruptEmbeddedStore();
    ASSERT_TRUE(db::writeDataSourceName(data.path(), "VeltronTest"));
    startUp(state);
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Warning);
    const QStringList lines = dialogs.calls[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Встроенная база данных не открылась — "))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("повреждён"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("Работа идет с источником данных ODBC «VeltronTest», имя которого записано в "
                                       "файле «Data Source.txt» папки данных."));
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
    ASSERT_NE(state.store, nullptr);
    EXPECT_EQ(state.store->source().dsn, QStringLiteral("VeltronTest"));
}

// A data folder named by --data or VELTRON_DATA that is missing or holds no
// store: the program asks before it makes one there; No leaves it as it was.
TEST_F(StartUp, NamedFolderWithoutAStoreIsMadeOnlyWhenTheUserAgrees)
{
    const struct {
        QString folder;
        bool exists;
        QString question;
    } cases[] = {
        {data.file("новая"), false,
         QStringLiteral("Папка данных «%1» не найдена. Создать эту папку и в ней новую базу данных с заполненными "
                        "справочниками?")},
        {data.file("пустая"), true,
         QStringLiteral("В папке данных «%1» нет базы данных программы. Создать в ней новую базу данных и заполнить "
                        "справочники?")},
    };
    for (const auto& c : cases) {
        if (c.exists)
            ASSERT_TRUE(QDir().mkpath(c.folder));
        state.dataDir = c.folder;
        state.dataDirNamed = true;
        for (const ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
            dialogs.clear();
            dialogs.answers = {answer};
            startUp(state);
            test::settle();
            ASSERT_EQ(dialogs.calls.size(), 1u);
            EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("В н и м а н и е ! ! !"));
            EXPECT_EQ(dialogs.calls[0].text, c.question.arg(QDir::toNativeSeparators(c.folder)));
            EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Question);
            if (answer == ui::Answer::No) {
                EXPECT_EQ(test::visibleScreens(), QStringList{"frmDataSourse"});
                EXPECT_EQ(QFileInfo::exists(c.folder), c.exists);
                if (c.exists)
                    EXPECT_TRUE(QDir(c.folder).isEmpty());
                EXPECT_EQ(state.store, nullptr);
                test::closeAllScreens();
            } else {
                EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
                ASSERT_NE(state.store, nullptr);
                EXPECT_TRUE(state.store->hasAllTables());
                EXPECT_TRUE(QFile::exists(QDir(c.folder).filePath("bdVeltron.sqlite")));
            }
        }
        // Once made, the store opens without a question.
        test::closeAllScreens();
        state.store.reset();
        dialogs.clear();
        startUp(state);
        test::settle();
        EXPECT_TRUE(dialogs.calls.empty());
        EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
        test::closeAllScreens();
    }
}

TEST_F(StartUp, DefaultSourceWinsOverTheNameInTheFile)
{
    writeOdbcIni("VeltronTest");
    ASSERT_TRUE(db::writeDataSourceName(data.path(), "VeltronTest"));
    startUp(state);
    test::settle();
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
    EXPECT_TRUE(state.store->source().dsn.isEmpty());
}

TEST_F(StartUp, ModelChoiceAlwaysOpensOnOptionOne)
{
    startUp(state);
    test::settle();
    for (int round = 0; round < 2; ++round) {
        auto* menu = test::visible<frmMain1>("frmMain1");
        ASSERT_NE(menu, nullptr);
        test::snapshot(menu, "frmMain1");
        QTest::mouseClick(menu->Command1, Qt::LeftButton);
        test::settle();
        auto* choice = test::visible<frmLoad_Rasch>("frmLoad_Rasch");
        ASSERT_NE(choice, nullptr);
        test::snapshot(choice, "frmLoad_Rasch");
        EXPECT_EQ(test::visibleScreens(), QStringList{"frmLoad_Rasch"});
        EXPECT_TRUE(choice->Option1->isChecked());
        choice->Option3->setChecked(true);
        choice->findChild<QAction*>("mnuReturn")->trigger();
        test::settle();
    }
}

// The start-up tests register no model screens: a model whose screens a
// program lacks leads to a plain screen that says so and leads back.
TEST_F(StartUp, AModelWhoseScreensAreMissingOpensAPlaceholderThatLeadsBack)
{
    startUp(state);
    test::settle();
    test::visible<frmMain1>("frmMain1")->Command1->click();
    test::settle();
    auto* choice = test::visible<frmLoad_Rasch>("frmLoad_Rasch");
    ASSERT_NE(choice, nullptr);
    choice->Option2->setChecked(true);
    choice->Command1->click();
    test::settle();
    QWidget* placeholder = test::visibleScreen("frmPlaceholder");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmPlaceholder"});
    EXPECT_EQ(placeholder->findChild<QLabel*>("Label1")->text(),
              QStringLiteral("Эта часть программы ещё не реализована."));
    placeholder->findChild<QPushButton*>("cmdReturn")->click();
    test::settle();
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmLoad_Rasch"});
}

TEST_F(StartUp, MainMenuItemsCarryTheirShortcuts)
{
    startUp(state);
    test::settle();
    auto* menu = test::visible<frmMain1>("frmMain1");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->findChild<QAction*>("Ex")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(menu->findChild<QAction*>("He")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(menu->findChild<QAction*>("Hel")->shortcut(), QKeySequence(Qt::Key_F3));

    menu->findChild<QAction*>("Hel")->trigger();
    test::settle();
    auto* about = test::visible<frmAbout>("frmAbout");
    ASSERT_NE(about, nullptr);
    const QString info = about->systemInformation();
    EXPECT_TRUE(info.contains(QString::fromLatin1(qVersion())));
    EXPECT_EQ(about->lblStore->text(),
              QStringLiteral("База данных: встроенная база данных папки «%1»").arg(QDir::toNativeSeparators(data.path())));
    EXPECT_TRUE(info.contains(QStringLiteral("встроенная база данных папки")));

    menu->findChild<QAction*>("Ex")->trigger();
    test::settle();
    EXPECT_TRUE(test::visibleScreens().isEmpty());
}

namespace {

// The manual of a program folder: "NAME/NAME" + each extension.
QString writeManual(const QString& filesDir, const QStringList& extensions)
{
    const QString name = db::userManualName();
    const QString folder = QDir(filesDir).filePath(name);
    QDir().mkpath(folder);
    for (const QString& ext : extensions) {
        QFile f(QDir(folder).filePath(name + ext));
        f.open(QIODevice::WriteOnly);
        f.write("manual");
    }
    return QDir(folder).filePath(name);
}

}  // namespace

// F1 of the main menu hands the manual to the desktop's viewer and comes
// back at once: the Word document, else the page; the installed layout
// finds it in share/veltron.
TEST_F(StartUp, F1OpensTheManualWithTheDesktopsViewer)
{
    ui::RecordingDesktop desktop;
    ui::installDesktop(&desktop);
    startUp(state);
    test::settle();
    auto* menu = test::visible<frmMain1>("frmMain1");
    ASSERT_NE(menu, nullptr);
    auto pressF1 = [&] {
        desktop.opened.clear();
        dialogs.clear();
        menu->activateWindow();
        QApplication::setActiveWindow(menu);
        QTest::keyClick(menu, Qt::Key_F1);
        test::settle();
    };

    test::TempFolder built;
    state.programDir = built.path();
    const QString beside = writeManual(built.path(), {".docx", ".html"});
    pressF1();
    EXPECT_EQ(desktop.opened, QStringList{beside + ".docx"});
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"}) << "the menu stays, nothing waits for the viewer";

    test::TempFolder prefix;
    QDir().mkpath(prefix.file("bin"));
    state.programDir = prefix.file("bin");
    const QString installed = writeManual(prefix.file("share/veltron"), {".html"});
    pressF1();
    EXPECT_EQ(desktop.opened, QStringList{installed + ".html"});

    // A desktop that cannot open the Word document gets the page; one that
    // opens neither says so.
    state.programDir = built.path();
    desktop.opens = false;
    pressF1();
    EXPECT_EQ(desktop.opened, (QStringList{beside + ".docx", beside + ".html"}));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
    EXPECT_EQ(dialogs.calls[0].text,
              QStringLiteral("Не удалось открыть инструкцию пользователя «%1.docx»: не найдена программа для просмотра "
                             "документа. Откройте этот файл вручную.")
                  .arg(QDir::toNativeSeparators(beside)));
}

TEST_F(StartUp, AMissingManualIsNamedInAClearMessage)
{
    ui::RecordingDesktop desktop;
    ui::installDesktop(&desktop);
    startUp(state);
    test::settle();
    auto* menu = test::visible<frmMain1>("frmMain1");
    ASSERT_NE(menu, nullptr);
    menu->findChild<QAction*>("He")->trigger();
    test::settle();
    EXPECT_TRUE(desktop.opened.isEmpty());
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
    EXPECT_EQ(dialogs.calls[0].text,
              QStringLiteral("Инструкция пользователя не найдена: в папке «%1» нет файла «%2.docx» "
                             "(или .html). Установите программу заново или верните папку «%2» на место.")
                  .arg(QDir::toNativeSeparators(data.file(db::userManualName())), db::userManualName()));
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
}

// Qt's own texts come in Russian: the standard buttons of message boxes
// and the labels of the file dialogs.
TEST(QtTranslation, StandardButtonsAndFileDialogsReadRussian)
{
    ASSERT_TRUE(db::installQtTranslation(*qApp));
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    const auto text = [&](QDialogButtonBox::StandardButton b) { return box.button(b)->text().remove('&'); };
    EXPECT_EQ(text(QDialogButtonBox::Cancel), QStringLiteral("Отмена"));
    EXPECT_EQ(text(QDialogButtonBox::Save), QStringLiteral("Сохранить"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:").remove('&'), QStringLiteral("Имя файла:"));
}
