#include "app/ui/visual_alert.h"

#include "app/application_title.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace {
QLabel* MakeLine(QWidget* parent, const char* name, int top, int pixelSize, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(112, top, 257, pixelSize + 10);
    return label;
}
} // namespace

TVisualAlert::TVisualAlert(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("VisualAlert"));
    setModal(false);
    setFixedSize(386, 153);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(8, 8, 370, 102);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(89, 89));
    Image1->hide();
    Image3 = new QLabel(frame);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(12, 9, 86, 84);
    Image3->setScaledContents(true);

    Label2 = MakeLine(frame, "Label2", 10, 19, Qt::red);
    Label1 = MakeLine(frame, "Label1", 42, 13, Qt::black);
    Label3 = MakeLine(frame, "Label3", 68, 13, Qt::black);
    for (QLabel* label : {Label2, Label1, Label3})
        label->move(label->x() - 8, label->y());

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(155, 118, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TVisualAlert::Button1Click);
    FormCreate();
}

void TVisualAlert::FormCreate() {
    setWindowTitle(ApplicationTitle());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TVisualAlert::showEvent(QShowEvent* event) {
    Image3->setPixmap(Image1->pixmap());
    // Watched only while open: the application's events pass by here only then.
    qApp->installEventFilter(this);
    QDialog::showEvent(event);
}

void TVisualAlert::hideEvent(QHideEvent* event) {
    qApp->removeEventFilter(this);
    QDialog::hideEvent(event);
}

bool TVisualAlert::eventFilter(QObject* watched, QEvent* event) {
    const bool shownOrHidden = event->type() == QEvent::Show || event->type() == QEvent::Hide;
    if (shownOrHidden && watched != this && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->isModal())
            QTimer::singleShot(0, this, [this] { KeepDialogsInReach(); });
    }
    return QDialog::eventFilter(watched, event);
}

void TVisualAlert::KeepDialogsInReach() {
    QWidget* modal = QApplication::activeModalWidget();
    const bool dialogOpen = modal && modal != this;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == dialogOpen) {
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, !dialogOpen); // hides the window
        if (shown) {
            setAttribute(Qt::WA_ShowWithoutActivating, dialogOpen);
            show();
            setAttribute(Qt::WA_ShowWithoutActivating, false);
        }
    }
    if (dialogOpen) {
        modal->raise();
        modal->activateWindow();
    }
}

void TVisualAlert::ShowAlert(const QString& value, const QString& message, const QString& detail) {
    Label2->setText(value);
    Label1->setText(message);
    Label3->setText(detail);
    // Minimised by the user, it is still "visible": it has to be brought back.
    if (isMinimized())
        showNormal();
    else if (!isVisible())
        show();
    raise();
    activateWindow();
    KeepDialogsInReach();
}

void TVisualAlert::Button1Click() {
    close();
}
