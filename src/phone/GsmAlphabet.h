#pragma once

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>

// The GSM 7-bit default alphabet: 128 characters indexed by septet value, and the ten
// characters of the extension table that go out as the escape septet 0x1B plus a code.
// There is one table for the whole program; it never changes once built, so the compose
// dialog's counter and the encoders always agree and nobody can erase it under another.
class GsmTable {
public:
    static constexpr int kEscape = 0x1B;
    struct Escape {
        char16_t ch;
        quint8 code;
    };

    // The character of a basic septet (U+FFFF for the escape septet itself).
    const std::array<char16_t, 128>& basic() const { return m_basic; }
    const std::array<Escape, 10>& escapes() const { return m_escapes; }

    // Basic septet of c, or -1.
    int basicCode(QChar c) const { return m_basicIndex.value(c.unicode(), -1); }
    // Extension code of c (sent after 0x1B), or -1.
    int escapeCode(QChar c) const { return m_escapeIndex.value(c.unicode(), -1); }
    // Septets c takes: 1, 2 for an escape character, 0 when the alphabet lacks it.
    int septetsOf(QChar c) const { return basicCode(c) >= 0 ? 1 : (escapeCode(c) >= 0 ? 2 : 0); }
    // The character an extension code stands for ('\0' when the code is not defined).
    QChar fromEscape(int code) const;

private:
    friend const GsmTable& initGSMTable();
    GsmTable();
    std::array<char16_t, 128> m_basic{};
    std::array<Escape, 10> m_escapes{};
    QHash<char16_t, int> m_basicIndex;
    QHash<char16_t, int> m_escapeIndex;
};

// The one table, built on first use.
const GsmTable& initGSMTable();

namespace Gsm {
// True when every character of text is in the alphabet or its extension.
bool isGsmText(const QString& text);

// How a text goes out as SMS: in septets when every character is in the alphabet (with its
// extension table), otherwise in UCS2, whose units are UTF-16 units.
enum class Coding { Gsm7, Ucs2 };
// What one SMS holds, alone or as one part of a concatenated message (whose header takes the
// rest).
inline constexpr int kSingleSeptets = 160;
inline constexpr int kPartSeptets = 153;
inline constexpr int kSingleUcs2 = 70;
inline constexpr int kPartUcs2 = 67;

Coding codingFor(const QString& text);
// The units text takes in coding: septets, an escape character counting two, or UTF-16 units.
int unitsIn(const QString& text, Coding coding);
// The length of text in the units of the coding it needs.
inline int smsLength(const QString& text) {
    return unitsIn(text, codingFor(text));
}
// text in consecutive pieces of at most size units of coding each, of whole characters only
// (an escape character or a surrogate pair is never cut in two); none for "".
QStringList pieces(const QString& text, Coding coding, int size);

// Septets text takes in the 7-bit alphabet, escape characters counting two;
// characters the alphabet lacks count one each (they will be sent as "?").
int septetCount(const QString& text);
// The septet values of text (escape characters as 0x1B + code); a character the alphabet
// lacks becomes "?" and is counted in *replaced.
QByteArray toSeptets(const QString& text, int* replaced = nullptr);
// The text of septet values (an unknown escape code gives the basic character).
QString fromSeptets(const QByteArray& septets);
// text with every character the alphabet lacks replaced by "?"; *replaced counts them.
QString replaceNonGsm(const QString& text, int* replaced = nullptr);
// The character sets a text-mode phone can be told to take (AT+CSCS), best first: the
// alphabet itself, then UCS2 (as hex) that holds all of it, then 8859-1 and IRA that hold less.
QStringList textCharsets();
// text as the bytes of charset for a text-mode message ("" for none declared: Latin-1).
// Characters the alphabet lacks, and characters of it that the set lacks, go as "?" and
// count in *replaced.
QByteArray encodeText(const QString& text, const QString& charset, int* replaced = nullptr);
}  // namespace Gsm
