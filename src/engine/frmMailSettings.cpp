#include "frmMailSettings.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AppContext.h"
#include "Twips.h"

frmMailSettings::frmMailSettings(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setWindowTitle(QStringLiteral("Tellwick: Mail Settings"));
    txtSMTPServer = new QLineEdit(this);
    txtSMTPServer->setObjectName(QStringLiteral("txtSMTPServer"));
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&SMTP server:"), txtSMTPServer);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(buttons);
    resize(Twips::toPixels(5400), sizeHint().height());

    txtSMTPServer->setText(m_ctx.ini().readINI(QStringLiteral("Settings"), QStringLiteral("SMTPServer")));
    connect(cmdOK, &QPushButton::clicked, this, &frmMailSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMailSettings::cmdCancel_Click);
}

void frmMailSettings::cmdOK_Click() {
    const QString server = txtSMTPServer->text().trimmed();
    m_ctx.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("SMTPServer"), server);
    m_ctx.state().smtpServer = server;
    accept();
}

void frmMailSettings::cmdCancel_Click() {
    reject();
}

void frmMailSettings::done(int result) {
    QDialog::done(result);
    if (m_ctx.windows().existing(objectName()) == this) {
        m_ctx.windows().unload(objectName());
    }
}
