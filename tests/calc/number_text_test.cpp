// Reading typed numbers and the rounding behind the "0.00" round trips.
#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace veltron::calc {
namespace {

TEST(ParseNumber, AcceptsCommaPointAndExponent)
{
    EXPECT_EQ(parseNumber("0,1"), 0.1);
    EXPECT_EQ(parseNumber("0.1"), 0.1);
    EXPECT_EQ(parseNumber(" -2,5 "), -2.5);
    EXPECT_EQ(parseNumber("1.5e-7"), 1.5e-7);
    EXPECT_EQ(parseNumber("1,5E+3"), 1500);
    EXPECT_EQ(parseNumber("+3"), 3);
    // The leave check of an input box takes the Russian form only.
    EXPECT_EQ(parseNumber("1,5E-07", DecimalPoint::Refused), 1.5e-7);
    EXPECT_FALSE(parseNumber("1.5", DecimalPoint::Refused));
}

TEST(ParseNumber, RefusesWhatIsNotANumber)
{
    for (const char* t : {"", " ", "abc", "1,2,3", "1.5x", "inf", "nan", "1e999", "--1", "1 000"})
        EXPECT_FALSE(parseNumber(QString::fromLatin1(t))) << t;
}

TEST(NumberText, WritesAsTheScreensDo)
{
    EXPECT_EQ(numberText(0), QStringLiteral("0"));
    EXPECT_EQ(numberText(0.1), QStringLiteral("0,1"));
    EXPECT_EQ(numberText(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(numberText(-2), QStringLiteral("-2"));
    EXPECT_EQ(numberText(1.5e-7), QStringLiteral("1,5E-07"));
    EXPECT_EQ(numberText(2.5e20), QStringLiteral("2,5E+20"));
    EXPECT_EQ(numberText(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("0"));
    EXPECT_EQ(parseNumber(numberText(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(RoundTrip, TwoDecimalsHalfAwayFromZeroOnTheDecimalValue)
{
    EXPECT_EQ(roundTrip(1.2999999, 2), 1.3);
    EXPECT_EQ(roundTrip(1.125, 2), 1.13);
    EXPECT_EQ(roundTrip(1.005, 2), 1.01);  // 1.00499999999999989… as a double
    EXPECT_EQ(roundTrip(-1.005, 2), -1.01);
    EXPECT_EQ(roundTrip(99.1675, 2), 99.17);
    EXPECT_EQ(roundTrip(0.004, 2), 0);
    EXPECT_EQ(roundTrip(0.005, 2), 0.01);
    EXPECT_EQ(roundTrip(9.999, 2), 10);
}

TEST(RoundHalfEven, TiesGoToTheEvenInteger)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(0.6), 1);
}

}  // namespace
}  // namespace veltron::calc
