#pragma once

#include <QString>
#include <QStringList>

class AppContext;

// Outgoing message files: writing them (split into parts when asked) and sending one.
namespace MessageFiles {

// Writes the message file(s) for one recipient into folder (the outgoing folder when "");
// returns the full paths written joined by "," (part n first, part 1 last), "" on failure.
QString createSMSFile(AppContext& ctx, const QString& folder, const QString& number, const QString& text,
                      bool report, bool flash, bool manual, bool split, bool reverse);

// Sends the file to each of its ";"-separated recipients; "OK: Message was sent to <number>."
// or a text beginning with "ERROR". The file is claimed first (see Spool) and sent and filed
// from there. While the program is closing the file is left untouched.
QString sendSMSFile(AppContext& ctx, const QString& path);
// The same for a file already claimed by the send cycle.
QString sendClaimedFile(AppContext& ctx, const QString& claimed);

// The section of a message file.
inline constexpr const char* kSection = "Tellwick";
inline constexpr const char* kResultSection = "Job Result";

// A recipient number as it may stand in a file name: characters other than letters, digits
// and "+" become "_" (the No key keeps the number as it is).
QString fileNameNumber(const QString& number);

// The texts of the parts a text is split into (each with its "i/n:" prefix, without the
// footer), for a message of maxLen characters. A character is never split between two parts.
QStringList splitText(const QString& text, int maxLen);

// The outgoing files of a folder in sending order: oldest message first, the parts of a
// split message by their "-<k>" suffix compared as numbers.
QStringList outgoingFilesInOrder(const QString& folder);

// The transaction-log line of one message sent (or not) to one recipient; an empty source
// counts as "MANUAL", and only other sources say what became of the file: deleted when it was
// sent and is not kept elsewhere (movedTo, which the line names).
QString sendingLogLine(const QString& recipient, const QString& text, bool ok, const QString& source,
                       const QString& movedTo = {});
void logSending(AppContext& ctx, const QString& recipient, const QString& text, bool ok,
                const QString& source);

}  // namespace MessageFiles
