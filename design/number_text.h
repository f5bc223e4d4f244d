// SPDX-License-Identifier: Apache-2.0
#pragma once
// The number-text conversions every input and result of the window goes
// through. Plain C++ so that the command-line companion shares them.

#include <optional>
#include <string>
#include <string_view>

#include "rounding.h"

namespace valdris {

// The longest leading run of the text that forms a decimal number (optional
// sign, digits, one point, optional exponent with E or D); blanks, tabs and
// line feeds are skipped wherever they stand; no number gives 0. A number too
// large for a double gives +/-infinity: callers must refuse it.
double LeadingNumber(std::string_view text);

// The whole text (blanks around it allowed) as one decimal number, or nothing
// when it is not one (empty text, a lone point, trailing garbage) or is too
// large to read.
std::optional<double> StrictNumber(std::string_view text);

// The text of a box that holds one number, as the strict reading wants it:
// where the user's locale writes a decimal comma, each comma stands for the
// point (so "2,5" is 2.5 there and refused elsewhere, never read as 2).
std::string WithDecimalPoint(std::string text, bool decimal_comma);
// What a box says of text that is not one number.
inline const std::string kNotOneNumber =
    "Type one number, with a point as the decimal separator (for example 2.5).";

// A double with at most 15 significant digits, a single with at most 7;
// trailing zeros and point dropped, leading zero below 1, zero is "0".
// Values that need an exponent are written as <mantissa>E<exponent> (for
// example 1E+20 or 1.5E-07), which LeadingNumber reads back to the same value.
std::string WriteNumber(double value);
std::string WriteNumber(float value);

// As WriteNumber, but an exponent is written out in plain digits (1E-06
// gives 0.000001): how every report writes the inputs, as the window's boxes
// show a number they write.
std::string PlainNumber(double value);
std::string PlainNumber(float value);

// Forms for files and machine-readable output in the printf %.9g / %.17g
// layout: each reads back to the identical single or double.
std::string ExactNumber(float value);
std::string ExactNumber(double value);
// The form written at out (room for kExactNumberRoom characters), for a
// writer of millions; returns the end of what was written (the room past it
// may have been written over).
constexpr int kExactNumberRoom = 32;
char* WriteExactNumber(char* out, double value);
char* WriteExactNumber(char* out, float value);

// A figure a person reads (an area factor, a standard deviation, a WRS
// critical value, a computed LBGR): four significant digits, trailing zeros
// dropped (1.57109303673617 gives 1.571, 722.255195018952 gives 722.3,
// 13800 stays 13800). Files and machine-readable output keep the full value.
std::string ReadableNumber(double value);

// As WriteNumber(double), with one blank in front of a value that is not
// negative (the sign position).
std::string WriteWithSignPosition(double value);

// Double to single precision, rounding to nearest; beyond the single range the
// result is an infinity (a plain cast would be undefined there), which the
// input rules then refuse.
float ToSingle(double value);

// RoundHalfEven comes with the engine's rounding (rounding.h).

// Pattern "##.##": at most two decimals, no leading zero (0.5 gives ".5").
std::string FormatHashHashPointHashHash(double value);
// Pattern "0.0": one digit before and one after the point.
std::string FormatZeroPointZero(double value);
// Pattern "0.00": two decimals always (10 gives "10.00"); lengths, areas and
// coordinates of the sample layout.
std::string FormatZeroPointZeroZero(double value);
// Pattern "###%": the value times 100 as a whole number, then "%".
std::string FormatPercent(double value);
// Pattern "#.#" (1 gives "1.").
std::string FormatHashPointHash(double value);

}  // namespace valdris
