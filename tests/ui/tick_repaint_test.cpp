// The one-second tick repaints only what it changed; the counters' group box looks as Qt's own.

#include "app/ui/mini_window.h"
#include "app/ui/windows.h"
#include "dialup/tras.h"
#include "support/app_fixture.h"
#include "widgets/cached_group_box.h"
#include "widgets/tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMap>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {
// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject {
  public:
    QMap<QObject*, int> paints;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
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
