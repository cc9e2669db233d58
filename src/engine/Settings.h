#pragma once

class AppContext;

// Reading [Settings] into the shared state.
namespace Settings {

// Fills the shared state from [Settings], creates missing message folders and sets the
// log's debug mode. Safe to call on every polling tick.
void read(AppContext& ctx);

}  // namespace Settings
