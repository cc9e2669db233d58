#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

#include "Prompts.h"

class QEvent;
class QWidget;

// While the engine talks to the phone on its own (a timer tick, the start-up), what the user
// does in the windows waits: mouse and key input is held back and handed on, in its order,
// once the link is free, so that a window's phone dialogue never meets a busy link. The
// hourglass shows while anything waits. Holds nest: only the outermost one holds. A modal
// window that comes up during the hold (a box asking the user) gets its input at once.
class InputHold : public QObject {
public:
    InputHold();
    ~InputHold() override;

    // Hands held input on now and lets it run (the link is free between two messages);
    // holding goes on afterwards.
    void runHeld();
    // The number of input events waiting.
    int held() const { return int(m_held.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handOn();
    bool forNewModal(QObject* target) const;

    struct Held {
        QPointer<QObject> to;
        std::unique_ptr<QEvent> event;
    };
    std::vector<Held> m_held;
    std::optional<Hourglass> m_hourglass;
    bool m_active = false;
    QPointer<QWidget> m_modalAtStart;
};
