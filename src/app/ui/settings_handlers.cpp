// Placeholder until the settings file class lands: defaults only.
#include "app/ui/mini_window.h"
#include "app/ui/settings_positions.h"
#include "app/ui/tform1.h"
#include "app/ui/windows.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

QPoint LoadMiniWindowPosition(const QSize& windowSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    return {screenWidth - 58 - windowSize.width(), 2};
}

void TForm1::LoadSettings() {
    ShowOnStart->setChecked(true);
    CheckBox2->setChecked(true);
    CurrEdit->setText(QStringLiteral("F"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TForm1::SaveSettings() {}
void TForm1::CleanAutostart() {}
void TForm1::WinStartClick() {}
void TForm1::CurrEditChange() {}
