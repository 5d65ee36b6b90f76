#pragma once

#include <QLabel>
#include <QString>

#include <type_traits>

class QWidget;

// Small helpers shared by the main window's page builders: every control gets its member
// name as object name, and captions and hints are set in one place.
template <typename Control>
Control* Named(Control* control, const char* name, const QString& hint = {}) {
    control->setObjectName(QString::fromLatin1(name));
    // Labels show names from files and from the user (tariffs, entries) as written, never
    // as markup.
    if constexpr (std::is_base_of_v<QLabel, Control>)
        control->setTextFormat(Qt::PlainText);
    if (!hint.isEmpty())
        control->setToolTip(hint);
    return control;
}

QLabel* CaptionLabel(const QString& text, QWidget* parent = nullptr);
