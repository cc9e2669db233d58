#pragma once

#include <QDialog>

class AppContext;
class QLineEdit;
class QPushButton;

// The mail settings dialog: the SMTP server that e-mail leaves through ([Settings] SMTPServer).
class frmMailSettings : public QDialog {
    Q_OBJECT
public:
    explicit frmMailSettings(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* txtSMTPServer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();

    // Unloads the window when it closes, so the next opening reads the settings afresh.
    void done(int result) override;

private:
    AppContext& m_ctx;
};
