// Number reading and writing the way the program's settings and fields have always been read:
// the leading-number reader, rounding half to even, the strict conversions used for settings
// values, and the decimal texts written back. Toolkit-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace runtime {

// The leading number of a text. Blanks, tabs and line feeds are ignored wherever they stand;
// then an optional sign, digits with at most one decimal point and an optional exponent
// (E or D), or a whole number in hexadecimal after &H or in octal after &O. Reading stops at the
// first character that cannot continue the number; no number reads as 0. Hexadecimal and octal
// numbers that fit 16 bits are taken as 16-bit two's complement (&HFFFF is -1), those that fit
// 32 bits as 32-bit two's complement. The result is always finite.
double Val(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// The whole value of a number as a 32-bit signed integer: rounded half to even and held to the
// 32-bit range, so an out-of-range text (say 1e10) gives the nearest representable value
// instead of an overflow.
int32_t WholeValue(double value);

// WholeValue(Val(text)): the whole value of a field's text.
int32_t WholeValueOf(std::string_view text);

// Strict conversions of a stored text; nullopt where the text is not acceptable.
// A number here is the whole text (surrounding blanks allowed): decimal with optional sign,
// point and exponent, or &H / &O notation.
std::optional<double> NumberFromText(std::string_view text);
// Rounded half to even into 16 bits; nullopt when not a number or out of range.
std::optional<int16_t> Int16FromText(std::string_view text);
// Rounded half to even into 32 bits; nullopt when not a number or out of range.
std::optional<int32_t> Int32FromText(std::string_view text);
// "True" / "False" in any letter case, or a number (0 is False, any other True).
std::optional<bool> BoolFromText(std::string_view text);

// The decimal text of a number with up to 15 significant digits, no trailing zeros, and the
// exponent form (1E+15, 1E-05) only where the plain form would need more digits.
std::string FormatNumber(double value);
// The same for a single-precision value: up to 7 significant digits (45296.52).
std::string FormatSingle(float value);
// "True" or "False".
std::string FormatBool(bool value);

// Upper-cases the ASCII letters of a text; other bytes stay as they are.
std::string ToUpperAscii(std::string_view text);
// Lower-cases the ASCII letters of a text; other bytes stay as they are.
std::string ToLowerAscii(std::string_view text);

} // namespace runtime
