// The floor of a session's second for any Qt widgets program on this machine: a bare window
// of the main window's size whose two labels get a new text each second (the time, a number),
// and with --clock-caption (Qt takes --title for itself) its caption too, carrying the clock as the
// main window's does. Run by scripts/wakeups.sh (modes bare and bare-title) in the same X session
// as the program.

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool withTitle = application.arguments().contains(QStringLiteral("--clock-caption"));
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* clock = new QLabel;
    auto* number = new QLabel;
    layout->addWidget(clock);
    layout->addWidget(number);
    window.resize(550, 296);
    window.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const QDateTime now = QDateTime::currentDateTime();
        const QString text = now.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
        clock->setText(text);
        number->setText(QString::number(now.toMSecsSinceEpoch() % 100000));
        if (withTitle)
            window.setWindowTitle(QStringLiteral("Bare - ") + text);
    });
    tick.start(1000);
    return application.exec();
}
