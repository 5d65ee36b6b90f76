#pragma once

#include <QDialog>

class QTabWidget;

// The journal window. It exists for the whole run; its creation loads the journal and, as
// its last step, starts the session monitor.
class TJournal : public QDialog {
    Q_OBJECT
  public:
    explicit TJournal(QWidget* parent = nullptr);
    ~TJournal() override;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "Détail"
    QWidget* TabSheet2 = nullptr; // "Par mois"

    // Rows in the journal table, header included.
    int RowCount() const;
    void AppendSession();
    void SaveJournal();

  private:
    void FormCreate();
};
