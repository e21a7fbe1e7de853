#include "runtime/conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace runtime {
namespace {

bool IsIgnoredBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsTrimBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A number scanned from the start of a text: its value and how many characters it used.
struct Scanned {
    double value = 0;
    size_t length = 0; // 0 when no number starts the text
};

// Whole numbers written &H... or &O...; a prefix without digits is no number.
Scanned ScanRadix(std::string_view s) {
    if (s.size() < 2 || s[0] != '&')
        return {};
    const char kind = static_cast<char>(s[1] | 0x20);
    const int radix = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
    if (radix == 0)
        return {};
    uint64_t magnitude = 0;
    bool saturated = false;
    size_t i = 2;
    for (; i < s.size(); ++i) {
        const int d = HexDigit(s[i]);
        if (d < 0 || d >= radix)
            break;
        if (magnitude > (std::numeric_limits<uint64_t>::max() - static_cast<uint64_t>(d)) /
                            static_cast<uint64_t>(radix))
            saturated = true;
        else
            magnitude = magnitude * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
    }
    if (i == 2)
        return {};
    double value;
    if (saturated)
        value = std::ldexp(1.0, 64);
    else if (magnitude <= 0xFFFFu)
        value = static_cast<int16_t>(static_cast<uint16_t>(magnitude));
    else if (magnitude <= 0xFFFFFFFFu)
        value = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
    else
        value = static_cast<double>(magnitude);
    return {value, i};
}

// Converts the canonical form "[-]digits[.digits][e[-]digits]" held in text. A value too large
// for a double becomes the largest finite one; one too small becomes 0.
double ConvertDecimal(const std::string& text, bool negative, long long orderOfMagnitude) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const double limit = orderOfMagnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
        return negative ? -limit : limit;
    }
    return value;
}

// Sign, digits with at most one point, optional exponent (E or D, optional sign, digits).
Scanned ScanDecimal(std::string_view s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string canonical = negative ? "-" : "";
    size_t digits = 0;
    long long integerDigits = 0; // significant digits before the point
    long long leadingFractionZeros = 0;
    bool seenPoint = false;
    bool seenNonZero = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (IsDigit(c)) {
            ++digits;
            canonical += c;
            seenNonZero = seenNonZero || c != '0';
            if (!seenPoint && seenNonZero)
                ++integerDigits;
            else if (seenPoint && !seenNonZero)
                ++leadingFractionZeros;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            canonical += '.';
        } else {
            break;
        }
    }
    if (digits == 0)
        return {};
    size_t end = i;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        const size_t expStart = j;
        for (; j < s.size() && IsDigit(s[j]); ++j)
            exponent = std::min(exponent * 10 + (s[j] - '0'), 1'000'000'000LL);
        if (j > expStart) {
            if (expNegative)
                exponent = -exponent;
            canonical += 'e';
            canonical += std::to_string(exponent);
            end = j;
        }
    }
    const long long order =
        (integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1)) + exponent;
    return {ConvertDecimal(canonical, negative, order), end};
}

Scanned ScanNumber(std::string_view s) {
    if (!s.empty() && s[0] == '&')
        return ScanRadix(s);
    return ScanDecimal(s);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsTrimBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsTrimBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string UpperExponent(std::string text) {
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

} // namespace

double Val(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (const char c : text)
        if (!IsIgnoredBlank(c))
            compact += c;
    return ScanNumber(compact).value;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

int32_t WholeValue(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = RoundHalfEven(value);
    if (rounded >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (rounded <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(rounded);
}

int32_t WholeValueOf(std::string_view text) {
    return WholeValue(Val(text));
}

std::optional<double> NumberFromText(std::string_view text) {
    const std::string_view s = Trim(text);
    const Scanned scanned = ScanNumber(s);
    if (scanned.length == 0 || scanned.length != s.size())
        return std::nullopt;
    return scanned.value;
}

std::optional<int16_t> Int16FromText(std::string_view text) {
    const auto number = NumberFromText(text);
    if (!number)
        return std::nullopt;
    const double rounded = RoundHalfEven(*number);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

std::optional<int32_t> Int32FromText(std::string_view text) {
    const auto number = NumberFromText(text);
    if (!number)
        return std::nullopt;
    const double rounded = RoundHalfEven(*number);
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return static_cast<int32_t>(rounded);
}

std::optional<bool> BoolFromText(std::string_view text) {
    const std::string word = ToLowerAscii(Trim(text));
    if (word == "true")
        return true;
    if (word == "false")
        return false;
    const auto number = NumberFromText(text);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

std::string FormatNumber(double value) {
    if (value == 0 || std::isnan(value))
        return "0";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    return UpperExponent(std::string(buffer.data(), result.ptr));
}

std::string FormatSingle(float value) {
    if (value == 0 || std::isnan(value))
        return "0";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 7);
    return UpperExponent(std::string(buffer.data(), result.ptr));
}

std::string FormatBool(bool value) {
    return value ? "True" : "False";
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace runtime
