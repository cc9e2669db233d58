#pragma once

#include <QDialog>
#include <QString>

class AppContext;
class ListItem;
class ListView;
class QLabel;
class QPushButton;

// The job list: every job of the settings file, one row per job, with a check box to switch
// it on and off; the way to create, edit and delete jobs. Opened modally by the main window.
class frmJobs : public QDialog {
    Q_OBJECT
public:
    // Loads the window: icon and list (Form_Load).
    explicit frmJobs(AppContext& ctx, QWidget* parent = nullptr);

    // Rebuilds the list from the settings file; the editors call it after saving a job.
    void getJobs();
    // Black for a ticked row, grey for an unticked one.
    void ColorItem(ListItem* item);

    // Handlers.
    void Form_Load();
    void lstJobs2_Click();
    void lstJobs2_KeyDown(int keyCode, int shift);
    void lstJobs2_DblClick();
    void lstJobs2_ColumnClick(int column);
    void lstJobs2_ItemCheck(ListItem* item);
    void cmdNew_Click();
    void cmdEdit_Click();
    void cmdDel_Click();
    void cmdClose_Click();

    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    ListView* lstJobs2 = nullptr;
    QLabel* labStatus = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDel = nullptr;
    QPushButton* cmdClose = nullptr;

    // The key and text of the row last clicked; kept across rebuilds.
    QString selectedJobKey;
    QString selectedJobText;

    void done(int result) override;  // closing unloads the window

private:
    // Widens the columns, the list and the window where the texts need more room.
    void fitToTexts();

    AppContext& m_ctx;
};
