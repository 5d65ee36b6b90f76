// Placeholder until the alarms land.
#include "app/ui/tform1.h"

void TForm1::EvaluateAlarms(qint32, AlarmMode) {}
void TForm1::PlayAlarmSound() {}
void TForm1::ShowVisualAlert(const QString&, const QString&, const QString&) {}
void TForm1::SelectAlarmSound() {}
void TForm1::Button9Click() {}
void TForm1::SpinEdit2Change() {}
void TForm1::SpinEdit3Change() {}
void TForm1::SpinEdit4Change() {}
void TForm1::SpinEdit5Change() {}
