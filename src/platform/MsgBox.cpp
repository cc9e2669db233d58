#include "MsgBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>

namespace {

// What a title bar needs beside its text: the icon, the buttons and the margins.
constexpr int kTitleBarExtras = 160;

QMessageBox::StandardButtons standardButtons(MsgBox::Buttons b) {
    switch (b) {
        case MsgBox::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgBox::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case MsgBox::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MsgBox::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case MsgBox::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
        case MsgBox::OKOnly: break;
    }
    return QMessageBox::Ok;
}

int answerOf(int standard) {
    switch (standard) {
        case QMessageBox::Cancel: return MsgBox::Cancel;
        case QMessageBox::Abort: return MsgBox::Abort;
        case QMessageBox::Retry: return MsgBox::Retry;
        case QMessageBox::Ignore: return MsgBox::Ignore;
        case QMessageBox::Yes: return MsgBox::Yes;
        case QMessageBox::No: return MsgBox::No;
        default: return MsgBox::OK;
    }
}

// The answer of a box closed without a choice: Cancel where there is one, else No, else OK.
int escapeAnswer(MsgBox::Buttons b) {
    switch (b) {
        case MsgBox::OKOnly: return MsgBox::OK;
        case MsgBox::YesNo: return MsgBox::No;
        case MsgBox::AbortRetryIgnore: return MsgBox::Abort;
        default: return MsgBox::Cancel;
    }
}

}  // namespace

int MsgBox::show(const QString& text, Buttons buttons, Icon icon, const QString& title, QWidget* parent) {
    Shown box{text, title, buttons, icon, 0};
    if (m_scripted) {
        if (!m_answers.isEmpty()) {
            box.answer = m_answers.takeFirst();
        } else if (buttons == OKOnly) {
            box.answer = OK;
        } else {
            box.answer = escapeAnswer(buttons);
            m_unanswered.append(box);
        }
        m_shown.append(box);
        return box.answer;
    }
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case Critical: qicon = QMessageBox::Critical; break;
        case Question: qicon = QMessageBox::Question; break;
        case Exclamation: qicon = QMessageBox::Warning; break;
        case Information: qicon = QMessageBox::Information; break;
        case NoIcon: break;
    }
    // On the heap: a parent deleted while the box waits takes the box with it.
    QPointer<QMessageBox> mb =
        new QMessageBox(qicon, title.isEmpty() ? QApplication::applicationName() : title, text,
                        standardButtons(buttons), parent ? parent : QApplication::activeWindow());
    // Boxes quote names, numbers and message texts: shown as written, never as markup.
    mb->setTextFormat(Qt::PlainText);
    // Wide enough for its title: the title bar is no wider than the box, and a short text
    // with a long title ("Tellwick: Outlook contacts import") left the title cut.
    if (auto* grid = qobject_cast<QGridLayout*>(mb->layout())) {
        const int titleWidth = mb->fontMetrics().horizontalAdvance(mb->windowTitle()) + kTitleBarExtras;
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(),
                      0, 1, grid->columnCount());
    }
    // A box waits for the user: the hourglass of the work that led to it is down meanwhile,
    // and back up when the box has gone.
    int hourglasses = 0;
    while (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
        ++hourglasses;
    }
    const int result = mb->exec();
    for (int i = 0; i < hourglasses; ++i) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    box.answer = mb && mb->clickedButton() ? answerOf(result) : escapeAnswer(buttons);
    delete mb.data();
    m_shown.append(box);
    if (m_shown.size() > 100) {
        m_shown.removeFirst();
    }
    return box.answer;
}
