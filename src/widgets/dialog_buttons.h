#pragma once

#include <QDialogButtonBox>

class QDialog;

// The "OK" (default) and "Annuler" buttons of a dialog, named after their texts, wired to
// accept and reject. The caller places the box in its layout.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
