#pragma once

#include "platform/window/Dialogs.h"

#include <QString>

// The program's question box: the application title as caption, the icon of the dialog type
// (0 warning, 1 error, 2 information, 3 confirmation, anything else none), exactly the buttons of
// the set (Yes 1, No 2, OK 4, Cancel 8, Abort 16, Retry 32, Ignore 64, Help 1024). Answers the
// button pressed: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No, 0 otherwise.
// Tests answer through platform::dialogHooks().messageBox.
int BoiteMessage(const QString& text, int dialogType, platform::TMsgDlgButtons buttons);
