#include "text/decimal_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tarvela::text::detail {

DecimalDigits toDecimalDigits(double value) {
    DecimalDigits result;
    if (value == 0 || !std::isfinite(value))
        return result;
    result.negative = value < 0;
    char buffer[64];
    // d.dddddddddddddde±XX: 15 significant digits.
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific, 14);
    if (ec != std::errc())
        return result;
    const std::string text(buffer, end);
    const auto e = text.find('e');
    std::string digits;
    for (size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            digits += text[i];
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    exponent -= static_cast<int>(digits.size()) - 1;
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    result.digits = digits;
    result.exponent = exponent;
    return result;
}

namespace {

// Adds one to a string of decimal digits.
void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it == '9') {
            *it = '0';
        } else {
            ++*it;
            return;
        }
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

std::string roundedScaledDigits(const DecimalDigits& value, int decimals) {
    if (value.digits.empty())
        return {};
    const int shift = value.exponent + decimals;
    if (shift >= 0)
        return value.digits + std::string(static_cast<size_t>(shift), '0');
    const int dropped = -shift;
    const int length = static_cast<int>(value.digits.size());
    if (dropped > length)
        return {};
    std::string kept = value.digits.substr(0, static_cast<size_t>(length - dropped));
    const char firstDropped = value.digits[static_cast<size_t>(length - dropped)];
    if (firstDropped >= '5')
        increment(kept);
    const auto nonZero = kept.find_first_not_of('0');
    return nonZero == std::string::npos ? std::string() : kept.substr(nonZero);
}

} // namespace tarvela::text::detail
