// The one-second tick repaints only what it changed; the counters' group box looks as Qt's own.

#include "app/ui/mini_window.h"
#include "app/ui/windows.h"
#include "dialup/tras.h"
#include "support/app_fixture.h"
#include "support/ui_support.h"
#include "widgets/cached_group_box.h"
#include "widgets/counter_backdrop.h"
#include "widgets/counter_glyphs.h"
#include "widgets/counter_text.h"
#include "widgets/tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMap>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {
// Counts the paint events of the widgets it watches, and keeps the place each last repainted.
class PaintCounter : public QObject {
  public:
    QMap<QObject*, int> paints;
    QMap<QObject*, QRect> places;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints[watched];
            places[watched] = static_cast<QPaintEvent*>(event)->rect();
        }
        return false;
    }
};

class TickRepaintTest : public SimulatedModemTest {
  protected:
    // One tick, its repaints done.
    void Tick() {
        QThread::msleep(20); // two modem seconds: the byte counters move
        clock->clock.advanceSeconds(1);
        Form1->PollConnection();
        QApplication::processEvents();
        QApplication::processEvents();
    }
};

QRect InWindow(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}
} // namespace

TEST_F(TickRepaintTest, ATickRepaintsOnlyTheCountersItChanged) {
    Dial(QStringLiteral("Simulation 56K"));
    ASSERT_EQ(Form1->RAS->ConnectState, 8192);
    Form1->show();
    for (int i = 0; i < 3; ++i) // the session starts, its counters get their first texts
        Tick();
    ASSERT_TRUE(Form1->SessionActive);
    ASSERT_TRUE(MiniWin->isVisible());

    QList<QWidget*> watched = Form1->findChildren<QWidget*>() + MiniWin->findChildren<QWidget*>();
    PaintCounter counter;
    for (int tick = 0; tick < 3; ++tick) {
        QMap<QLabel*, QString> before;
        for (QWidget* widget : watched) {
            widget->installEventFilter(&counter);
            if (auto* label = qobject_cast<QLabel*>(widget); label && label->isVisible())
                before.insert(label, label->text());
        }
        counter.paints.clear();
        const QRect groupBox = Form1->GroupBox1->geometry();
        Tick();

        QList<QLabel*> changed;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (it.key()->text() != it.value())
                changed << it.key();
        ASSERT_TRUE(changed.contains(Form1->Label13));
        ASSERT_TRUE(changed.contains(MiniWin->Label13));
        for (QLabel* label : changed)
            EXPECT_GT(counter.paints.value(label), 0) << label->objectName().toStdString();
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QLabel* label = it.key();
            if (changed.contains(label))
                continue;
            // A label that a changed one overlaps is repainted with it.
            const bool overlapped =
                std::any_of(changed.cbegin(), changed.cend(), [&](QLabel* other) {
                    return other->window() == label->window() &&
                           InWindow(other).intersects(InWindow(label));
                });
            if (!overlapped) {
                EXPECT_EQ(counter.paints.value(label), 0)
                    << label->objectName().toStdString() << " \"" << label->text().toStdString()
                    << "\" repainted at tick " << tick;
            }
        }
        // The main window's counters paint over a picture of what lies under them: not the
        // group box, the page, the tab widget or the window.
        const QList<QWidget*> beneath = {Form1->GroupBox1, Form1->TabSheet2, Form1->PageControl1,
                                         Form1};
        for (QWidget* under : beneath)
            EXPECT_EQ(counter.paints.value(under), 0)
                << under->objectName().toStdString() << " repainted at tick " << tick;
        // Nothing else on the page is repainted whole: not the tabs, not a button.
        for (QWidget* widget : watched) {
            if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QTabBar*>(widget)) {
                EXPECT_EQ(counter.paints.value(widget), 0)
                    << widget->objectName().toStdString() << " repainted at tick " << tick;
            }
        }
        EXPECT_EQ(Form1->GroupBox1->geometry(), groupBox);
    }
}

TEST(CachedGroupBoxTest, PaintsAsAGroupBoxAlsoInPartsAndAfterItsTitleChanges) {
    CachedGroupBox cached(QStringLiteral("Non connecté"));
    QGroupBox plain(QStringLiteral("Non connecté"));
    for (QGroupBox* box : {static_cast<QGroupBox*>(&cached), &plain})
        box->resize(400, 220);
    const auto image = [](QGroupBox& box, const QRegion& region) {
        QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        box.render(&image, QPoint(), region);
        return image;
    };
    // A region of several bands, as the counters' repaints make it.
    const QRegion counters =
        QRegion(10, 40, 150, 34) + QRegion(200, 40, 150, 34) + QRegion(10, 120, 380, 25);
    EXPECT_EQ(image(cached, {}), image(plain, {}));
    EXPECT_EQ(image(cached, counters), image(plain, counters));
    for (QGroupBox* box : {static_cast<QGroupBox*>(&cached), &plain})
        box->setTitle(QStringLiteral("Connecté à Simulation 56K depuis 10:00:00"));
    EXPECT_EQ(image(cached, {}), image(plain, {}));
    for (QGroupBox* box : {static_cast<QGroupBox*>(&cached), &plain})
        box->setEnabled(false);
    EXPECT_EQ(image(cached, QRegion(0, 0, 400, 30)), image(plain, QRegion(0, 0, 400, 30)));
}

namespace {
// A counter in a group box on a tab page, as on the main window.
struct CounterWindow {
    QWidget window;
    QGroupBox* box = nullptr;
    QLabel* counter = nullptr;
    CounterWindow() {
        auto* tabs = new QTabWidget(&window);
        auto* page = new QWidget;
        tabs->addTab(page, QStringLiteral("Tallivo"));
        box = new QGroupBox(QStringLiteral("Connecté"), page);
        box->setGeometry(8, 8, 260, 90);
        new QLabel(QStringLiteral("Transmis :"), box);
        counter = new QLabel(box);
        counter->setGeometry(100, 30, 140, 20);
        tabs->setGeometry(0, 0, 290, 140);
        window.resize(290, 140);
        window.show();
    }
    QImage OnScreen() {
        QApplication::processEvents();
        QApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage();
    }
};
} // namespace

TEST(CounterBackdropTest, AKeptCounterLooksAsBeforeWithoutRepaintingWhatLiesUnderIt) {
    CounterWindow shown;
    ASSERT_TRUE(WaitUntil([&] { return shown.window.windowHandle()->isExposed(); }));
    shown.counter->setText(QStringLiteral("38820 octets"));
    const QImage transparent = shown.OnScreen();

    PaintOverKeptBackdrop({shown.counter});
    EXPECT_TRUE(shown.counter->testAttribute(Qt::WA_OpaquePaintEvent));
    PaintCounter counter;
    shown.box->installEventFilter(&counter);
    shown.counter->setText(QStringLiteral("1234567 octets"));
    shown.OnScreen();
    shown.counter->setText(QStringLiteral("38820 octets"));
    EXPECT_EQ(shown.OnScreen(), transparent);
    EXPECT_EQ(counter.paints.value(shown.box), 0);

    // A new palette: Qt paints what lies under the counter until a new picture is taken.
    QPalette palette = shown.window.palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 200));
    shown.window.setPalette(palette);
    const QImage yellow = shown.OnScreen();
    EXPECT_NE(yellow, transparent);
    EXPECT_FALSE(shown.counter->testAttribute(Qt::WA_OpaquePaintEvent));
    PaintOverKeptBackdrop({shown.counter});
    shown.counter->setText(QStringLiteral("1234567 octets"));
    shown.OnScreen();
    shown.counter->setText(QStringLiteral("38820 octets"));
    EXPECT_EQ(shown.OnScreen(), yellow);

    // A sibling over part of the counter would be hidden by the picture: no picture then.
    auto* over = new QLabel(QStringLiteral("x"), shown.box);
    over->setGeometry(230, 30, 20, 20);
    over->show();
    shown.OnScreen(); // the sibling's paint reaches the counter, which drops its picture
    EXPECT_FALSE(shown.counter->testAttribute(Qt::WA_OpaquePaintEvent));
    PaintOverKeptBackdrop({shown.counter});
    EXPECT_FALSE(shown.counter->testAttribute(Qt::WA_OpaquePaintEvent));
}

// The counters laid out without shaping show their figures exactly as shaped text.
TEST(CounterTextTest, FiguresLookTheSameWithoutShaping) {
    QLabel large, plain, mini;
    QFont font = large.font();
    font.setPointSize(22);
    font.setBold(true);
    large.setFont(font);
    font = mini.font();
    font.setPixelSize(11);
    mini.setFont(font);
    const auto render = [](const QFont& font, const QString& text) {
        QImage image(360, 44, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.drawText(image.rect(), Qt::AlignRight | Qt::AlignVCenter, text);
        return image;
    };
    for (QLabel* counter : {&large, &plain, &mini}) {
        const QFont shaped = counter->font();
        LayOutWithoutShaping({counter});
        for (const QString& text :
             {QStringLiteral("01:23:45"), QStringLiteral("1 234,56 €"), QStringLiteral("-9:07"),
              QStringLiteral("67890 octets"), QStringLiteral("192.168.100.254"),
              QStringLiteral("12 h 34 mn")})
            EXPECT_EQ(render(counter->font(), text), render(shaped, text)) << text.toStdString();
    }
}

// Counters drawn from their glyphs show the same pixels as QLabel's own text layout, figures
// laid out without shaping, and speeds with their shaped unit.
TEST(CounterTextTest, CountersDrawnFromGlyphsLookAsTheLabelDrawsThem) {
    QLabel probe;
    QFont large = probe.font();
    large.setPointSize(22);
    large.setBold(true);
    QFont mini = probe.font();
    mini.setPixelSize(11);
    const QList<QString> figures = {QStringLiteral("01:23:45"),
                                    QStringLiteral("1 234,56 €"),
                                    QStringLiteral("-9:07"),
                                    QStringLiteral("67890 octets"),
                                    QStringLiteral("192.168.100.254"),
                                    QStringLiteral("12 h 34 mn"),
                                    QString(),
                                    QStringLiteral("12\u00AD34"),
                                    QStringLiteral("e\u0301")};
    const QList<QString> speeds = {QStringLiteral("5,27 Ko/sec"), QStringLiteral("0,00 Ko/sec"),
                                   QStringLiteral("12,30 Ko/sec")};
    int drawnFromGlyphs = 0;
    for (const bool shaped : {false, true})
        for (const QFont& font : {probe.font(), large, mini})
            for (const QSize size : {QSize(190, 40), QSize(171, 13), QSize(53, 12), QSize(120, 27)})
                for (const Qt::Alignment alignment :
                     {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
                      Qt::AlignHCenter | Qt::AlignVCenter, Qt::AlignLeft | Qt::AlignTop,
                      Qt::AlignRight | Qt::AlignBottom}) {
                    QLabel label, drawn; // QLabel's own painting; drawn from its glyphs
                    for (QLabel* counter : {&label, &drawn}) {
                        counter->setFont(font);
                        counter->setAlignment(alignment);
                        counter->resize(size);
                        if (!shaped)
                            LayOutWithoutShaping({counter});
                    }
                    DrawFromGlyphs({&drawn});
                    for (const QString& text : shaped ? speeds : figures) {
                        label.setText(text);
                        drawn.setText(text);
                        QImage image(size, QImage::Format_ARGB32_Premultiplied);
                        QPainter painter(&image);
                        drawnFromGlyphs += DrawCounterGlyphs(painter, drawn);
                        EXPECT_EQ(drawn.grab().toImage(), label.grab().toImage())
                            << text.toStdString() << " in " << size.width() << "x" << size.height();
                    }
                }
    EXPECT_GT(drawnFromGlyphs, 3 * 4 * 5 * 10 / 2); // others overflow, or are left to QLabel
}

TEST(CounterTextTest, ANewTextRepaintsWhereItChangedAndLooksAsAWholeRepaint) {
    QWidget window;
    QFont large = window.font();
    large.setPointSize(22);
    large.setBold(true);
    const auto counter = [&](const QRect& place, Qt::Alignment alignment) {
        auto* label = new QLabel(&window);
        label->setGeometry(place);
        label->setAlignment(alignment | Qt::AlignVCenter);
        return label;
    };
    QLabel* time = counter({10, 10, 300, 40}, Qt::AlignLeft);
    QLabel* cost = counter({320, 10, 200, 40}, Qt::AlignRight);
    QLabel* speed = counter({10, 60, 200, 20}, Qt::AlignLeft);
    QLabel* address = counter({220, 60, 200, 20}, Qt::AlignHCenter);
    for (QLabel* figures : {time, cost})
        figures->setFont(large);
    LayOutWithoutShaping({time, cost, address});
    DrawFromGlyphs({time, cost, speed, address});
    window.resize(530, 90);
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.windowHandle()->isExposed(); }));
    PaintOverKeptBackdrop({time, cost}); // as the main window's, over kept pictures
    const auto onScreen = [&] {
        QApplication::processEvents();
        QApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage();
    };
    PaintCounter paints;
    for (QLabel* label : {time, cost, speed, address})
        label->installEventFilter(&paints);

    const QList<std::pair<QLabel*, QString>> steps = {
        {time, QStringLiteral("00:00:59")},     {time, QStringLiteral("00:01:00")},
        {time, QStringLiteral("00:01:01")},     {time, QStringLiteral("10:00:00")},
        {cost, QStringLiteral("9,99 F")},       {cost, QStringLiteral("10,00 F")},
        {cost, QStringLiteral("10,05 F")},      {cost, QStringLiteral("8 F")},
        {speed, QStringLiteral("5,27 Ko/sec")}, {speed, QStringLiteral("12,30 Ko/sec")},
        {speed, QStringLiteral("4,1 Ko/sec")},  {speed, QString()},
        {address, QStringLiteral("192.0.2.1")}, {address, QStringLiteral("192.0.2.11")},
        {address, QStringLiteral("10.0.0.1")}};
    for (const auto& [label, text] : steps) {
        paints.places.clear();
        SetCounterText(label, text);
        const QImage partly = onScreen();
        EXPECT_EQ(label->text(), text);
        if (text == QStringLiteral("00:01:01")) { // the last figure and its margins
            EXPECT_LT(paints.places.value(label).width(), time->width() / 3);
        }
        window.update();
        EXPECT_EQ(partly, onScreen()) << text.toStdString();
    }
}
