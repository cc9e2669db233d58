#pragma once

#include <QDialog>

class AppContext;
class ListView;
class QLabel;
class QPushButton;

// The new-job chooser: the job types, one row each; OK opens the chosen type's editor on a
// new job. Opened modally by the job list's New button.
class frmJobNew : public QDialog {
    Q_OBJECT
public:
    // Loads the window: icon and list (Form_Load). The first type is selected.
    explicit frmJobNew(AppContext& ctx, QWidget* parent = nullptr);

    // Fills the list from the job type table and sizes the window to it.
    void getJobTypes();

    // Handlers.
    void Form_Load();
    void cmdOK_Click();
    void lstJobTypes_DblClick();
    void cmdCancel_Click();

    QLabel* Label1 = nullptr;
    ListView* lstJobTypes = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;

    void done(int result) override;  // closing unloads the window

private:
    AppContext& m_ctx;
};
