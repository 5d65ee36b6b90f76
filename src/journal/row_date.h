#pragma once

#include <QDate>
#include <QString>

// The "Date" cell of a journal row, "dd/mm/yyyy" as the program writes it, read without the
// general parser (which takes every form a user may have typed) since a whole journal is read
// at once. Other forms go through the general parser; invalid when it is not a date.
QDate JournalRowDate(const QString& text);
