#include "frmCopyMove.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AppContext.h"
#include "Twips.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

namespace {
const QString kWindowName = u"frmCopyMove"_s;
const char* const kTagProperty = "storeTag";
const QString kLocal = u"SMS"_s;
const QString kPhone = u"ME"_s;
const QString kSim = u"SM"_s;
}  // namespace

frmCopyMove::frmCopyMove(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    Label1 = new QLabel(this);
    Label1->setWordWrap(true);
    Opt1 = new QRadioButton(this);
    Opt2 = new QRadioButton(this);
    m_options = new QButtonGroup(this);
    m_options->addButton(Opt1);
    m_options->addButton(Opt2);
    cmdOK = new QPushButton(u"&OK"_s, this);
    cmdOK->setDefault(true);
    cmdOK->setEnabled(false);
    cmdCancel = new QPushButton(u"&Cancel"_s, this);
    cmdCancel->setAutoDefault(false);

    auto* options = new QVBoxLayout;
    options->setContentsMargins(Twips::toPixels(240), 0, 0, 0);
    options->addWidget(Opt1);
    options->addWidget(Opt2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addLayout(options);
    top->addStretch(1);
    top->addLayout(buttons);
    Twips::setWidth(this, 4200);
    Twips::setHeight(this, 2100);

    connect(Opt1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Opt1_Click();
    });
    connect(Opt2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Opt2_Click();
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    setWindowIcon(m_ctx.mainWindow().windowIcon());
}

frmCopyMove::~frmCopyMove() = default;

QString frmCopyMove::chooseDestination(AppContext& ctx, const QString& buttonName,
                                       const QString& currentStore, int maxME, int maxSM, QWidget* parent) {
    // Loaded afresh for every copy or move, so nothing is preselected and OK starts disabled.
    if (ctx.windows().isLoaded(kWindowName)) {
        ctx.windows().unload(kWindowName);
    }
    auto* dialog = ctx.windows().get<frmCopyMove>(kWindowName);
    if (!dialog) {
        return QString();
    }
    if (parent) {
        dialog->setParent(parent, dialog->windowFlags());
    }
    dialog->fill(buttonName, currentStore, maxME, maxSM);
    dialog->exec();
    const QString result = dialog->chosenStore();
    ctx.windows().unload(kWindowName);
    return result;
}

void frmCopyMove::fill(const QString& buttonName, const QString& currentStore, int maxME, int maxSM) {
    if (buttonName == u"cmdCopy"_s) {
        setWindowTitle(u"Copy address(es)"_s);
        Label1->setText(u"Select memory to copy selected address(es) to:"_s);
    } else if (buttonName == u"cmdMove"_s) {
        setWindowTitle(u"Move address(es)"_s);
        Label1->setText(u"Select memory to move selected address(es) to:"_s);
    }
    if (currentStore == kLocal) {
        setOption(Opt1, kPhone, maxME, maxSM);
        setOption(Opt2, kSim, maxME, maxSM);
    } else if (currentStore == kPhone) {
        setOption(Opt1, kLocal, maxME, maxSM);
        setOption(Opt2, kSim, maxME, maxSM);
    } else if (currentStore == kSim) {
        setOption(Opt1, kLocal, maxME, maxSM);
        setOption(Opt2, kPhone, maxME, maxSM);
    } else {
        // No store of ours: nothing may be chosen.
        setOption(Opt1, QString(), maxME, maxSM);
        setOption(Opt2, QString(), maxME, maxSM);
    }
}

void frmCopyMove::setOption(QRadioButton* option, const QString& store, int maxME, int maxSM) {
    option->setProperty(kTagProperty, store);
    if (store == kLocal) {
        option->setText(u"Tellwick's addressbook"_s);
        option->setEnabled(true);
    } else if (store == kPhone) {
        option->setText(u"phone addressbook"_s);
        option->setEnabled(maxME >= 1);
    } else if (store == kSim) {
        option->setText(u"SIM addressbook"_s);
        option->setEnabled(maxSM >= 1);
    } else {
        option->setText(QString());
        option->setEnabled(false);
    }
}

QString frmCopyMove::tagOf(const QRadioButton* option) {
    return option ? option->property(kTagProperty).toString() : QString();
}

QString frmCopyMove::chosenStore() const {
    if (Opt1->isChecked()) {
        return tagOf(Opt1);
    }
    if (Opt2->isChecked()) {
        return tagOf(Opt2);
    }
    return QString();
}

void frmCopyMove::Opt1_Click() {
    cmdOK->setEnabled(true);
}

void frmCopyMove::Opt2_Click() {
    cmdOK->setEnabled(true);
}

void frmCopyMove::cmdOK_Click() {
    QDialog::done(QDialog::Accepted);
}

void frmCopyMove::cmdCancel_Click() {
    m_options->setExclusive(false);
    Opt1->setChecked(false);
    Opt2->setChecked(false);
    m_options->setExclusive(true);
    QDialog::done(QDialog::Rejected);
}

// The close box and Escape answer like Cancel: nothing chosen.
void frmCopyMove::reject() {
    cmdCancel_Click();
}
