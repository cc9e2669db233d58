#pragma once

#include <QString>
#include <functional>

class JobRecord;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

// The controls of the allow/deny list; all nullptr in an editor without one.
struct RestrictionControls {
    QGroupBox* Frame2 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtRestrict = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDel = nullptr;
    QListWidget* lstRestrict = nullptr;
    QRadioButton* optAllow = nullptr;
    QRadioButton* optDeny = nullptr;
};

// A job's allow/deny list: the numbers the job runs for only (Allow) or never (Deny). Kept
// with "," between the numbers under the one key of the chosen option; an empty list keeps
// neither key.
class RestrictionList {
public:
    // Makes the group box and its controls (into controls) in window; typeIndex picks the
    // Add button's key.
    RestrictionList(RestrictionControls& controls, QWidget* window, int typeIndex);

    // Add follows the box: usable while it holds a number.
    void numberChanged();
    // The number in the box goes to the list; a first number allows.
    void addNumber();
    // Delete follows the selection.
    void selectionChanged();
    // The selected number goes back into the box; the last one gone, neither option is chosen.
    void deleteSelected();
    // The default job runs for everybody: without an identifier the list is greyed.
    void setUsable(bool usable);

    void load(const JobRecord& record);
    void save(JobRecord& record) const;

    void addToolTips(const std::function<void(QWidget*, const QString&)>& setToolTip) const;

private:
    void clearOptions();

    RestrictionControls& m_ui;
    QButtonGroup* m_group = nullptr;
};
