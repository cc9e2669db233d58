#include <QTest>

#include "AddressBook.h"
#include "TestContext.h"

class TestAddressBook : public QObject {
    Q_OBJECT
    std::unique_ptr<TestContext> m_t;

private slots:
    void init() {
        m_t = std::make_unique<TestContext>();
        m_t->writeFile(QStringLiteral("tellwick.ini"),
                       "[Addressbook]\n"
                       "Anna Schmidt=+4911\n"
                       "Bernd=+4922\n"
                       "Johanna=+4933\n"
                       "[Addressbook.ME]\n"
                       "1=Carl|+4944\n"
                       "3=Dora, Office|+4955\n"
                       "[Addressbook.SM]\n"
                       "2=Emil|+4966\n");
    }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*m_t);
        m_t.reset();
    }

    void findAddressMatchesPartsWithoutRegardToCase() {
        const IniStore& ini = m_t->ini();
        QCOMPARE(AddressBook::findAddress(ini, QStringLiteral("SMS"), QStringLiteral("anna")), QStringLiteral("+4911"));
        // The first contains-match in file order wins: "anna" is in "Johanna" too.
        QCOMPARE(AddressBook::findAddress(ini, QStringLiteral("SMS"), QStringLiteral("ANNA"), QStringLiteral("+4933")),
                 QStringLiteral("+4933"));
        QCOMPARE(AddressBook::findAddress(ini, QStringLiteral("SMS"), QStringLiteral("zz")), QString());
        QCOMPARE(AddressBook::findAddress(ini, QStringLiteral("SMS"), QStringLiteral("Bernd"), QStringLiteral("+1")), QString());
        // Phone memories match the whole value, number included, and give field 2.
        QCOMPARE(AddressBook::findAddress(ini, QStringLiteral("ME"), QStringLiteral("carl")), QStringLiteral("+4944"));
        QCOMPARE(AddressBook::findAddress(ini, QStringLiteral("ME"), QStringLiteral("4955")), QStringLiteral("+4955"));
        QCOMPARE(AddressBook::findAddress(ini, QStringLiteral("SM"), QStringLiteral("emil")), QStringLiteral("+4966"));
        QCOMPARE(AddressBook::findAddress(ini, QStringLiteral("SM"), QStringLiteral("carl")), QString());
    }

    void numbersToNamesReplacesKnownNumbersOnly() {
        const IniStore& ini = m_t->ini();
        QCOMPARE(AddressBook::numbersToNames(ini, QStringLiteral("SMS"), QStringLiteral("+4922,+4999,+4911")),
                 QStringLiteral("Bernd,+4999,Anna Schmidt"));
        QCOMPARE(AddressBook::numbersToNames(ini, QStringLiteral("ME"), QStringLiteral("+4955")), QStringLiteral("Dora, Office"));
        QCOMPARE(AddressBook::numbersToNames(ini, QStringLiteral("SMS"), QString()), QString());
        // ";" does not split: the whole text is one unknown number.
        QCOMPARE(AddressBook::numbersToNames(ini, QStringLiteral("SMS"), QStringLiteral("+4922;+4911")),
                 QStringLiteral("+4922;+4911"));
    }
};

QTEST_GUILESS_MAIN(TestAddressBook)
#include "tst_addressbook.moc"
