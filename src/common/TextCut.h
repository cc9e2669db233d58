#pragma once

#include <QString>
#include <QStringList>

// Cutting and splitting text by length without breaking a character. Lengths count UTF-16
// units, as the text boxes and the phone's UCS2 messages count them; a cut never falls between
// the two halves of a surrogate pair (an emoji, say) nor between the CR and the LF of a line
// break. Where a cut would, it keeps one unit less.
namespace TextCut {

// Where a cut of at most limit units ends: limit, or limit - 1 when that would split a
// character; the whole length for a shorter text, 0 for a limit below 1.
qsizetype cutPoint(const QString& text, qsizetype limit);

// The first (last) at most limit units of text, of whole characters only.
QString left(const QString& text, qsizetype limit);
QString right(const QString& text, qsizetype limit);

// The text whole when it is at most limit long; otherwise its first limit - 3 units (whole
// characters) followed by "...".
QString elided(const QString& text, qsizetype limit);

// The text in consecutive pieces of at most size units each (a single character wider than
// size, a surrogate pair with size 1, makes a piece of its own); none for "".
QStringList pieces(const QString& text, qsizetype size);

}  // namespace TextCut
