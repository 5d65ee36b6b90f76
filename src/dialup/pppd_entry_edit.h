#pragma once

// Edits of an entry's options file and chat script made in place, word by word: every other
// line, comment, option and line end stays as written. Lines are the file split at '\n'.

#include <QByteArray>
#include <QList>
#include <QString>

// Replaces the word `from` (a device or a speed) wherever it stands alone on its line; true
// when found. "/dev/ttyS1" also matches the line "ttyS1".
bool ReplaceLoneWord(QList<QByteArray>* lines, const QString& from, const QString& to);
// Replaces the word after `option` when the line is that option's ("remotename NAME"), keeping
// the rest of the line (a comment, a CR); true when it was.
bool ReplaceOptionValue(QByteArray* line, const QByteArray& option, const QByteArray& value);
// Sets the user name, an options-file word, on the "user" lines, or adds one before the
// file's last line end.
void SetUserLines(QList<QByteArray>* lines, const QByteArray& userWord);
// Replaces the number after chat's -T on the connect line; true when found.
bool ReplaceConnectNumber(QList<QByteArray>* lines, const QString& number);
// Replaces the number of the chat script's first dial command (ATD, ATDT, ATDP), keeping the
// command and the word's quotes; true when found.
bool ReplaceDialedNumber(QByteArray* script, const QString& number);
// What follows a line's last word: a comment with the blanks before it, and a CR.
QByteArray LineTail(const QByteArray& line);
