#pragma once

class QWidget;

// Widens a small dialog so that the window manager has room for its whole caption: a dialog
// sized by its contents alone can be narrower than its title, which then reads cut.
void MakeRoomForCaption(QWidget* dialog);
