#pragma once

#include <QString>

class AppContext;

// Outgoing message files: writing them (split into parts when asked) and sending one.
namespace MessageFiles {

// Writes the message file(s) for one recipient into folder (the outgoing folder when "");
// returns the full paths written joined by "," (part n first, part 1 last), "" on failure.
QString createSMSFile(AppContext& ctx, const QString& folder, const QString& number, const QString& text,
                      bool report, bool flash, bool manual, bool split, bool reverse);

// Sends the file to each of its ";"-separated recipients; "OK: Message was sent to <number>."
// or a text beginning with "ERROR".
QString sendSMSFile(AppContext& ctx, const QString& path);

}  // namespace MessageFiles
