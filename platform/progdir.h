// The program folder: the folder of the running executable, without a
// trailing slash. server.xml, Logs/, the database files, the registry files
// and SnmpOutput/ live there.
#pragma once

#include <string>

std::string GetProgramFolder();
