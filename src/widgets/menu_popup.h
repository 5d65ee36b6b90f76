#pragma once

class QMenu;
class QPoint;

// Opens the menu with its right edge at the given screen position (kept on the screen).
void PopupRightAligned(QMenu* menu, const QPoint& at);
