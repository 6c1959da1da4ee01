#include "cli/cli_support.h"
#include "common/test_support.h"
#include "calc/engine.h"
#include "db/store.h"
#include "records/calculation_inputs.h"
#include "records/calculations.h"
#include "records/complex_rows.h"
#include "records/store_reference.h"
#include "report/docx/document.h"
#include "report/format.h"
#include "report/main_report.h"
#include "report/signature_block.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

using namespace veltron;

namespace {

const QString kExample = QStringLiteral("Пример — резервуар пропана");

}  // namespace

TEST(CliReport, AppendixOfTheExampleCarriesTheRunAndTheCalculatorPressure)
{
    test::TempFolder dir;
    const auto run = test::runCli(dir.path(), {"run", kExample});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject r = QJsonDocument::fromJson(run.out.toUtf8()).object();

    const QString out = dir.file("pril3.docx");
    const auto made = test::runCli(dir.path(), {"report", "appendix", kExample, "--out", out, "--pressure", "50"});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    const auto doc = docx::Document::open(out);
    EXPECT_EQ(doc.bookmarkText("m2"), report::formatPattern(r["m"].toDouble(), "0.00"));
    EXPECT_EQ(doc.bookmarkText("wt"), report::FormatResult(r["Wt"].toDouble()));
    EXPECT_EQ(doc.bookmarkText("R5"), report::FormatResult(r["Rzone"][4].toDouble()));
    EXPECT_EQ(doc.bookmarkText("mKateg"), r["Zn_kategor"].toString());
    EXPECT_EQ(doc.bookmarkText("mR6_inf"), QStringLiteral("расчет для 50 кПа"));
    EXPECT_EQ(doc.bookmarkText("mR6_P"), QStringLiteral("50"));
    EXPECT_FALSE(doc.bookmarkText("Name1").isEmpty());
}

TEST(CliReport, BadArgumentsAndUnknownNamesAreStatus1AndWriteNothing)
{
    test::TempFolder dir;
    const QString out = dir.file("r.docx");
    EXPECT_EQ(test::runCli(dir.path(), {"report", "appendix", kExample}).status, 1);
    EXPECT_EQ(test::runCli(dir.path(), {"report", "appendix", kExample, "--out", out, "--pressure", "abc"}).status, 1);
    const auto unknown = test::runCli(dir.path(), {"report", "appendix", "Нет такого", "--out", out});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("не найден"))) << unknown.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

TEST(CliReport, MainReportIsTheOneTheResultsScreenWrites)
{
    test::TempFolder dir;
    const auto run = test::runCli(dir.path(), {"run", kExample});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject r = QJsonDocument::fromJson(run.out.toUtf8()).object();

    const QString out = dir.file("pril2.docx");
    const auto made = test::runCli(dir.path(), {"report", "main", kExample, "--out", out});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    const auto doc = docx::Document::open(out);
    EXPECT_EQ(doc.bookmarkText("mE"), report::FormatResult(r["E"].toDouble()));
    EXPECT_EQ(doc.bookmarkText("m"), report::formatPattern(r["m"].toDouble(), "0.00"));
    EXPECT_EQ(doc.bookmarkText("mKateg"), r["Zn_kategor"].toString());
    EXPECT_EQ(doc.bookmarkText("Name1"), QStringLiteral("Резервуар сжиженного пропана Е-1"));

    // The same document as the results screen makes from the inputs of the
    // opened calculation, with the evaporation calculator never opened.
    auto store = test::openStore(dir.path());
    const auto loaded = records::loadRunnableInputs(*store, *records::findByName(*store, kExample));
    const auto result = std::get<calc::RaschResult>(records::runLoaded(loaded, records::StoreReference(*store)));
    const auto& inputs = std::get<records::CalculationInputs>(loaded);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              report::buildMainReport({inputs, result, report::buildResultsView(result, inputs), NyuMemory{}}));
}

TEST(CliReport, MainReportFailuresLeaveNoFile)
{
    test::TempFolder dir;
    const QString out = dir.file("pril2.docx");

    const auto pressure = test::runCli(dir.path(), {"report", "main", kExample, "--out", out, "--pressure", "50"});
    EXPECT_EQ(pressure.status, 1);
    EXPECT_TRUE(pressure.err.contains(QStringLiteral("Использование"))) << pressure.err.toStdString();

    const auto unwritable =
        test::runCli(dir.path(), {"report", "main", kExample, "--out", dir.file("нет/pril2.docx")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("Ошибка в процессе сохранения файла")))
        << unwritable.err.toStdString();

    const QByteArray saved = qgetenv("VELTRON_TEMPLATES");
    qputenv("VELTRON_TEMPLATES", dir.file("нет").toUtf8());
    const auto noTemplate = test::runCli(dir.path(), {"report", "main", kExample, "--out", out});
    qputenv("VELTRON_TEMPLATES", saved);
    EXPECT_EQ(noTemplate.status, 1);
    EXPECT_TRUE(noTemplate.err.contains(QStringLiteral("otchet_veltron_pril2.docx"))) << noTemplate.err.toStdString();

    test::openStore(dir.path())->exec("UPDATE tabBloki SET Adiab = 1 WHERE Id_Rasch = 1 AND Id = 2");
    const auto stopped = test::runCli(dir.path(), {"report", "main", kExample, "--out", out});
    EXPECT_EQ(stopped.status, 2);
    EXPECT_TRUE(stopped.err.contains(QStringLiteral("Показатель адиабаты веществ в блоках должен быть > 1!")))
        << stopped.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.docx")}, QDir::Files), QStringList());
    EXPECT_FALSE(QFile::exists(dir.file("нет")));
}

TEST(CliReport, SignerAndSourceEndEveryReport)
{
    test::TempFolder dir;
    const QStringList signature{"--signer", "Главный технолог|Петров П. П.", "--source", "Проектная документация"};
    const QStringList lines = report::signatureLines({"Главный технолог", "Петров П. П.", "Проектная документация"});
    {
        auto store = test::openStore(dir.path());
        const auto complex = records::createCalculation(*store, QStringLiteral("Установка"), records::Kind::Complex);
        records::saveComplexRows(*store, complex.id, {{QStringLiteral("Колонна"), 300e6, 0, 0, 0, 0, 0, 5000}});
    }
    const struct {
        const char* name;
        QStringList args;
    } reports[] = {
        {"main", {"report", "main", kExample}},
        {"appendix", {"report", "appendix", kExample}},
        {"model II", {"report", "model2", "--mass", "100", "--energy", "4520"}},
        {"model III", {"report", "model3", "--wt0", "10", "--wt1", "5", "--formula", "22.1"}},
        {"model IV", {"report", "model4", "Установка"}},
    };
    for (const auto& r : reports) {
        SCOPED_TRACE(r.name);
        const QString out = dir.file(QStringLiteral("%1.docx").arg(QString::fromUtf8(r.name)));
        const auto made = test::runCli(dir.path(), r.args + signature + QStringList{"--out", out});
        ASSERT_EQ(made.status, 0) << made.err.toStdString();
        EXPECT_EQ(docx::Document::open(out).bookmarkText(report::kSignatureBookmark).split('\n').mid(1), lines);
        // Without the options, no trace of it.
        ASSERT_EQ(test::runCli(dir.path(), r.args + QStringList{"--out", out}).status, 0);
        EXPECT_EQ(docx::Document::open(out).bookmarkText(report::kSignatureBookmark), QString());
    }
    const auto bad = test::runCli(dir.path(), {"report", "main", kExample, "--signer", "Петров", "--out",
                                               dir.file("x.docx")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("ДОЛЖНОСТЬ|ФИО"))) << bad.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("x.docx")));
}
