#pragma once

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

// The code of a Qt key event (0 for keys without one).
int fromEvent(const QKeyEvent* event);

}  // namespace KeyCodes
