#pragma once

class QObject;

// Has Qt's own dialogs (print, file, progress) speak French: Qt's French catalogue, and
// after it the few texts that catalogue lacks (the printer's properties, double-sided
// printing, the file types).
// The translations belong to owner, and end with it.
void InstallFrenchTranslations(QObject& owner);
