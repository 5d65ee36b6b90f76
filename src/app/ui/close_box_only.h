#pragma once

class QWidget;

// Asks the window manager for the title bar that the window's flags give (close box only),
// with no minimise or maximise button. Called before the window is first shown.
void AskForCloseBoxOnly(QWidget* window);
