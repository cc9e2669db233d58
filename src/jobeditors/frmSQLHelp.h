#pragma once

#include <QDialog>
#include <QLabel>
#include <array>

class AppContext;
class QPushButton;

// A label that reacts to a click like a link.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Four examples of SQL statements for database jobs, one shown at a time; the links across
// the top switch between them. Every opening starts with example 1.
class frmSQLHelp : public QDialog {
    Q_OBJECT
public:
    static constexpr int kExamples = 4;

    explicit frmSQLHelp(AppContext& ctx, QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<LinkLabel*, kExamples> labLink{};
    QLabel* labNr = nullptr;
    std::array<QLabel*, kExamples> labTitle{};
    std::array<QLabel*, kExamples> labSQL{};
    std::array<QLabel*, kExamples> labDesc{};
    QLabel* Label11 = nullptr;
    QPushButton* cmdClose = nullptr;

    // Shows example index + 1.
    void labLink_Click(int index);
    void cmdClose_Click();

    // Closing unloads the window.
    void done(int result) override;

private:
    AppContext& m_ctx;
};
