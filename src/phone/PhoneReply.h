#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The text rules of the phone's replies, kept apart from the port so they can be checked alone.
namespace PhoneReply {

// Bytes on the line are characters one to one (the phone's 8-bit character set).
QByteArray toLine(const QString& text);
QString fromLine(const QByteArray& bytes);

// True when the last line of bytes (trailing CR, LF and blanks ignored) is the ">" prompt
// alone; a text line that merely ends in ">" is no prompt.
bool endsInPrompt(QByteArrayView bytes);

// A final result as the last line ends the reply: "ERROR", "+CME ERROR: <n>", "+CMS ERROR: <n>",
// and "OK" and the ">" prompt where they count: a submit command waits for the prompt (a late
// "OK" is no answer to it), its body for "+CMGS:" and "OK" (the phone prompts again after a
// line break of a text).
bool isComplete(QByteArrayView bytes, bool promptEnds = true, bool okEnds = true);

// The reply as sendCommand returns it: leading CR and LF removed; the echoed command and
// the three characters after it removed; each CR LF turned into "|", other CR and LF
// removed; the final "||OK" dropped unless keepOK; one trailing "|" dropped.
QString clean(const QString& raw, const QString& command, bool keepOK);

// "ERROR: TimeOut (<n> secs.)"
QString timeOutText(int seconds);

}  // namespace PhoneReply
