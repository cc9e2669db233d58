#include "KeyCodes.h"

#include <QKeyEvent>

namespace KeyCodes {

namespace {

struct Pair {
    int qt;
    int code;
};

// Keys whose code is not their Qt value.
constexpr Pair kTable[] = {
    {Qt::Key_Backspace, Back},
    {Qt::Key_Tab, Tab},
    {Qt::Key_Backtab, Tab},
    {Qt::Key_Return, Return},
    {Qt::Key_Enter, Return},
    {Qt::Key_Shift, Shift},
    {Qt::Key_Control, Control},
    {Qt::Key_Alt, Menu},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, Escape},
    {Qt::Key_Space, Space},
    {Qt::Key_PageUp, PageUp},
    {Qt::Key_PageDown, PageDown},
    {Qt::Key_End, End},
    {Qt::Key_Home, Home},
    {Qt::Key_Left, Left},
    {Qt::Key_Up, Up},
    {Qt::Key_Right, Right},
    {Qt::Key_Down, Down},
    {Qt::Key_Insert, Insert},
    {Qt::Key_Delete, Delete},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // Punctuation, unshifted and shifted (US layout).
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, Comma},
    {Qt::Key_Less, Comma},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    // Shifted digits.
    {Qt::Key_ParenRight, 48},
    {Qt::Key_Exclam, 49},
    {Qt::Key_At, 50},
    {Qt::Key_NumberSign, 51},
    {Qt::Key_Dollar, 52},
    {Qt::Key_Percent, 53},
    {Qt::Key_AsciiCircum, 54},
    {Qt::Key_Ampersand, 55},
    {Qt::Key_Asterisk, 56},
    {Qt::Key_ParenLeft, 57},
};

// Keypad keys other than digits.
int keypadCode(int key) {
    switch (key) {
        case Qt::Key_Asterisk:
            return 106;
        case Qt::Key_Plus:
            return 107;
        case Qt::Key_Minus:
            return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return 110;
        case Qt::Key_Slash:
            return 111;
        default:
            return 0;
    }
}

}  // namespace

int fromKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return keypad ? Numpad0 + (key - Qt::Key_0) : key;  // Qt's digits are 48..57
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key;  // Qt's letters are 65..90
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return F1 + (key - Qt::Key_F1);
    }
    if (keypad) {
        if (const int code = keypadCode(key)) {
            return code;
        }
    }
    for (const Pair& p : kTable) {
        if (p.qt == key) {
            return p.code;
        }
    }
    return 0;
}

int fromEvent(const QKeyEvent* event) {
    return event ? fromKey(event->key(), event->modifiers()) : 0;
}

int shiftState(Qt::KeyboardModifiers modifiers) {
    int state = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        state |= 1;
    if (modifiers.testFlag(Qt::ControlModifier))
        state |= 2;
    if (modifiers.testFlag(Qt::AltModifier))
        state |= 4;
    return state;
}

}  // namespace KeyCodes
