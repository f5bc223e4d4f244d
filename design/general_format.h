// SPDX-License-Identifier: Apache-2.0
#pragma once
// A number in printf's "%.<P>g" layout (C locale), P significant digits
// correctly rounded from the exact binary value, ties to even: the form of
// every number the companion writes for machines, millions at a time.

namespace valdris {

// Room that any finite, infinite or NaN value needs at 17 digits.
constexpr int kGeneralNumberRoom = 32;

// Writes at out (kGeneralNumberRoom characters of room) and returns the end;
// the room past the end may have been written over.
// precision is from 1 to 17; a single is widened to a double, which holds it
// exactly, so its digits are the single's own.
char* WriteGeneralNumber(char* out, double value, int precision);

}  // namespace valdris
