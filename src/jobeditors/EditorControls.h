#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Small behaviours the editors' controls share.

// A push button that Enter does not press: only an editor's OK is its default button.
QPushButton* commandButton(const QString& text, QWidget* parent);
void setAllEnabled(const QList<QWidget*>& widgets, bool enabled);
// A text box with its label (made first) whose access key moves the focus into the box.
QLineEdit* labelledBox(QLabel*& label, const QString& text, QWidget* parent);

// Handlers of option buttons: one runs whenever its option becomes chosen, by the user or by
// the code, and when the user clicks the option again while it is chosen.
class OptionHandlers {
public:
    // The connections live as long as context.
    explicit OptionHandlers(QObject* context) : m_context(context) {}
    void onChosen(QRadioButton* option, std::function<void()> handler);
    // Chooses option and runs its handler, also when it was chosen already.
    void choose(QRadioButton* option);

private:
    QObject* m_context;
    QHash<QRadioButton*, std::function<void()>> m_handlers;
};

// Text boxes (line or plain text) that select their whole text when they get the focus.
class SelectAllOnFocus : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void add(QWidget* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QWidget*> m_boxes;
};
