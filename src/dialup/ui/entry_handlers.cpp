// Placeholder until the dial-up component lands.
#include "app/ui/tform1.h"

#include <QComboBox>

void TForm1::ComboBox1Click() {}
void TForm1::SelectEntry(const QString& name) {
    const int index = ComboBox1->findText(name, Qt::MatchFixedString);
    if (index >= 0) {
        ComboBox1->setCurrentIndex(index);
        ComboBox1Click();
    }
}
QString TForm1::CurrentEntryName() const {
    return ComboBox1->currentText();
}
void TForm1::Button1Click() {}
void TForm1::Button2Click() {}
