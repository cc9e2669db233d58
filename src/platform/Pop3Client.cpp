#include "Pop3Client.h"

class Pop3Client::Private {};

Pop3Client::Pop3Client(QObject* parent) : QObject(parent) {}
Pop3Client::~Pop3Client() = default;

bool Pop3Client::login() {
    m_error = QStringLiteral("POP3 is not available");
    return false;
}

bool Pop3Client::logout() { return true; }

bool Pop3Client::isLoggedIn() const { return false; }
