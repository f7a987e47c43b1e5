// Number texts, calc and the lap table from arbitrary texts, in both modes and every unit.
//
// Input: one byte choosing the mode and the unit, then the texts of the distance, the goal
// hours, the minutes, the seconds and (for the fourth unit choice) the unit caption,
// separated by '|'. Bytes below 0x80 stand for themselves; a few above stand for the
// full-width digits and signs and the ideographic blank a Japanese input method types.
//
// Checked against an independent reference in exact rational arithmetic (GMP):
// - readNumber accepts exactly the plain decimal texts whose value a double can hold, and
//   returns that value correctly rounded;
// - calc of accepted texts returns a result, "---" or the out-of-range text, never anything
//   else; its texts are exactly those of the double seconds value rounded to 15 digits and
//   split; and that seconds value is the exact decimal one within the double rounding;
// - the lap table shows a clock or the out-of-range text in every row, rising with the rows
//   when the pace is not negative.

#include "calc/lap_table.h"
#include "calc/number_text.h"
#include "calc/pace.h"
#include "calc/units.h"
#include "property.h"

#include <gmpxx.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace torvanu;
using fuzz::require;

namespace {

char16_t typed(std::uint8_t byte)
{
    if (byte < 0x80)
        return byte;
    if (byte < 0x8A)
        return static_cast<char16_t>(u'\uFF10' + (byte - 0x80));
    switch (byte) {
    case 0x8A:
        return u'\uFF0E';
    case 0x8B:
        return u'\uFF0B';
    case 0x8C:
        return u'\uFF0D';
    case 0x8D:
        return u'\u3000';
    case 0x8E:
        return u'ﾏ';
    case 0x8F:
        return u'ｲ';
    case 0x90:
        return u'ﾙ';
    default:
        return byte; // Latin-1: never part of a number
    }
}

// ---- The reference: plain decimal texts read exactly. ----

struct Exact
{
    bool numeric = false;
    bool overflow = false; // numeric, but beyond what a double holds
    bool tiny = false;     // numeric, far below what a double holds (reads as zero)
    mpq_class value;
};

char asciiDigitOrSign(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return static_cast<char>(c);
    if (c >= u'\uFF10' && c <= u'\uFF19')
        return static_cast<char>('0' + (c - u'\uFF10'));
    switch (c) {
    case u'.':
    case u'\uFF0E':
        return '.';
    case u'+':
    case u'\uFF0B':
        return '+';
    case u'-':
    case u'\uFF0D':
        return '-';
    case u'e':
    case u'E':
        return 'e';
    default:
        return 0;
    }
}

mpq_class powerOfTen(long exponent)
{
    mpz_class p;
    mpz_ui_pow_ui(p.get_mpz_t(), 10,
                  static_cast<unsigned long>(exponent < 0 ? -exponent : exponent));
    return exponent < 0 ? mpq_class(mpz_class(1), p) : mpq_class(p);
}

// [sign] digits [. digits] [e [sign] digits], at least one mantissa digit, blanks around.
Exact readExactly(std::u16string_view text)
{
    Exact result;
    auto blank = [](char16_t c) { return c == u' ' || c == u'\u3000'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    std::string s;
    for (char16_t c : text) {
        const char a = asciiDigitOrSign(c);
        if (a == 0)
            return result;
        s += a;
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    std::string digits;
    long pointShift = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        digits += s[i++];
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            digits += s[i++];
            ++pointShift;
        }
    }
    if (digits.empty())
        return result;
    long exponent = 0;
    if (i < s.size() && s[i] == 'e') {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negativeExponent = s[i++] == '-';
        if (i == s.size())
            return result;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            exponent = std::min(exponent * 10 + (s[i] - '0'), 100'000'000L);
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != s.size())
        return result;
    result.numeric = true;

    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return result; // zero, whatever the exponent
    // Decimal exponent of the leading significant digit.
    const long leading = static_cast<long>(digits.size() - first) - 1 - pointShift + exponent;
    if (leading > 400) {
        result.overflow = true;
        return result;
    }
    if (leading < -400) {
        result.tiny = true;
        return result;
    }
    result.value =
        mpq_class(mpz_class(digits.substr(first), 10)) * powerOfTen(exponent - pointShift);
    if (negative)
        result.value = -result.value;
    // A double holds up to 2^1024 - 2^970; from half an ulp above that it reads as infinite.
    mpz_class limit = (mpz_class(1) << 1024) - (mpz_class(1) << 970);
    if (abs(result.value) >= mpq_class(limit))
        result.overflow = true;
    return result;
}

// ---- The reference: rounding to 15 digits and splitting, on exact values. ----

struct Rounded
{
    bool negative = false;
    mpz_class digits;  // 10^14 <= digits < 10^15, or 0
    long exponent = 0; // value = digits * 10^(exponent - 14)

    mpq_class value() const
    {
        mpq_class v = mpq_class(digits) * powerOfTen(exponent - 14);
        return negative ? -v : v;
    }
    mpq_class halfUnit() const { return powerOfTen(exponent - 14) / 2; }
};

// Round half to even, as the shortest-free conversion of the program does for an exact tie.
Rounded roundTo15(const mpq_class& value)
{
    Rounded r;
    if (value == 0)
        return r;
    r.negative = value < 0;
    const mpq_class a = abs(value);
    // Estimate the exponent from the sizes, then correct it.
    long e =
        static_cast<long>(std::floor((static_cast<double>(mpz_sizeinbase(a.get_num_mpz_t(), 2)) -
                                      static_cast<double>(mpz_sizeinbase(a.get_den_mpz_t(), 2))) *
                                     0.30102999566398120));
    while (a >= powerOfTen(e + 1))
        ++e;
    while (a < powerOfTen(e))
        --e;
    for (;;) {
        const mpq_class scaled = a * powerOfTen(14 - e);
        mpz_class q = scaled.get_num() / scaled.get_den();
        const mpq_class rest = scaled - mpq_class(q);
        const int half = cmp(rest, mpq_class(1, 2));
        if (half > 0 || (half == 0 && mpz_odd_p(q.get_mpz_t())))
            ++q;
        if (q == powerOfTen(15).get_num()) { // 999...95 rounds up to the next power
            ++e;
            continue;
        }
        r.digits = q;
        r.exponent = e;
        return r;
    }
}

// Plain text: no exponent, no trailing zeros, no trailing point.
std::string plainText(const Rounded& r)
{
    if (r.digits == 0)
        return "0";
    std::string d = r.digits.get_str();
    while (d.size() > 1 && d.back() == '0')
        d.pop_back();
    std::string text = r.negative ? "-" : "";
    const long intDigits = r.exponent + 1;
    if (intDigits <= 0) {
        text += "0." + std::string(static_cast<std::size_t>(-intDigits), '0') + d;
    } else if (static_cast<long>(d.size()) <= intDigits) {
        text += d + std::string(static_cast<std::size_t>(intDigits) - d.size(), '0');
    } else {
        text += d.substr(0, static_cast<std::size_t>(intDigits)) + "." +
                d.substr(static_cast<std::size_t>(intDigits));
    }
    return text;
}

std::u16string widen(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}

struct Expected
{
    bool outOfRange = false;
    std::u16string display;
    std::u16string compact;
};

Expected formatted(const Rounded& d)
{
    Expected e;
    const mpq_class value = d.value();
    mpz_class w = value.get_num() / value.get_den(); // truncates
    if (value < 0 && mpq_class(w) != value)
        --w; // floor
    if (w < std::numeric_limits<std::int32_t>::min() ||
        w > std::numeric_limits<std::int32_t>::max()) {
        e.outOfRange = true;
        return e;
    }
    const long long whole = w.get_si();
    // The remainders follow the sign of the dividend; the hours and minutes are floored.
    auto floorDiv = [](long long a, long long b) {
        return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
    };
    const long long rest = whole % 3600;
    const long long h = floorDiv(whole, 3600);
    const long long m = floorDiv(rest, 60);
    const long long s = rest % 60;
    const std::string text = plainText(d);
    std::string fraction;
    if (const std::size_t dot = text.find('.'); dot != std::string::npos)
        fraction = text.substr(dot, 3);
    auto two = [](long long v) {
        const std::string t = "0" + std::to_string(v);
        return t.substr(t.size() - 2);
    };
    if (h != 0)
        e.display += widen(std::to_string(h)) + u"時間 ";
    e.display +=
        widen(std::to_string(m)) + u"分 " + widen(std::to_string(s)) + u"秒 " + widen(fraction);
    e.compact = widen(std::to_string(h) + ":" + two(m) + ":" + two(s) + fraction);
    return e;
}

// The seconds value, with the operations in the order that decides its last bit.
double secondsInDouble(double d, Unit unit, double hh, double mi, double ss, Mode mode)
{
    if (mode == Mode::GoalTime) {
        const double p = mi * 60.0 + ss;
        return unit == Unit::Km ? p * d : unit == Unit::M ? (p / 1000.0) * d : (p * 1.609344) * d;
    }
    const double g = (hh * 3600.0 + mi * 60.0) + ss;
    return unit == Unit::Km ? g / d : unit == Unit::M ? (g / d) * 1000.0 : (g / d) / 1.609344;
}

bool isClock(std::u16string_view t)
{
    // h:mm:ss with a negative part written as the number's last two characters ("-5").
    const std::size_t first = t.find(u':');
    if (first == std::u16string_view::npos || first == 0 || t.size() != first + 6 ||
        t[first + 3] != u':')
        return false;
    for (std::size_t i = 0; i < first; ++i)
        if (!((t[i] >= u'0' && t[i] <= u'9') || (i == 0 && t[i] == u'-')))
            return false;
    for (std::size_t i : {first + 1, first + 2, first + 4, first + 5})
        if (!((t[i] >= u'0' && t[i] <= u'9') || t[i] == u'-'))
            return false;
    return true;
}

long long clockSeconds(std::u16string_view t)
{
    const std::size_t first = t.find(u':');
    long long h = 0;
    for (std::size_t i = 0; i < first; ++i)
        h = h * 10 + (t[i] - u'0');
    const long long m = (t[first + 1] - u'0') * 10 + (t[first + 2] - u'0');
    const long long s = (t[first + 4] - u'0') * 10 + (t[first + 5] - u'0');
    return h * 3600 + m * 60 + s;
}

void checkLapTable(const CalcInputs& inputs, Mode mode)
{
    const LapTable table = fullMarathonMatrix(inputs, mode);
    bool rising = true;
    long long previous = 0;
    for (const std::u16string& split : table.splits) {
        require(split == kOutOfRangeText || isClock(split), "lap row is a clock or out of range");
        if (split == kOutOfRangeText || split.find(u'-') != std::u16string::npos) {
            rising = false;
            continue;
        }
        const long long seconds = clockSeconds(split);
        if (rising)
            require(seconds >= previous, "lap rows rise at a pace that is not negative");
        previous = seconds;
    }
    require(table.half == kOutOfRangeText || isClock(table.half), "half split form");
    require(table.full == kOutOfRangeText || isClock(table.full), "full split form");
    require(!table.paceText.empty() && !table.speedText.empty(), "pace and speed lines shown");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const Mode mode = (data[0] & 1) ? Mode::Pace : Mode::GoalTime;
    const int unitChoice = (data[0] >> 1) & 3;
    std::vector<std::u16string> texts(5);
    std::size_t field = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == '|') {
            if (++field == texts.size())
                break;
            continue;
        }
        texts[field] += typed(data[i]);
    }
    static constexpr std::u16string_view units[] = {kKmText, kMetreText, kMileText};
    const std::u16string unitText = unitChoice < 3 ? std::u16string(units[unitChoice]) : texts[4];
    const CalcInputs inputs{texts[0], unitText, texts[1], texts[2], texts[3]};

    // Every text: accepted exactly when the reference reads a number a double can hold.
    std::optional<double> numbers[4];
    Exact exact[4];
    for (int k = 0; k < 4; ++k) {
        numbers[k] = readNumber(texts[static_cast<std::size_t>(k)]);
        exact[k] = readExactly(texts[static_cast<std::size_t>(k)]);
        require(numbers[k].has_value() == (exact[k].numeric && !exact[k].overflow),
                "readNumber accepts exactly the decimal texts a double holds");
        if (!numbers[k])
            continue;
        require(std::isfinite(*numbers[k]), "an accepted text is finite");
        if (exact[k].tiny) {
            require(*numbers[k] == 0.0, "a far too small number reads as zero");
            continue;
        }
        const double a = std::fabs(*numbers[k]);
        const double gap = std::nextafter(a, std::numeric_limits<double>::infinity()) - a;
        require(abs(mpq_class(*numbers[k]) - exact[k].value) <= mpq_class(gap) / 2,
                "readNumber rounds to the nearest double");
        // Its plain text reads back as the same 15 digits.
        const std::u16string plain = numberText(*numbers[k]);
        const std::optional<double> again = readNumber(plain);
        require(again && numberText(*again) == plain, "numberText reads back");
    }

    // The tab's texts as the validation passes them: mode 1 ignores the hours.
    const bool usesHours = mode == Mode::Pace;
    const bool accepted = numbers[0] && numbers[2] && numbers[3] && (!usesHours || numbers[1]);
    const CalcResult result = calc(inputs, mode);
    if (!accepted)
        return 0;
    if (*numbers[0] == 0.0) {
        require(result.status == CalcStatus::ZeroDistance && result.display == kZeroDistanceText &&
                    result.compact.empty(),
                "zero distance shows ---, whatever the unit");
        return 0;
    }
    const std::optional<Unit> unit = unitFromText(unitText);
    if (!unit) {
        require(result.status == CalcStatus::OutOfRange && result.display == kOutOfRangeText,
                "an unknown unit gives the out-of-range text");
        return 0;
    }
    checkLapTable(inputs, mode);

    const double d = *numbers[0];
    const double hh = usesHours ? *numbers[1] : 0.0;
    const double mi = *numbers[2];
    const double ss = *numbers[3];

    // Layer 1: the double seconds value, rounded and split exactly.
    const double v = secondsInDouble(d, *unit, hh, mi, ss, mode);
    if (!std::isfinite(v)) {
        require(result.status == CalcStatus::OutOfRange && result.display == kOutOfRangeText,
                "a value without digits is out of range");
        return 0;
    }
    const Rounded rounded = roundTo15(mpq_class(v));
    const Expected expected = formatted(rounded);
    if (expected.outOfRange) {
        require(result.status == CalcStatus::OutOfRange && result.display == kOutOfRangeText &&
                    result.compact == kOutOfRangeText,
                "whole seconds beyond 32 bits show the out-of-range text");
        return 0;
    }
    require(result.status == CalcStatus::Ok, "a splittable value is a result");
    require(result.display == expected.display, "display text");
    require(result.compact == expected.compact, "compact text");

    // Layer 2: that value is the exact decimal one, within what the double arithmetic may
    // lose: a few roundings of the largest term, plus underflow, plus the 15-digit rounding.
    // An input that is itself subnormal has lost its relative precision on reading; the
    // bound does not cover it.
    const mpq_class normalMinimum(mpz_class(1), mpz_class(1) << 1022);
    for (int k : {0, 1, 2, 3}) {
        if (k == 1 && !usesHours)
            continue;
        if (exact[k].tiny || (exact[k].value != 0 && abs(exact[k].value) < normalMinimum))
            return 0;
    }
    const mpq_class xd = exact[0].value;
    const mpq_class xh = usesHours ? exact[1].value : mpq_class(0);
    const mpq_class xm = exact[2].value;
    const mpq_class xs = exact[3].value;
    const mpq_class mile(1609344, 1000000);
    mpq_class sum;
    mpq_class magnitude;
    if (mode == Mode::GoalTime) {
        sum = xm * 60 + xs;
        magnitude = abs(xm * 60) + abs(xs);
    } else {
        sum = xh * 3600 + xm * 60 + xs;
        magnitude = abs(xh * 3600) + abs(xm * 60) + abs(xs);
    }
    mpq_class perKm = xd; // the distance in km
    if (*unit == Unit::M)
        perKm = xd / 1000;
    else if (*unit == Unit::Mile)
        perKm = xd * mile;
    const mpq_class factor = mode == Mode::GoalTime ? perKm : mpq_class(1 / perKm);
    const mpq_class exactValue = sum * factor;
    const mpq_class allowance = abs(magnitude * factor) / mpq_class(mpz_class(1) << 48) +
                                mpq_class(mpz_class(1), mpz_class(1) << 1000) + rounded.halfUnit();
    require(abs(rounded.value() - exactValue) <= allowance,
            "the seconds are the exact decimal value within the double rounding");
    return 0;
}
