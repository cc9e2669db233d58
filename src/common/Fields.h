#pragma once

#include <QString>

// 1-based access to the fields of a text separated by ",", ";" or "|".

// The index-th field (from 1), trimmed. The whole trimmed text for any index when the
// separator does not occur; "" when index lies past the last field.
QString getField(const QString& text, int index, const QString& separator);

// Occurrences of separator plus one; 0 for "".
int countFields(const QString& text, const QString& separator);

// The text without its index-th field (and one separator beside it).
QString removeField(const QString& text, int index, const QString& separator);

// The numeric value of a text's leading number, the way every stored number is read: blanks
// are ignored, then an optional sign, digits, a decimal point and an exponent; what follows
// is not looked at; 0 when there is no number ("1abc" is 1, "abc" 0, " 12 " 12, "-3" -3).
double leadingNumber(const QString& text);
// The same rounded to a whole number (within int's range). present, when given, tells
// whether the text held anything but blanks, for settings that fall back to a default.
int leadingInt(const QString& text, bool* present = nullptr);
// Whether a stored on/off flag ("1" written for on, "0" for off) is on: its leading number is
// not 0, so "1abc" and " 1 " are on, "0", "abc" and "" off. A text of blanks alone gives
// whenBlank, for settings that are on unless set.
bool isFlagSet(const QString& text, bool whenBlank = false);
