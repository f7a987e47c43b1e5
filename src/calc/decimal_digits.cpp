#include "decimal_digits.h"

#include <charconv>

namespace torvanu {

DecimalDigits roundTo15Digits(double value)
{
    // Shortest form is not wanted here: precision 14 in scientific notation gives exactly
    // 15 significant digits, rounded to nearest from the exact binary value.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    const char* p = buffer.data();
    DecimalDigits decimal;
    if (*p == '-') {
        decimal.negative = true;
        ++p;
    }
    std::size_t n = 0;
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            decimal.digits[n++] = *p;
    }
    ++p;           // the "e"
    if (*p == '+') // from_chars takes a "-" but not a "+"
        ++p;
    std::from_chars(p, result.ptr, decimal.exponent);

    while (n > 0 && decimal.digits[n - 1] == '0')
        --n;
    decimal.count = static_cast<int>(n);
    if (n == 0) { // "-0" reads as plain zero
        decimal.negative = false;
        decimal.exponent = 0;
    }
    return decimal;
}

void appendPlainText(std::u16string& out, const DecimalDigits& decimal)
{
    if (decimal.count == 0) {
        out += u'0';
        return;
    }
    if (decimal.negative)
        out += u'-';
    if (decimal.exponent < 0) {
        out += u'0';
    } else {
        for (int i = 0; i <= decimal.exponent; ++i)
            out += i < decimal.count
                       ? static_cast<char16_t>(decimal.digits[static_cast<std::size_t>(i)])
                       : u'0';
    }
    const int fraction = decimal.fractionLength();
    if (fraction == 0)
        return;
    out += u'.';
    for (int k = 1; k <= fraction; ++k)
        out += static_cast<char16_t>(decimal.fractionDigit(k));
}

} // namespace torvanu
