#pragma once

class QFileDialog;

// Has the program's own file dialog show each file's type in French ("Dossier", "CSV")
// from its name alone, with the style's icons. Qt's default guesses the type from the
// file's first bytes, which blocks the whole program on a device such as /proc/kmsg, and
// names it in English.
void UsePlainFileIcons(QFileDialog& dialog);
