#include "app/ui/mini_window.h"

#include "app/mini_window_layout.h"
#include "app/single_instance.h"
#include "app/ui/move_panel.h"
#include "app/ui/settings_positions.h"
#include "app/ui/windows.h"
#include "base/program_files.h"
#include "base/text_functions.h"
#include "widgets/counter_font.h"
#include "widgets/counter_glyphs.h"
#include "widgets/counter_text.h"
#include "widgets/label_colour.h"
#include "widgets/menu_popup.h"
#include "widgets/message_box.h"
#include "widgets/tform1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {
constexpr int labelHeight = 13;

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, int width,
                  const QColor& colour, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setPixelSize(11);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(alignment | Qt::AlignVCenter);
    // A fixed size: a label whose size may follow its text asks its parent to lay its
    // children out again at each new text, every second of a session.
    label->move(left, top);
    label->setFixedSize(width, labelHeight);
    return label;
}
} // namespace

TMiniWin::TMiniWin(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("MiniWin"));
    // Shown when a count starts: the keyboard stays where the user is (the main window's
    // "Arrêter", another program).
    setAttribute(Qt::WA_ShowWithoutActivating);
    const MiniWindowLayout designed;
    setFixedWidth(designed.windowWidth);
    resize(designed.windowWidth, 39);

    MovePanel1 = new TMovePanel(this);
    MovePanel1->setObjectName(QStringLiteral("MovePanel1"));
    MovePanel1->setGeometry(0, 0, designed.windowWidth, 40);
    MovePanel1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(MovePanel1, &TMovePanel::DoubleClicked, this, &TMiniWin::MovePanel1DblClick);
    connect(MovePanel1, &TMovePanel::MoveStarted, this, [this] { steppedBackFrom.reset(); });
    connect(MovePanel1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (Form1 && Form1->PopupMenu1)
            PopupRightAligned(Form1->PopupMenu1, MovePanel1->mapToGlobal(at));
    });

    const int left = miniCounterLeft;
    Label13 = MakeLabel(MovePanel1, "Label13", left, 1, designed.timeWidth, Qt::white);
    Label29 = MakeLabel(MovePanel1, "Label29", designed.costLeft, 1, designed.costWidth, Qt::red,
                        Qt::AlignRight);
    mspeed = MakeLabel(MovePanel1, "mspeed", left, 13, designed.speedWidth, QColor(0, 255, 0));
    Label1 = MakeLabel(MovePanel1, "Label1", left, 25, 40, QColor(0, 255, 255));
    Label1->setText(QStringLiteral("Reste :"));
    restefor = MakeLabel(MovePanel1, "restefor", designed.remainingLeft, 25,
                         designed.remainingWidth, QColor(0, 255, 255), Qt::AlignRight);
    LayOutWithoutShaping({Label13, Label29, restefor});
    DrawFromGlyphs({Label13, Label29, mspeed, restefor});
    Label1->hide();
    restefor->hide();
    for (QLabel* label : {Label13, Label29, mspeed, Label1, restefor})
        MovePanel1->DragThrough(label);

    OnlyOne1 = new TOnlyOne(this);
    OnlyOne1->setObjectName(QStringLiteral("OnlyOne1"));
    FormCreate();
    RunSingleInstanceCheck();
}

void TMiniWin::FormCreate() {
    const QPoint position = LoadMiniWindowPosition(size());
    move(position);
    KeepOnScreenWhenScreensChange();
    mspeed->clear();
    MovePanel1->setAutoFillBackground(true);
    QPalette palette = MovePanel1->palette();
    palette.setColor(QPalette::Window, Qt::black);
    MovePanel1->setPalette(palette);
}

// A screen made smaller or unplugged while the program runs would leave the counter out of
// reach; the window manager does not move a window it does not frame.
void TMiniWin::KeepOnScreenWhenScreensChange() {
    const auto keepOnScreen = [this] {
        // Once Qt has taken the change in: a screen being removed is still listed now.
        QTimer::singleShot(0, this, [this] { move(MiniWindowKeptOnScreen(pos(), size())); });
    };
    const auto watch = [this, keepOnScreen](const QScreen* screen) {
        connect(screen, &QScreen::availableGeometryChanged, this, keepOnScreen);
    };
    for (const QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, watch);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, keepOnScreen);
}

void TMiniWin::RunSingleInstanceCheck() {
    connect(OnlyOne1, &TOnlyOne::RaiseRequested, this, [] {
        if (Form1)
            Form1->TrayIcon1DblClick();
    });
    if (OnlyOne1->Check())
        return;
    // Started with another runtime folder (through su or sudo), it cannot ask the first copy
    // to come forward: it says where that copy is instead.
    if (OnlyOne1->OwnerUnreachable())
        ShowMessageBox(BoxKind::Information,
                       QStringLiteral("Tallivo fonctionne déjà avec les fichiers de %1 : "
                                      "ouvrez-le depuis son icône dans la zone de notification.")
                           .arg(ProgramFiles::DataFolder()));
    // This copy hands over to the first one: keep its window out of sight.
    const QScreen* screen = QGuiApplication::primaryScreen();
    move(x(), (screen ? screen->geometry().height() : 768) + 1);
}

void TMiniWin::FitMiniWindow() {
    if (!isVisible())
        return;
    int height = Label13->y() + Label13->height() + 2;
    if (!mspeed->text().isEmpty())
        height = mspeed->y() + mspeed->height() + 2;
    if (Label1->isVisibleTo(this))
        height = Label1->y() + Label1->height() + 2;
    setFixedHeight(height);
    FitWidthToTexts();
}

void TMiniWin::FitWidthToTexts() {
    // One font for all: the labels differ only in whether their text is shaped, which their
    // widths here need not follow (the layout leaves a margin for it).
    CounterFont& font = CounterFont::Of(*Label13);
    const auto widthOf = [this, &font](QLabel* label) {
        return label->isVisibleTo(this) ? font.Width(label->text()) : 0.0;
    };
    const MiniWindowLayout layout = FitMiniWindowWidth(
        {widthOf(Label13), widthOf(Label29), widthOf(mspeed), widthOf(Label1), widthOf(restefor)});
    if (layout == fittedLayout)
        return;
    fittedLayout = layout;
    setFixedWidth(layout.windowWidth);
    MovePanel1->resize(layout.windowWidth, MovePanel1->height());
    Label13->setFixedWidth(layout.timeWidth);
    Label29->move(layout.costLeft, Label29->y());
    Label29->setFixedWidth(layout.costWidth);
    mspeed->setFixedWidth(layout.speedWidth);
    restefor->move(layout.remainingLeft, restefor->y());
    restefor->setFixedWidth(layout.remainingWidth);
    // Widened against the screen's right edge, the window steps back onto the screen, and
    // returns to its place once its texts narrow again.
    if (const QScreen* shown = screen()) {
        const QRect area = shown->geometry();
        const int placed = PlacedLeft();
        const int overflow = placed + layout.windowWidth - area.right() - 1;
        const int left = overflow > 0 ? std::max(area.left(), placed - overflow) : placed;
        steppedBackFrom = left == placed ? std::nullopt : std::optional<int>(placed);
        if (left != x())
            move(left, y());
    }
}

void TMiniWin::SetStayOnTop(bool onTop) {
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    // setWindowFlags() would destroy the native window and map a new one: the flags of the
    // existing one are changed in place (on X11 a _NET_WM_STATE_ABOVE request), and the
    // widget only records them for a window created later.
    if (QWindow* handle = windowHandle())
        handle->setFlags(flags);
    overrideWindowFlags(flags);
}

void TMiniWin::MovePanel1DblClick() {
    if (Form1)
        Form1->TrayIcon1DblClick();
}

void TMiniWin::closeEvent(QCloseEvent* event) {
    // Closed by the window manager (Alt+F4 on it), the program asks as "Quitter" does: ending
    // silently would leave a paid line up and uncounted.
    if (event->spontaneous() && Form1) {
        event->ignore();
        // Asked once this close is over: the quit closes this window again, which Qt refuses
        // while a close of it is under way.
        QTimer::singleShot(0, Form1, [] { Form1->Test31Click(); });
        return;
    }
    if (Form1)
        Form1->SaveSettings();
    event->accept();
    RunProgramExitHandler();
}

void TMiniWin::ShowElapsed(qint32 elapsed) {
    SetCounterText(Label13, DurationText(elapsed));
}

void TMiniWin::ShowCost(const CostDisplay& display) {
    SetHint(Label13, display.usedHint);
    if (display.allowanceShown) {
        SetTextColour(restefor, display.remainingPositive ? QColor(0, 255, 255) : QColor(Qt::red));
        SetCounterText(restefor, display.remainingMiniText);
    }
    Label1->setVisible(display.allowanceShown);
    restefor->setVisible(display.allowanceShown);
    SetHint(Label29, display.costHint);
}
