#include "dialup/ui/choose_connection_dialog.h"

#include "widgets/caption_width.h"
#include "widgets/dialog_buttons.h"

#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

TChoixConn::TChoixConn(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ChoixConn"));
    setWindowTitle(QStringLiteral("Choisissez la connexion à établir"));
    auto* layout = new QVBoxLayout(this);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    layout->addWidget(ListBox1);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(OkCancelButtons(this));
    MakeRoomForCaption(this);
}

void TChoixConn::showEvent(QShowEvent* event) {
    // The dialog is reused: a long name scrolled to last time must not hide the short ones.
    ListBox1->horizontalScrollBar()->setValue(0);
    QDialog::showEvent(event);
}
