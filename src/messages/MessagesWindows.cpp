#include "MessagesWindows.h"

#include "WindowRegistry.h"

void registerMessagesWindows(WindowRegistry& windows) { (void)windows; }
