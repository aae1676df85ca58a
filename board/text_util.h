#pragma once

// TextUtil: key filters for numeric, hexadecimal and binary text boxes. Each takes the key code a box's
// KeyPress delivers and returns the code to keep, or 0 to drop the key. Codes 0-32 (control keys and the
// blank) pass every filter that accepts digits.

#include <QString>

// Control keys, the blank, "+", "-", digits and the user's decimal separator; "e" and "E" become "E".
int KeyFilterNumeric(int keyAscii);
int KeyFilterNumeric2(int keyAscii);
// Control keys, the blank, "+", "-" and digits.
int KeyFilterSignedInt(int keyAscii);
// Everything but "+" and "-".
int KeyFilterNoSign(int keyAscii);
// Everything but the blank.
int KeyFilterNoSpace(int keyAscii);
// Control keys, the blank, digits and "A"-"F"; "a"-"f" become upper case.
int KeyFilterHex(int keyAscii);
// Control keys, the blank, "0" and "1".
int KeyFilterBinary(int keyAscii);

// The user's decimal separator as one character, and its character code.
QString TextDecimalSep();
int TextDecimalSepCode();

// Codes 32 to 126.
bool IsPrintableKey(int keyAscii);
