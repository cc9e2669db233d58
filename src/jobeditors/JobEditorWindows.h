#pragma once

class WindowRegistry;

// Registers the factories of the job list, the new-job chooser and the job editors.
void registerJobEditorWindows(WindowRegistry& windows);
