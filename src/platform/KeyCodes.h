#pragma once

#include <Qt>

class QKeyEvent;

// The key codes the windows were written against.
namespace KeyCodes {

constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Delete = 46;
constexpr int Comma = 188;
constexpr int F1 = 112;  // F1..F12 = 112..123; letters 65..90; digits 48..57

constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18;  // Alt
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Insert = 45;
constexpr int Numpad0 = 96;  // Numpad0..Numpad9 = 96..105

// The code of a Qt key event (0 for keys without one). Punctuation keys give the code of
// their key on a US keyboard whether shifted or not ("<" is 188 like ","); keypad digits
// give 96..105.
int fromEvent(const QKeyEvent* event);
// The same for a Qt key and its modifiers.
int fromKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The shift state the windows were written against: 1 Shift, 2 Ctrl, 4 Alt, added up.
int shiftState(Qt::KeyboardModifiers modifiers);

}  // namespace KeyCodes
