#pragma once

#include <QString>
#include <QStringList>

#include "GsmAlphabet.h"
#include "SharedState.h"

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

// What one message leaves a text: the coding the text and the footer need, the units of that
// coding the text may take (the phone's septets, 160 or 159, or 70 UCS2 units, less the footer
// in the same units), and the footer sent with it.
struct SmsRoom {
    Gsm::Coding coding = Gsm::Coding::Gsm7;
    int units = Gsm::kSingleSeptets;
    QString footer;
};
SmsRoom roomFor(const SharedState& s, const QString& text);

// The length of the longest beginning of text, of whole characters, that goes in one message
// with its footer (text may hold line breaks; a CR LF is never cut in two).
qsizetype fittingLength(const SharedState& s, const QString& text);

// The texts of the message files createSMSFile writes of text for one recipient, part 1
// first, footer appended: one text cut to one message, or with split the "i/n:" parts that
// are one message each. Parts are cut by whole characters.
QStringList messageTexts(const SharedState& s, const QString& text, bool split);

// The outgoing files of a folder (its messages: regular, not hidden) in sending order: oldest
// message first, the parts of a split message by their "-<k>" suffix compared as numbers.
QStringList outgoingFilesInOrder(const QString& folder);

// The transaction-log line of one message sent (or not) to one recipient; an empty source
// counts as "MANUAL", and only other sources say what became of the file: deleted when it was
// sent and is not kept elsewhere (movedTo, which the line names).
QString sendingLogLine(const QString& recipient, const QString& text, bool ok, const QString& source,
                       const QString& movedTo = {});
void logSending(AppContext& ctx, const QString& recipient, const QString& text, bool ok,
                const QString& source);

}  // namespace MessageFiles
