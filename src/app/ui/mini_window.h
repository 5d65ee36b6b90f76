#pragma once

#include "app/mini_window_layout.h"
#include "widgets/cost_display.h"

#include <QWidget>
#include <optional>

class QLabel;
class TMovePanel;
class TOnlyOne;

// The small borderless black counter window shown while a session or a chronometer run is
// counted. It is the program's principal window: closing it ends the program.
class TMiniWin : public QWidget {
    Q_OBJECT
  public:
    explicit TMiniWin(QWidget* parent = nullptr);

    TMovePanel* MovePanel1 = nullptr;
    TOnlyOne* OnlyOne1 = nullptr;
    QLabel* Label13 = nullptr; // elapsed time
    QLabel* Label29 = nullptr; // cost
    QLabel* mspeed = nullptr;  // average speed
    QLabel* Label1 = nullptr;  // "Reste :"
    QLabel* restefor = nullptr;

    void FitMiniWindow();
    // Where the window's left edge belongs: the user's place, even while a wide text keeps
    // the window stepped back from the screen's right edge. Saved in the settings.
    int PlacedLeft() const { return steppedBackFrom.value_or(x()); }
    // Keeps the window in front of other windows, or releases it, without moving it.
    void SetStayOnTop(bool onTop);

  public slots:
    void MovePanel1DblClick();
    // The elapsed time of the session model's tick.
    void ShowElapsed(qint32 elapsed);
    // The main window's cost display, as this window shows it.
    void ShowCost(const CostDisplay& display);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void RunSingleInstanceCheck();
    void KeepOnScreenWhenScreensChange();
    // Widens the window and its boxes for texts wider than the design leaves them.
    void FitWidthToTexts();
    std::optional<int> steppedBackFrom; // the left edge before a step back

    MiniWindowLayout fittedLayout;
};
