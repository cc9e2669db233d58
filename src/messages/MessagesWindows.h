#pragma once

class WindowRegistry;

// Registers the factories of the message and contact windows (frmSendSMS, ...).
void registerMessagesWindows(WindowRegistry& windows);
