#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The text rules of the phone's replies, kept apart from the port so they can be checked alone.
namespace PhoneReply {

// Bytes on the line are characters one to one (the phone's 8-bit character set).
QByteArray toLine(const QString& text);
QString fromLine(const QByteArray& bytes);

// True when the last line of bytes (trailing CR, LF and blanks ignored) is the ">" prompt
// alone; a text line that merely ends in ">" is no prompt.
bool endsInPrompt(QByteArrayView bytes);

// The final result codes: "OK", the errors ("ERROR", "+CME ERROR: <n>", "+CMS ERROR: <n>") and
// the ">" prompt, each on a line of its own.
enum class Final { None, Ok, Error, Prompt };

// Lines the phone sends of its own accord (a new message, a status report, a ring, the
// network registration, a USSD answer, a caller's number...): they may come before, inside
// or after any reply and are no part of it. A line that answers the command itself (a
// "+CREG:" line for AT+CREG?) is not one of them.
bool isUnsolicited(QByteArrayView line, QByteArrayView command = {});

// What came after a command, split. The reply is complete once a final result code stands on
// a line of its own at or after from, wherever in what has arrived: "OK" and the prompt only
// where they count (a submit command waits for the prompt, a late "OK" is no answer to it; a
// message body waits for "OK", the phone prompts again after a line break of a text).
struct Reply {
    Final final = Final::None;
    qsizetype end = 0;              // bytes taken: the reply and the unsolicited lines right after it
    QByteArray text;                // bytes [0, end) without the unsolicited lines
    QList<QByteArray> unsolicited;  // those lines, a two-line report as one text
};
// reportLines: lines still owed by a two-line report ("+CMT:", "+CDS:" in PDU mode) whose
// first line came earlier; updated.
Reply take(QByteArrayView bytes, qsizetype from, QByteArrayView command, bool promptEnds, bool okEnds,
           int* reportLines = nullptr);

// True when take() finds a final result code in bytes.
bool isComplete(QByteArrayView bytes, bool promptEnds = true, bool okEnds = true);

// The reply as sendCommand returns it: leading CR and LF removed; the echoed command and
// the three characters after it removed; each CR LF turned into "|", other CR and LF
// removed; the final "||OK" dropped unless keepOK; one trailing "|" dropped.
QString clean(const QString& raw, const QString& command, bool keepOK);

// "ERROR: TimeOut (<n> secs.)"
QString timeOutText(int seconds);

}  // namespace PhoneReply
