#pragma once

#include <QString>

// What a recipient's number is, one rule for every place that takes one: an optional leading
// "+" and digits, with the blanks and the separators people write ("-", "/", "(", ")", ".")
// left out. "*" and "#" count as digits (service numbers such as *100#). A "(0)" right after a
// country code is the national trunk prefix, never dialled from abroad: "+49 (0)170 1234567"
// is +491701234567.
namespace PhoneNumber {

// The number to dial, or "" when the text is no number: a letter or any other sign, a "+"
// after the first digit, or no digit at all.
QString dialable(const QString& written);

// The text with a "(0)" after a country code left out and nothing else changed
// ("+49 (0)170 1234567" gives "+49 170 1234567").
QString withoutTrunkZero(const QString& written);

}  // namespace PhoneNumber
