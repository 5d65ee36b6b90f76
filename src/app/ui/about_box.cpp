#include "app/ui/about_box.h"

#include "app/application_title.h"
#include "app/ui/url_label.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("A propos"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QGridLayout(this);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    ProductName = new QLabel(ApplicationTitle(), this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont bold = ProductName->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    ProductName->setFont(bold);
    Version = new QLabel(QStringLiteral("Version 1.0 - 32 bits"), this);
    Version->setObjectName(QStringLiteral("Version"));
    Comments = new QLabel(QStringLiteral("pour Windows 95/98/ME"), this);
    Comments->setObjectName(QStringLiteral("Comments"));
    Copyright = new QLabel(QStringLiteral("Logiciel libre écrit par l'équipe Tallivo."), this);
    Copyright->setObjectName(QStringLiteral("Copyright"));
    UrlLabel1 = new TUrlLabel(this);
    UrlLabel1->setObjectName(QStringLiteral("UrlLabel1"));
    UrlLabel1->setText(QStringLiteral("Site web de l'auteur"));
    UrlLabel1->URL = QStringLiteral("https://tallivo.example.org/");
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    layout->addWidget(ProgramIcon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(ProductName, 0, 1);
    layout->addWidget(Version, 1, 1);
    layout->addWidget(Comments, 2, 1);
    layout->addWidget(Copyright, 3, 0, 1, 2);
    layout->addWidget(UrlLabel1, 4, 0, 1, 2);
    layout->addWidget(OKButton, 5, 0, 1, 2, Qt::AlignCenter);
    setFixedSize(sizeHint());
}
