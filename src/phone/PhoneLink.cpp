#include "PhoneLink.h"

// Placeholder until the serial link lands.
class PhoneLink::Private {
public:
    DeviceIdentity identity;
};

PhoneLink::PhoneLink(IniStore&, LogWriter&, QObject* parent) : QObject(parent), d(new Private) {}
PhoneLink::~PhoneLink() { delete d; }
bool PhoneLink::openPort() { return false; }
bool PhoneLink::openPort(const QString&, int) { return false; }
void PhoneLink::closePort() {}
bool PhoneLink::isOpen() const { return false; }
QString PhoneLink::lastError() const { return QStringLiteral("not built"); }
QString PhoneLink::sendCommand(const QString&, int, bool) { return QStringLiteral("ERROR"); }
bool PhoneLink::checkDevice() { return false; }
void PhoneLink::pingDevice() {}
bool PhoneLink::startDevice() { return false; }
const DeviceIdentity& PhoneLink::identity() const { return d->identity; }
QString PhoneLink::startError() const { return {}; }
QString PhoneLink::submitSms(const QString&, const QString&, bool, bool) { return QStringLiteral("ERROR"); }
QString PhoneLink::devicePath(const QString& portSetting) {
    bool isNumber = false;
    const int n = portSetting.trimmed().toInt(&isNumber);
    return isNumber ? QStringLiteral("/dev/ttyS%1").arg(n - 1) : portSetting.trimmed();
}
