#pragma once

#include <array>
#include <string>

namespace torvanu {

// A double rounded to 15 significant decimal digits, held as those digits so that the
// rounded value is exact: value = d0.d1d2... x 10^exponent.
struct DecimalDigits
{
    bool negative = false;
    int exponent = 0;
    int count = 0; // digits kept, trailing zeros dropped; 0 for zero (never negative)
    std::array<char, 15> digits{};

    // Number of digits the plain text shows after its ".", 0 when it has no ".".
    int fractionLength() const { return count - 1 > exponent ? count - 1 - exponent : 0; }

    // The k-th digit after the "." of the plain text (k from 1 to fractionLength()).
    char fractionDigit(int k) const
    {
        const int index = exponent + k;
        return index < 0 ? '0' : digits[static_cast<std::size_t>(index)];
    }
};

// The value must be finite.
DecimalDigits roundTo15Digits(double value);

// Plain notation: no exponent, no trailing zeros, no trailing "."; zero is "0".
void appendPlainText(std::u16string& out, const DecimalDigits& decimal);

} // namespace torvanu
