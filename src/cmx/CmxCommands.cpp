#include "cmx/CmxCommands.h"

namespace vestimo::cmx {

void CheckAllCmx(shell::SkinEditControls&, const shell::Services&) {}

} // namespace vestimo::cmx
