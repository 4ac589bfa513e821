#include "editor/CmxEditor.h"

namespace vestimo::editor {

void OpenSelectedFile(shell::SkinEditControls&, const shell::Services&) {}
void SaveCmx(shell::SkinEditControls&, const shell::Services&) {}
void CloseOpenFile(shell::SkinEditControls&) {}

} // namespace vestimo::editor
