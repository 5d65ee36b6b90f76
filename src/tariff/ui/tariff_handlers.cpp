// Placeholder until the tariff table lands.
#include "app/ui/tform1.h"

void TForm1::LoadTariffTable() {}
void TForm1::ShowSelectedTariff() {}
void TForm1::StoreSelectedTariff() {}
void TForm1::ShowAssociation() {}
void TForm1::StoreAssociation() {}
void TForm1::ComboTarifClick() {}
void TForm1::ComboTarifChange() {}
void TForm1::Button3Click() {}
void TForm1::Button4Click() {}
void TForm1::Button5Click() {}
void TForm1::designEnter() {}
void TForm1::designExit() {}
void TForm1::coutminExit() {}
void TForm1::coutdebExit() {}
void TForm1::durdebExit() {}
void TForm1::durforExit() {}
void TForm1::ComboTarifAssoClick() {}
