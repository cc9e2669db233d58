#pragma once

#include <QList>
#include <QString>

class QWidget;

// The program's only way to show a message box. Codes are those the windows were written
// against (buttons 0-5, icons 16/32/48/64, answers 1-7).
// In scripted mode (tests) nothing is shown: every box is recorded, a box that asks a
// question takes the next queued answer, and a question without a queued answer is
// recorded as unanswered (the test fixture fails on it) and answered Cancel/No.
class MsgBox {
public:
    enum Buttons { OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
    enum Icon { NoIcon = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
    enum Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

    struct Shown {
        QString text;
        QString title;
        Buttons buttons = OKOnly;
        Icon icon = NoIcon;
        int answer = 0;
    };

    int show(const QString& text, Buttons buttons = OKOnly, Icon icon = NoIcon, const QString& title = {},
             QWidget* parent = nullptr);

    // Test control.
    void setScripted(bool on) { m_scripted = on; }
    bool scripted() const { return m_scripted; }
    void queueAnswer(int answer) { m_answers.append(answer); }
    int pendingAnswers() const { return int(m_answers.size()); }
    const QList<Shown>& shown() const { return m_shown; }
    void clearShown() { m_shown.clear(); }
    // Questions that found no queued answer.
    const QList<Shown>& unanswered() const { return m_unanswered; }

private:
    bool m_scripted = false;
    QList<int> m_answers;
    QList<Shown> m_shown;
    QList<Shown> m_unanswered;
};
