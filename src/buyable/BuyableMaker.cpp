#include "buyable/BuyableMaker.h"

namespace vestimo::buyable {

void File1_Click(shell::BuyableControls&, const shell::Services&) {}
void cmdLoadFile_Click(shell::BuyableControls&, const shell::Services&) {}
void cmdLoadCMX_Click(shell::BuyableControls&, const shell::Services&) {}
void cmdCloseFile_Click(shell::BuyableControls&) {}
void ChooseCategory(shell::BuyableControls&, Category) {}
void cmdExport_Click(shell::BuyableControls&, const shell::Services&) {}

} // namespace vestimo::buyable
