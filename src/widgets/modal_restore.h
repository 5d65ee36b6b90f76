#pragma once

// A modal window minimised by the user comes back at once. While it is open it keeps the
// rest of the program (tray icon and mini window included) from answering, and on a desktop
// without a task bar nothing would bring it back: the program would look frozen for good.
// Installed once, for the whole application.
void KeepModalWindowsRestored();
