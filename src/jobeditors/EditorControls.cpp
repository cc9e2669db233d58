#include "EditorControls.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <memory>

QPushButton* commandButton(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    return b;
}

void setAllEnabled(const QList<QWidget*>& widgets, bool enabled) {
    for (QWidget* w : widgets) {
        w->setEnabled(enabled);
    }
}

QLineEdit* labelledBox(QLabel*& label, const QString& text, QWidget* parent) {
    label = new QLabel(text, parent);
    auto* box = new QLineEdit(parent);
    label->setBuddy(box);
    return box;
}

void OptionHandlers::onChosen(QRadioButton* option, std::function<void()> handler) {
    m_handlers.insert(option, handler);
    // Chosen by the code, or by a click or key that changes the choice.
    QObject::connect(option, &QRadioButton::toggled, m_context, [handler](bool on) {
        if (on) {
            handler();
        }
    });
    // A click on the option already chosen changes nothing, so only the click tells of it.
    auto chosenBefore = std::make_shared<bool>(false);
    QObject::connect(option, &QRadioButton::pressed, m_context,
                     [option, chosenBefore] { *chosenBefore = option->isChecked(); });
    QObject::connect(option, &QRadioButton::clicked, m_context, [handler, chosenBefore] {
        if (*chosenBefore) {
            handler();
        }
    });
}

void OptionHandlers::choose(QRadioButton* option) {
    if (!option->isChecked()) {
        option->setChecked(true);  // its toggled handler runs
    } else if (const auto handler = m_handlers.value(option)) {
        handler();
    }
}

void SelectAllOnFocus::add(QWidget* box) {
    if (!m_boxes.contains(box)) {
        m_boxes.append(box);
        box->installEventFilter(this);
    }
}

bool SelectAllOnFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // Later, so the click that brought the focus does not undo the selection.
        if (auto* box = qobject_cast<QLineEdit*>(watched); box && m_boxes.contains(box)) {
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        } else if (auto* area = qobject_cast<QPlainTextEdit*>(watched); area && m_boxes.contains(area)) {
            QTimer::singleShot(0, area, &QPlainTextEdit::selectAll);
        }
    }
    return QObject::eventFilter(watched, event);
}
