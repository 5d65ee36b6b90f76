#pragma once

#include <QString>
#include <initializer_list>

class QWidget;

// Every message box of the program: French titles and button texts, one place.
enum class BoxKind { Warning, Error, Information, Confirmation };
enum class BoxButton { None, Yes, No, Ok, Cancel };

// Shows a modal box and returns the button pressed (None when it was closed otherwise).
// The first button listed is the default one. Each button's object name is its text
// without "&" ("Oui", "Non", "OK", "Annuler").
BoxButton ShowMessageBox(BoxKind kind, const QString& text,
                         std::initializer_list<BoxButton> buttons = {BoxButton::Ok},
                         QWidget* parent = nullptr);

// The program's standard error box for an error raised to it.
void ShowErrorBox(const QString& text, QWidget* parent = nullptr);

// "Confirmation" box with "&Oui" and "&Non"; true for "&Oui". A question whose "&Oui" cannot
// be undone makes "&Non" the default.
bool AskYesNo(const QString& text, QWidget* parent = nullptr,
              BoxButton defaultButton = BoxButton::Yes);
