// The number texts of screens and reports.
#include "report/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace veltron::report {
namespace {

struct Row {
    double x;
    const char* result;
    const char* detail;
};

class NumberFormats : public ::testing::TestWithParam<Row> {};

TEST_P(NumberFormats, ResultAndDetail)
{
    const Row& r = GetParam();
    EXPECT_EQ(FormatResult(r.x), QString::fromUtf8(r.result)) << r.x;
    EXPECT_EQ(FormatDetail(r.x), QString::fromUtf8(r.detail)) << r.x;
}

// The table of the two rules, with the decimal comma of Russian settings.
INSTANTIATE_TEST_SUITE_P(Table, NumberFormats,
                         ::testing::Values(Row{0, "0", "0"},
                                           Row{1234.5678, "1234,568", "1234,57"},
                                           Row{0.5, "0,500", "0,50"},
                                           Row{0.4, "4,00E-01", "0,40"},
                                           Row{0.1, "1,00E-01", "0,10"},
                                           Row{0.05, "0,50E-01", "5,00E-02"},
                                           Row{0.0123, "1,23E-02", "1,23E-02"},
                                           Row{0.0049, "4,90E-03", "4,90E-03"},
                                           Row{1e-9, "1,00E-09", "1,00E-09"},
                                           Row{1e-10, "1,00E-10", "1,00E-10"},
                                           Row{-2.25, "-2,250", "-2,25E+00"},
                                           Row{-0.0123, "-1,23E-02", "-1,23E-02"}));

TEST(FormatResult, JustBelowHalfRoundsTheMantissaUp)
{
    // i = 2, a = 49.99, q = 4.999, written with two decimals
    EXPECT_EQ(FormatResult(0.4999), QStringLiteral("5,00E-01"));
}

TEST(FormatResult, MantissaTiesGoToEven)
{
    // 0.0005045: a = 5.045 after four steps and a × 100 is exactly 504.5, which
    // goes to 504 (not 505): q = 0.504, written "0,50" (0.505 would be "0,51").
    EXPECT_EQ(FormatResult(0.0005045), QStringLiteral("0,50E-03"));
    // 0.012345: a × 100 is 1234.5000000000002, no tie, so 1235 and "1,24".
    EXPECT_EQ(FormatResult(0.012345), QStringLiteral("1,24E-02"));
    // a = 12.35: q = 1.235, written with two decimals rounds half up
    EXPECT_EQ(FormatResult(0.01235), QStringLiteral("1,24E-02"));
}

TEST(FormatResult, LongExponentsAndLargeValues)
{
    EXPECT_EQ(FormatResult(3e-12), QStringLiteral("3,00E-12"));
    EXPECT_EQ(FormatResult(-7e-15), QStringLiteral("-0,70E-14"));
    EXPECT_EQ(FormatResult(1e-300), QStringLiteral("1,00E-300"));
    EXPECT_EQ(FormatResult(1e20), QStringLiteral("100000000000000000000,000"));
    EXPECT_EQ(FormatResult(2.0005), QStringLiteral("2,001"));
}

TEST(FormatDetail, NegativeValuesAlwaysScientific)
{
    EXPECT_EQ(FormatDetail(-1234.5), QStringLiteral("-1,23E+03"));
    EXPECT_EQ(FormatDetail(0.0999999), QStringLiteral("1,00E-01"));
    EXPECT_EQ(FormatDetail(9.995e-3), QStringLiteral("1,00E-02"));
    EXPECT_EQ(FormatDetail(123456.789), QStringLiteral("123456,79"));
}

struct PatternCase {
    double x;
    const char* pattern;
    const char* text;
};

class Patterns : public ::testing::TestWithParam<PatternCase> {};

TEST_P(Patterns, WriteTheValue)
{
    const PatternCase& c = GetParam();
    EXPECT_EQ(formatPattern(c.x, QString::fromLatin1(c.pattern)), QString::fromUtf8(c.text))
        << c.x << " " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Patterns,
    ::testing::Values(PatternCase{3599.6, "0", "3600"}, PatternCase{2.5, "0", "3"},
                      PatternCase{-2.5, "0", "-3"}, PatternCase{0.4, "0", "0"},
                      PatternCase{-0.4, "0", "0"}, PatternCase{0.06325, "0.0", "0,1"},
                      PatternCase{40, "0.0", "40,0"}, PatternCase{1.005, "0.00", "1,01"},
                      PatternCase{99.1675, "0.00", "99,17"}, PatternCase{0.125, "0.00", "0,13"},
                      PatternCase{-0.0004, "0.000", "0,000"},  // no sign on a zero
                      PatternCase{-0.0004, "0.00", "0,00"}, PatternCase{1234.5678, "0.000", "1234,568"},
                      PatternCase{0.0005, "0.000", "0,001"}, PatternCase{9.9996, "0.000", "10,000"},
                      PatternCase{0, "0.00E+00", "0,00E+00"}, PatternCase{123456, "0.00E+00", "1,23E+05"},
                      PatternCase{9.999, "0.00E+00", "1,00E+01"},
                      PatternCase{1.5e-7, "0.00E+00", "1,50E-07"},
                      PatternCase{-1e-100, "0.00E+00", "-1,00E-100"}));

TEST(Patterns, UnknownPatternIsRefused)
{
    EXPECT_THROW(formatPattern(1, QStringLiteral("#,##0")), std::invalid_argument);
}

TEST(Patterns, NonFiniteValuesAreNotWrittenAsNumbers)
{
    for (double x : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(FormatResult(x), QStringLiteral("—"));
        EXPECT_EQ(FormatDetail(x), QStringLiteral("—"));
        EXPECT_EQ(formatPattern(x, QStringLiteral("0.00")), QStringLiteral("—"));
    }
}

}  // namespace
}  // namespace veltron::report
