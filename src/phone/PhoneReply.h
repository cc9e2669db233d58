#pragma once

#include <QByteArray>
#include <QString>

// The text rules of the phone's replies, kept apart from the port so they can be checked alone.
namespace PhoneReply {

// Bytes on the line are characters one to one (the phone's 8-bit character set).
QByteArray toLine(const QString& text);
QString fromLine(const QByteArray& bytes);

// The last line of bytes, trailing CR, LF and blanks ignored.
QByteArray lastLine(const QByteArray& bytes);

// A final result ends the reply: "OK", "ERROR", "+CME ERROR: <n>", "+CMS ERROR: <n>" as the
// last line, or the ">" prompt when promptEnds is set. With promptEnds the "OK" does not end
// it: the only good answer to a submit command is the prompt.
bool isComplete(const QByteArray& bytes, bool promptEnds = true, bool okEnds = true);

// The reply as sendCommand returns it: leading CR and LF removed; the echoed command and
// the three characters after it removed; each CR LF turned into "|", other CR and LF
// removed; the final "||OK" dropped unless keepOK; one trailing "|" dropped.
QString clean(const QString& raw, const QString& command, bool keepOK);

// "ERROR: TimeOut (<n> secs.)"
QString timeOutText(int seconds);

}  // namespace PhoneReply
