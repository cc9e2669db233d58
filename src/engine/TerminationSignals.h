#pragma once

#include <functional>

// SIGTERM, SIGINT and SIGHUP are turned into calls of onSignal from the message loop (one
// call per signal, also while a phone dialogue or a modal window waits), instead of killing
// the program on the spot. A later install replaces the earlier handler.
namespace TerminationSignals {

bool install(std::function<void()> onSignal);

}  // namespace TerminationSignals
