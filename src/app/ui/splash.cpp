#include "app/ui/splash.h"

#include "app/application_title.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

namespace {
QPixmap SplashPicture() {
    QPixmap picture(300, 267);
    picture.fill(QColor(0x1d, 0x35, 0x57));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(118, 40, QPixmap(QStringLiteral(":/tallivo.png")));
    painter.setPen(QColor(0xf1, 0xfa, 0xee));
    QFont font = painter.font();
    font.setPixelSize(34);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 120, 300, 50), Qt::AlignCenter, QStringLiteral("Tallivo"));
    font.setPixelSize(13);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRect(0, 175, 300, 60), Qt::AlignCenter,
                     QStringLiteral("Le compteur de vos connexions\npar modem"));
    return picture;
}
} // namespace

TLogo::TLogo(QWidget* parent)
    // A splash window: the window manager offers no button on it (not even the close box that
    // a title bar would bring with some of them).
    : QWidget(parent, Qt::SplashScreen) {
    setObjectName(QStringLiteral("Logo"));
    setWindowTitle(ApplicationTitle());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QLabel(this);
    picture->setPixmap(SplashPicture());
    layout->addWidget(picture);
    setFixedSize(300, 267);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}
