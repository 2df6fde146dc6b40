// The library's process-wide objects, defined in one translation unit so that
// they are built in this order when the DLL loads and destroyed in the
// reverse order when it unloads.
#include "commands/cmd_manager.h"

VEzaCmdManager::VEzaCmdManagerAutoPtr g_CmdManager;
