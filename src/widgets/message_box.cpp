#include "widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {
QString TitleOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Warning:
        return QStringLiteral("Avertissement");
    case BoxKind::Error:
        return QStringLiteral("Erreur");
    case BoxKind::Information:
        return QStringLiteral("Information");
    case BoxKind::Confirmation:
        return QStringLiteral("Confirmation");
    }
    return {};
}

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Warning:
        return QMessageBox::Warning;
    case BoxKind::Error:
        return QMessageBox::Critical;
    case BoxKind::Information:
        return QMessageBox::Information;
    case BoxKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

struct ButtonLook {
    QString text;
    QMessageBox::ButtonRole role;
};

ButtonLook LookOf(BoxButton button) {
    switch (button) {
    case BoxButton::Yes:
        return {QStringLiteral("&Oui"), QMessageBox::YesRole};
    case BoxButton::No:
        return {QStringLiteral("&Non"), QMessageBox::NoRole};
    case BoxButton::Cancel:
        return {QStringLiteral("Annuler"), QMessageBox::RejectRole};
    case BoxButton::Ok:
    case BoxButton::None:
        break;
    }
    return {QStringLiteral("OK"), QMessageBox::AcceptRole};
}
} // namespace

BoxButton ShowMessageBox(BoxKind kind, const QString& text,
                         std::initializer_list<BoxButton> buttons, QWidget* parent) {
    // A lone carriage return separates lines in the program's texts.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(IconOf(kind), TitleOf(kind), shown, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    // A box that must be answered is never under one of the program's windows that stay on
    // top (the alarm's alert, the mini window), where its buttons could not be reached.
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
            return window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        }))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    QList<QPair<QPushButton*, BoxButton>> added;
    for (const BoxButton button : buttons) {
        const ButtonLook look = LookOf(button);
        QPushButton* pushButton = box.addButton(look.text, look.role);
        pushButton->setObjectName(QString(look.text).remove(QLatin1Char('&')));
        added.append({pushButton, button});
    }
    if (!added.isEmpty())
        box.setDefaultButton(added.first().first);
    // Escape answers "Annuler" when offered, else "&Non", else the only button.
    for (const BoxButton escape : {BoxButton::Cancel, BoxButton::No, BoxButton::Ok}) {
        auto found = std::find_if(added.begin(), added.end(),
                                  [escape](const auto& pair) { return pair.second == escape; });
        if (found != added.end()) {
            box.setEscapeButton(found->first);
            break;
        }
    }
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    for (const auto& [pushButton, button] : added)
        if (box.clickedButton() == pushButton)
            return button;
    return BoxButton::None;
}

void ShowErrorBox(const QString& text, QWidget* parent) {
    ShowMessageBox(BoxKind::Error, text, {BoxButton::Ok}, parent);
}

bool AskYesNo(const QString& text, QWidget* parent, BoxButton defaultButton) {
    // The buttons keep their places whatever their order here: the first is the default.
    if (defaultButton == BoxButton::No)
        return ShowMessageBox(BoxKind::Confirmation, text, {BoxButton::No, BoxButton::Yes},
                              parent) == BoxButton::Yes;
    return ShowMessageBox(BoxKind::Confirmation, text, {BoxButton::Yes, BoxButton::No}, parent) ==
           BoxButton::Yes;
}
