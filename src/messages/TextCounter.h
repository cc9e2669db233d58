#pragma once

#include <QString>

// The arithmetic of the message text box: lengths as the box holds them (a line break is
// CR LF, two characters), the number of messages a text makes, the counter caption, cutting
// to the limit, and the accent table applied before a text is written to message files.
namespace TextCounter {

// Qt's editors hold a line break as "\n"; the stored and sent text holds it as CR LF.
QString toBoxText(const QString& editorText);
QString fromBoxText(const QString& boxText);

// Length as the box holds it: every line break counts as two characters.
int boxLength(const QString& editorText);

// How many messages sending makes of a box text (line breaks as CR LF): 1 when the text,
// each CR LF counted as one character, fits maxTextLen; otherwise the number of parts the
// split of the message-file writer makes of it. Exactly the number of files written for
// one recipient with auto-split on.
int messageCount(const QString& boxText, int maxTextLen);

// "&Message text (<len> characters, <k> message(s)):" with auto-split,
// "&Message text (<left> characters left):" without.
QString caption(const QString& editorText, int maxTextLen, bool autoSplit);

// The first maxTextLen characters of a box text (line breaks as CR LF). A cut never leaves
// half a line break or half a surrogate pair behind, so it may keep one character less.
QString truncated(const QString& boxText, int maxTextLen);

// Replaces the 18 accented capitals and small letters that have no place in the phone's
// alphabet by their plain letters; every other character stays.
QString replaceAccents(const QString& text);

}  // namespace TextCounter
