#include "JobEditorWindows.h"

#include "WindowRegistry.h"

void registerJobEditorWindows(WindowRegistry& windows) { (void)windows; }
