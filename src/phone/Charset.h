#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The character sets a phone takes strings in (AT+CSCS): "GSM" (the 7-bit alphabet, one byte a
// septet, escapes for the extension characters), "UCS2" (four hex digits a UTF-16 unit),
// "8859-1" and "IRA" (7-bit ASCII). An empty or unknown set is taken byte for byte as Latin-1,
// so what is read in it goes back as the same bytes.
namespace Charset {

inline const QString kGsm = QStringLiteral("GSM");
inline const QString kUcs2 = QStringLiteral("UCS2");
inline const QString kLatin1 = QStringLiteral("8859-1");
inline const QString kIra = QStringLiteral("IRA");

// The sets named by an answer to "AT+CSCS=?" ("+CSCS: ("GSM","UCS2")"), upper case.
QStringList offered(const QString& reply);
// The set named by an answer to "AT+CSCS?" ("+CSCS: "GSM""), upper case; "" when none.
QString inForce(const QString& reply);

// text as the bytes of set; a character the set lacks goes as "?" (a surrogate pair as one)
// and counts in *replaced.
QByteArray encode(const QString& text, const QString& set, int* replaced = nullptr);
// The text of bytes in set. Bytes that are not of the set (UCS2 that is no hex, GSM bytes
// above 0x7F: a phone that ignored the set) are taken as Latin-1 and *ok is false.
QString decode(const QByteArray& bytes, const QString& set, bool* ok = nullptr);
// True when set certainly holds every character of text; an unknown set only plain ASCII.
bool holds(const QString& text, const QString& set);

}  // namespace Charset
