#pragma once

#include <QString>
#include <QStringList>

class AppContext;

// The character set of one phonebook dialogue. At the start it takes the set in force: the
// one the phone link declared, else what the phone answers to AT+CSCS? ("" when it does not
// say). It may switch to UCS2, the one set that holds every name, and restore() (also the
// destructor) puts back the set that was in force, so text-mode messages keep the set the
// link declared for them.
class PhoneBookCharset {
public:
    explicit PhoneBookCharset(AppContext& ctx);
    ~PhoneBookCharset();
    PhoneBookCharset(const PhoneBookCharset&) = delete;
    PhoneBookCharset& operator=(const PhoneBookCharset&) = delete;

    // The set names go in now; "" when the phone does not say (bytes taken as Latin-1).
    QString set() const { return m_set; }
    // Switches to UCS2 where the phone offers it and the set to put back is known.
    // True when UCS2 is in force.
    bool useUcs2();
    // Whether the set in force holds every character of every name, after switching to UCS2
    // where one of them needs it.
    bool prepareFor(const QStringList& names);

    // A name or number field of a +CPBR line, quotes removed, as text. A number in UCS2 is
    // taken as hex only where it is plainly that (four hex digits a dialling character).
    QString decodeName(const QString& field) const;
    QString decodeNumber(const QString& field) const;
    // A name as the line carries it in the set; characters the set lacks go as "?" and
    // count in *replaced.
    QString encodeName(const QString& name, int* replaced = nullptr) const;
    // text as UCS2 hex: a number for phones that take no plain number while in UCS2.
    static QString ucs2Hex(const QString& text);

    void restore();

private:
    QString ask(const QString& command);

    AppContext& m_ctx;
    QString m_start;  // the set in force at the start
    QString m_set;
    QStringList m_offered;
    bool m_askedOffered = false;
};
