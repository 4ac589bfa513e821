#pragma once

#include "core/buyable/BuyableExport.h"
#include "gui/buyable/BuyableControls.h"
#include "gui/app/Services.h"

#include <QString>

namespace vestimo::buyable {

// The commands of the buyable skin maker window.
void File1_Click(shell::BuyableControls& window, const shell::Services& services);
// File1_Click's steps for the CMX file `fileName` of the skin directory.
void pickCmxFile(shell::BuyableControls& window, const shell::Services& services, const QString& fileName);
void cmdLoadFile_Click(shell::BuyableControls& window, const shell::Services& services);
void cmdLoadCMX_Click(shell::BuyableControls& window, const shell::Services& services);
void cmdCloseFile_Click(shell::BuyableControls& window);
// Option2_Click to Option6_Click: the category letter into both names.
void chooseCategory(shell::BuyableControls& window, Category category);
void cmdExport_Click(shell::BuyableControls& window, const shell::Services& services);

} // namespace vestimo::buyable
