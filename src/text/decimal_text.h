#pragma once

#include <string>

// The decimal digits of a double as the user sees it (15 significant digits) and the rounding of
// those digits half away from zero. Shared by the display formatter and roundDecimal.
namespace tarvela::text::detail {

// magnitude = digits × 10^exponent; digits has no leading zeros ("" for zero).
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The value's 15-significant-digit decimal form. The value must be finite.
DecimalDigits toDecimalDigits(double value);

// The magnitude rounded half away from zero to `decimals` places, as the digits of the scaled
// integer (magnitude × 10^decimals); "" when it rounds to zero.
std::string roundedScaledDigits(const DecimalDigits& value, int decimals);

} // namespace tarvela::text::detail
