#include "calc/number_text.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace veltron::calc {

namespace {

// The 15 significant digits of |x| (x finite, not 0) and the decimal exponent
// of the first one.
void significantDigits(double x, std::string& digits, int& exponent)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x),
                                   std::chars_format::scientific, 14);
    const std::string text(buf, res.ptr);  // d.ddddddddddddddde±XX
    const auto e = text.find('e');
    digits = text.substr(0, 1) + text.substr(2, e - 2);
    exponent = std::stoi(text.substr(e + 1));
}

// Adds one to a string of decimal digits; returns true when it grew by a digit.
bool increment(std::string& digits)
{
    for (auto i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

bool allZero(const std::string& s)
{
    return s.find_first_not_of('0') == std::string::npos;
}

}  // namespace

FixedDigits roundFixed(double x, int decimals)
{
    FixedDigits out;
    if (x == 0 || !std::isfinite(x)) {
        out.integer = "0";
        out.fraction.assign(decimals, '0');
        return out;
    }
    std::string digits;
    int exponent = 0;
    significantDigits(x, digits, exponent);
    // kept digits: everything down to the last decimal place
    const int keep = exponent + 1 + decimals;
    std::string n;
    if (keep >= 0) {
        if (keep >= static_cast<int>(digits.size())) {
            n = digits + std::string(keep - digits.size(), '0');
        } else {
            n = digits.substr(0, keep);
            if (digits[keep] >= '5') {
                if (n.empty())
                    n = "1";
                else
                    increment(n);
            }
        }
    }
    if (n.empty())
        n = "0";
    if (static_cast<int>(n.size()) <= decimals)
        n.insert(0, decimals + 1 - n.size(), '0');
    out.integer = n.substr(0, n.size() - decimals);
    out.fraction = n.substr(n.size() - decimals);
    const auto first = out.integer.find_first_not_of('0');
    out.integer = first == std::string::npos ? "0" : out.integer.substr(first);
    out.negative = x < 0 && !(allZero(out.integer) && allZero(out.fraction));
    return out;
}

ScientificDigits roundScientific(double x, int decimals)
{
    ScientificDigits out;
    if (x == 0 || !std::isfinite(x)) {
        out.mantissa.assign(decimals + 1, '0');
        return out;
    }
    std::string digits;
    int exponent = 0;
    significantDigits(x, digits, exponent);
    const int keep = std::min<int>(decimals + 1, digits.size());
    std::string n = digits.substr(0, keep);
    if (keep < static_cast<int>(digits.size()) && digits[keep] >= '5' && increment(n)) {
        n.pop_back();
        ++exponent;
    }
    n.resize(decimals + 1, '0');
    out.negative = x < 0;
    out.mantissa = n;
    out.exponent = exponent;
    return out;
}

double roundTrip(double x, int decimals)
{
    if (!std::isfinite(x))
        return x;
    const FixedDigits d = roundFixed(x, decimals);
    const std::string text = (d.negative ? "-" : "") + d.integer + "." + d.fraction;
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

double roundHalfEven(double x)
{
    // nearbyint rounds in the default mode, to nearest with ties to even.
    return std::nearbyint(x);
}

namespace {

struct Parsed {
    double value = 0;
    std::errc ec = std::errc::invalid_argument;
};

Parsed parse(const QString& text, DecimalPoint point)
{
    QString t = text.trimmed();
    if (point == DecimalPoint::Refused && t.contains(QLatin1Char('.')))
        return {};
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    if (t.isEmpty())
        return {};
    for (const QChar ch : t) {
        const char c = ch.toLatin1();
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return {};
    }
    const QByteArray bytes = t.toLatin1();
    Parsed p;
    const auto res = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), p.value);
    if (res.ptr != bytes.constData() + bytes.size())
        return {};
    p.ec = res.ec;
    if (p.ec == std::errc() && !std::isfinite(p.value))
        p.ec = std::errc::invalid_argument;
    return p;
}

}  // namespace

std::optional<double> parseNumber(const QString& text, DecimalPoint point)
{
    const Parsed p = parse(text, point);
    if (p.ec != std::errc())
        return std::nullopt;
    return p.value;
}

bool numberOutOfRange(const QString& text)
{
    return parse(text, DecimalPoint::Accepted).ec == std::errc::result_out_of_range;
}

const QLocale& russianLocale()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::Russian, QLocale::Russia);
        l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        return l;
    }();
    return locale;
}

QString numberText(double x)
{
    if (x == 0 || !std::isfinite(x))
        return QStringLiteral("0");
    return russianLocale().toString(x, 'g', QLocale::FloatingPointShortest).toUpper();
}

}  // namespace veltron::calc
