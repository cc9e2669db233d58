#pragma once

#include <QString>

struct SharedState;

// The arithmetic of the message text box: lengths as the box holds them (a line break is
// CR LF, two characters), the room one message leaves the text and the number of messages it
// makes, both in the units the phone sends it in (septets, or UCS2 units once a character is
// outside the phone's alphabet), the counter caption, cutting to one message, and the accent
// table applied before a text is written to message files.
namespace TextCounter {

// Qt's editors hold a line break as "\n"; the stored and sent text holds it as CR LF.
QString toBoxText(const QString& editorText);
QString fromBoxText(const QString& boxText);

// Length as the box holds it: every line break counts as two characters.
int boxLength(const QString& editorText);

// The units one message leaves a box text (the footer deducted): 160 septets (maxTextLen) for
// a text in the phone's alphabet, 70 UCS2 units for one that is not.
int room(const QString& boxText, const SharedState& s);

// Units left in one message for a box text, a line break counting two; below 0 when it is
// too long.
int unitsLeft(const QString& boxText, const SharedState& s);

// How many messages sending makes of a box text (line breaks as CR LF) with auto-split on:
// exactly the number of files written for one recipient, each of them one SMS.
int messageCount(const QString& boxText, const SharedState& s);

// "&Message text (<len> characters, <k> message(s)):" with auto-split,
// "&Message text (<left> characters left):" without.
QString caption(const QString& editorText, const SharedState& s, bool autoSplit);

// The longest beginning of a box text (line breaks as CR LF) that goes in one message. A cut
// never leaves half a line break or half a surrogate pair behind.
QString truncated(const QString& boxText, const SharedState& s);

// Replaces the 18 accented capitals and small letters that have no place in the phone's
// alphabet by their plain letters; every other character stays.
QString replaceAccents(const QString& text);

}  // namespace TextCounter
