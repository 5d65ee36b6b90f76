#include "widgets/caption_width.h"

#include <QFontMetrics>
#include <QWidget>

namespace {
// The window's icon, its three title buttons and the frame's padding, as common window
// managers draw them.
constexpr int TitleBarDecorationWidth = 110;
// A caption longer than this (an entry's long name) is left for the window manager to cut.
constexpr int WidestForCaption = 600;
} // namespace

void MakeRoomForCaption(QWidget* dialog) {
    // Title bars commonly use a bold face of the desktop's font.
    QFont titleFont = dialog->font();
    titleFont.setBold(true);
    const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle());
    dialog->setMinimumWidth(qMax(dialog->minimumSizeHint().width(),
                                 qMin(captionWidth + TitleBarDecorationWidth, WidestForCaption)));
}
