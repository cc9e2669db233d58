#pragma once

#include <QString>

class AppContext;

// The work behind the compose dialog's send button: one text for every recipient of the
// box, written as outgoing message files and sent at once or left for the send cycle.
class ComposeSender {
public:
    struct Options {
        bool report = false;
        bool flash = false;
        bool split = false;
        bool reverse = false;
        bool saveOnly = false;
    };

    explicit ComposeSender(AppContext& ctx) : m_ctx(ctx) {}

    // Writes and (unless save only) sends the files for each ";"-field of recipients, in the
    // order of the box, and returns one line per file: "SMS to <number> (<k>) saved",
    // "... sent successfully" or "... failed", each ending in CR LF. typedText is the text as
    // the box holds it (line breaks as CR LF); the files get it with the accents replaced,
    // the transaction log as typed.
    QString sendAll(const QString& recipients, const QString& typedText, const Options& options);

    // The result box's text for a result text.
    static QString resultBoxText(const QString& result, bool reportRequested);

    static QString deviceMissingText();

private:
    AppContext& m_ctx;
};
