#include "cli/cli_support.h"
#include "common/test_support.h"
#include "report/docx/document.h"
#include "report/format.h"

#include <gtest/gtest.h>

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
