#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "decimal_digits.h"

namespace torvanu {

namespace {

constexpr std::size_t kLocalBufferSize = 64;

// The ASCII character a typed character stands for, or 0. A Japanese input method types
// digits, the point and the signs in their full-width forms.
char asciiOf(char16_t c)
{
    if (c == u'.' || c == u'+' || c == u'-' || c == u'e' || c == u'E')
        return static_cast<char>(c);
    if (const std::optional<int> digit = digitValue(c))
        return static_cast<char>('0' + *digit);
    switch (c) {
    case u'\uFF0E':
        return '.';
    case u'\uFF0B':
        return '+';
    case u'\uFF0D':
        return '-';
    default:
        return 0;
    }
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Checks [sign] (digits [. [digits]] | . digits) [e [sign] digits] over the whole text.
// from_chars alone would also take "inf", "nan" and a missing exponent's digits.
bool isDecimalNumber(const char* p, const char* end)
{
    if (p != end && (*p == '+' || *p == '-'))
        ++p;
    int mantissaDigits = 0;
    for (; p != end && isDigit(*p); ++p)
        ++mantissaDigits;
    if (p != end && *p == '.') {
        for (++p; p != end && isDigit(*p); ++p)
            ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-'))
            ++p;
        if (p == end || !isDigit(*p))
            return false;
        while (p != end && isDigit(*p))
            ++p;
    }
    return p == end;
}

// True when a well-formed number that from_chars could not hold lies above 1 in magnitude
// (an overflow), false when it lies below (an underflow).
bool exceedsOne(const char* p, const char* end)
{
    if (*p == '+' || *p == '-')
        ++p;
    while (p != end && *p == '0')
        ++p;
    long long magnitude = 0; // decimal exponent of the leading significant digit
    bool leadingFound = false;
    for (; p != end && isDigit(*p); ++p) {
        leadingFound = true;
        ++magnitude;
    }
    if (leadingFound)
        --magnitude;
    if (p != end && *p == '.') {
        for (++p; p != end && isDigit(*p); ++p) {
            if (leadingFound)
                continue;
            --magnitude;
            leadingFound = *p != '0';
        }
    }
    long long exponent = 0;
    bool negativeExponent = false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (*p == '+' || *p == '-')
            negativeExponent = *p++ == '-';
        // Saturate: anything beyond a few thousand is out of reach of a double anyway.
        for (; p != end; ++p)
            exponent = std::min(exponent * 10 + (*p - '0'), 1'000'000'000LL);
    }
    return magnitude + (negativeExponent ? -exponent : exponent) >= 0;
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kExactDigits = 15;

// The picker entries ("5 ", "42.195") are plain digits with at most one point, and every
// keystroke reads a handful of them. Up to 15 digits the integer is exact, and one division
// by an exact power of ten rounds correctly, so this gives the value from_chars would give.
std::optional<double> readPlainDecimal(std::u16string_view text)
{
    std::uint64_t digits = 0;
    int count = 0;
    int fractionDigits = -1;
    for (const char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            if (++count > kExactDigits)
                return std::nullopt;
            digits = digits * 10 + static_cast<std::uint64_t>(c - u'0');
            if (fractionDigits >= 0)
                ++fractionDigits;
        } else if (c == u'.' && fractionDigits < 0) {
            fractionDigits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (count == 0)
        return std::nullopt;
    return static_cast<double>(digits) / kPowersOfTen[std::max(fractionDigits, 0)];
}

} // namespace

std::optional<double> readNumber(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    if (const std::optional<double> plain = readPlainDecimal(text))
        return plain;

    char local[kLocalBufferSize];
    std::string longText;
    char* buffer = local;
    if (text.size() > kLocalBufferSize) {
        longText.resize(text.size());
        buffer = longText.data();
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        buffer[i] = asciiOf(text[i]);
        if (buffer[i] == 0)
            return std::nullopt;
    }
    const char* begin = buffer;
    const char* end = buffer + text.size();
    if (!isDecimalNumber(begin, end))
        return std::nullopt;

    const bool negative = *begin == '-';
    if (*begin == '+')
        ++begin;
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        if (exceedsOne(begin, end))
            return std::nullopt;
        // Too small for a double: read as the zero it rounds to, keeping the sign as
        // strtod would.
        return negative ? -0.0 : 0.0;
    }
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

std::u16string numberText(double value)
{
    std::u16string text;
    if (!std::isfinite(value))
        return text;
    appendPlainText(text, roundTo15Digits(value));
    return text;
}

} // namespace torvanu
