#include <QRandomGenerator>
#include <QTest>
#include <string_view>

#include "Scramble.h"
#include "TestContext.h"

// Stored passwords: one call both ways, and a stored form that keeps in the settings file.
class tst_Scramble : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestContext> m_t;

    // What a settings-file value must look like to come back unchanged.
    static QString unsafeBecause(const QString& s) {
        if (s.contains(u'\r') || s.contains(u'\n')) {
            return QStringLiteral("line break");
        }
        if (s != s.trimmed()) {
            return QStringLiteral("blank at an end");
        }
        if (s.size() >= 2 && s.startsWith(u'"') && s.endsWith(u'"')) {
            return QStringLiteral("enclosing quotes");
        }
        for (const QChar c : s) {
            if (!c.isPrint() || c.unicode() > 0x7e) {
                return QStringLiteral("character U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            }
        }
        return {};
    }

    // Stored through the settings file and read back, the password comes back unchanged.
    void checkRoundTrip(const QString& password, const QString& key) {
        const QString stored = scramble(password, key);
        QVERIFY2(unsafeBecause(stored).isEmpty(), qPrintable(stored + u' ' + unsafeBecause(stored)));
        QCOMPARE(scramble(stored, key), password);
        QVERIFY(m_t->ini().writeINI(QStringLiteral("Job m1"), QStringLiteral("Password"), stored));
        const QString read = m_t->ini().readINI(QStringLiteral("Job m1"), QStringLiteral("Password"));
        QCOMPARE(read, stored);
        QCOMPARE(scramble(read, key), password);
    }

    static QString randomPrintable(QRandomGenerator& rng, int length) {
        // ASCII, Latin-1 accents, Greek/Cyrillic, CJK and an emoji beyond the 16-bit range.
        static const QList<QPair<char32_t, char32_t>> ranges = {
            {0x20, 0x7e}, {0xa0, 0xff}, {0x370, 0x3ff}, {0x400, 0x45f}, {0x4e00, 0x4eff}, {0x1f600, 0x1f64f}};
        QString s;
        while (s.size() < length) {
            const auto& [lo, hi] = ranges.at(rng.bounded(int(ranges.size())));
            const char32_t c = lo + char32_t(rng.bounded(int(hi - lo + 1)));
            s += QString::fromUcs4(&c, 1);
        }
        return s;
    }

private slots:
    void init() { m_t = std::make_unique<TestContext>(); }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*m_t);
        m_t.reset();
    }

    void survivesTheSettingsFile_data() {
        QTest::addColumn<QString>("password");
        QTest::newRow("plain") << QStringLiteral("secret");
        QTest::newRow("one character") << QStringLiteral("x");
        QTest::newRow("blanks at the ends") << QStringLiteral("  pass word  ");
        QTest::newRow("only a blank") << QStringLiteral(" ");
        QTest::newRow("enclosing quotes") << QStringLiteral("\"quoted\"");
        QTest::newRow("one quote") << QStringLiteral("\"");
        QTest::newRow("ini syntax") << QStringLiteral("[Job f1];a=b");
        QTest::newRow("accents") << QStringLiteral("Gr\u00fc\u00dfe \u00e0\u00e9\u00ee\u00f5 \u00c7a va");
        QTest::newRow("cjk and emoji")
            << (QStringLiteral("\u65e5\u672c ") + QString::fromUcs4(U"\U0001F600"));
        QTest::newRow("mark character") << QStringLiteral("~");
        QTest::newRow("looks stored") << QStringLiteral("~AAAA");
        QString ascii;
        for (char16_t c = 0x20; c <= 0x7e; ++c) {
            ascii += QChar(c);
        }
        QTest::newRow("all of ASCII") << ascii;
        QTest::newRow("long") << QString(180, u'\u00e9');
    }
    void survivesTheSettingsFile() {
        QFETCH(QString, password);
        checkRoundTrip(password, QString());
        checkRoundTrip(password, QStringLiteral("another key \u00e4"));
    }

    void randomPasswords() {
        QRandomGenerator rng(20261207);
        for (int i = 0; i < 3000; ++i) {
            const QString password = randomPrintable(rng, 1 + int(rng.bounded(40)));
            const QString stored = scramble(password, QString());
            QVERIFY2(unsafeBecause(stored).isEmpty(), qPrintable(password));
            QVERIFY2(scramble(stored, QString()) == password, qPrintable(password));
        }
    }

    void hidesThePassword() {
        const QString password = QStringLiteral("correct horse");
        const QString stored = scramble(password, QString());
        QVERIFY(!stored.contains(QLatin1String("horse")));
        // The key matters, and the empty key is the program's own, always the same.
        QVERIFY(scramble(password, QStringLiteral("k1")) != stored);
        QVERIFY(scramble(password, QStringLiteral("k1")) != scramble(password, QStringLiteral("k2")));
        QCOMPARE(scramble(password, QString()), stored);
        // Similar passwords do not give similar forms.
        QVERIFY(scramble(QStringLiteral("correct horsf"), QString()).right(8) != stored.right(8));
        // A form read with the wrong key does not turn back into the password.
        QVERIFY(scramble(stored, QStringLiteral("k1")) != password);
    }

    // Typed passwords of the stored form's own shape: "~" and three letters, digits, "-" or
    // "_". Were one taken for a stored form, it would be stored as whatever that form hides
    // (a control character, a lone blank) and be lost on the way through the settings file.
    void passwordsShapedLikeStoredForms() {
        static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
        QString password = QStringLiteral("~abc");
        for (const char a : std::string_view(alphabet)) {
            for (const char b : std::string_view(alphabet)) {
                for (const char c : std::string_view(alphabet)) {
                    password[1] = QLatin1Char(a);
                    password[2] = QLatin1Char(b);
                    password[3] = QLatin1Char(c);
                    const QString stored = scramble(password, QString());
                    QVERIFY2(unsafeBecause(stored).isEmpty(), qPrintable(password));
                }
            }
        }
    }

    void emptyStaysEmpty() { QCOMPARE(scramble(QString(), QString()), QString()); }

    // A password that happens to be a stored form still comes back as itself.
    void storedFormAsPassword() {
        const QString a = scramble(QStringLiteral("pw"), QString());
        const QString b = scramble(a, QString());  // "pw" again
        QCOMPARE(b, QStringLiteral("pw"));
        for (const QString& p :
             {a, scramble(QStringLiteral("x"), QStringLiteral("other")), QStringLiteral("~~")}) {
            QCOMPARE(scramble(scramble(p, QString()), QString()), p);
        }
    }
};

QTEST_GUILESS_MAIN(tst_Scramble)
#include "tst_scramble.moc"
