#include "NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

struct NumberPattern
{
    QString prefix;
    QString suffix;
    bool hasDigits = false;
    bool thousands = false;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
};

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0');
}

bool isNumberChar(QChar c)
{
    return isPlaceholder(c) || c == QLatin1Char(',') || c == QLatin1Char('.');
}

NumberPattern parsePattern(const QString &pattern)
{
    NumberPattern result;
    QString *literal = &result.prefix;
    QChar quote;
    bool inFraction = false;
    bool seenLeadingZero = false;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                literal->append(c);
            ++i;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            ++i;
            continue;
        }
        // The one run of placeholders: it starts at the first '#' or '0' (or at
        // a point just before one) and ends at the first other character.
        const bool startsRun =
            !result.hasDigits &&
            (isPlaceholder(c) ||
             (c == QLatin1Char('.') && i + 1 < pattern.size() && isPlaceholder(pattern.at(i + 1))));
        if (!startsRun) {
            literal->append(c);
            ++i;
            continue;
        }
        result.hasDigits = true;
        for (; i < pattern.size() && isNumberChar(pattern.at(i)); ++i) {
            const QChar d = pattern.at(i);
            if (d == QLatin1Char('.')) {
                if (inFraction)
                    break; // a second point is literal text
                inFraction = true;
            } else if (d == QLatin1Char(',')) {
                if (!inFraction)
                    result.thousands = true;
            } else if (inFraction) {
                ++result.maxDecimals;
                if (d == QLatin1Char('0'))
                    result.minDecimals = result.maxDecimals;
            } else {
                seenLeadingZero = seenLeadingZero || d == QLatin1Char('0');
                if (seenLeadingZero)
                    ++result.minIntegerDigits;
            }
        }
        literal = &result.suffix;
    }
    return result;
}

// The shortest decimal form that reads back as `value` (never in exponent
// form), so that rounding works on the digits the user meant.
std::string shortestDecimal(double value)
{
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc())
        return std::to_string(value);
    return std::string(buffer, end);
}

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

QString groupThousands(const std::string &digits)
{
    QString grouped;
    const int count = int(digits.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            grouped.append(QLatin1Char(','));
        grouped.append(QLatin1Char(digits[size_t(i)]));
    }
    return grouped;
}

} // namespace

QString formatNumber(double value, const QString &pattern)
{
    const NumberPattern p = parsePattern(pattern);
    if (!p.hasDigits)
        return p.prefix;
    if (!std::isfinite(value))
        return p.prefix + QString::number(value) + p.suffix;

    const std::string text = shortestDecimal(std::fabs(value));
    const size_t point = text.find('.');
    std::string integer = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);

    // Round half away from zero to the most places the pattern shows.
    const size_t places = size_t(p.maxDecimals);
    if (fraction.size() > places) {
        const bool up = fraction[places] >= '5';
        fraction.resize(places);
        if (up) {
            std::string all = integer + fraction;
            incrementDigits(all);
            integer = all.substr(0, all.size() - places);
            fraction = all.substr(all.size() - places);
        }
    }
    fraction.resize(places, '0');
    while (int(fraction.size()) > p.minDecimals && fraction.back() == '0')
        fraction.pop_back();

    const size_t firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? std::string() : integer.substr(firstNonZero);
    const bool isZero = integer.empty() && fraction.find_first_not_of('0') == std::string::npos;
    if (int(integer.size()) < p.minIntegerDigits)
        integer.insert(0, size_t(p.minIntegerDigits) - integer.size(), '0');

    QString number = p.thousands ? groupThousands(integer) : QString::fromStdString(integer);
    if (!fraction.empty())
        number += QLatin1Char('.') + QString::fromStdString(fraction);
    const QString sign = value < 0 && !isZero ? QStringLiteral("-") : QString();
    return sign + p.prefix + number + p.suffix;
}
