#pragma once

#include <QString>

class AppContext;

// Reading [Settings] into the shared state.
namespace Settings {

// [Settings] keys the engine reads (besides the folder keys InDir, OutDir, SentDir, ArcDir).
inline constexpr const char* kSection = "Settings";

// The widest part prefix ("nnn/nnn:") and the fewest characters a part must keep: a footer
// longer than 70 - 8 - 10 characters would leave a part of a UCS2 text too little room and is
// not used.
inline constexpr int kWidestPartPrefix = 8;
inline constexpr int kMinPartText = 10;

// Characters of one message before the footer: 160, or 159 for a Nokia phone.
int baseTextLen(const QString& manufacturer, const QString& model);

// Fills the shared state from [Settings], creates missing message folders and sets the
// log's debug mode. Safe to call on every polling tick.
void read(AppContext& ctx);

// One [Settings] value (trimmed, "" when missing).
QString value(AppContext& ctx, const QString& key);

}  // namespace Settings
