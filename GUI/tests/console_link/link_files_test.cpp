// The link's files under Windows: the connection log cut in place (the new
// content replaces the old file, which Windows renames differently from
// POSIX), the watch thread's cut, the settings section written and read
// back with Windows's 32-bit long, and the module's paths.
#include "connection_log.h"
#include "module_paths.h"
#include "win_module_paths.h"
#include "xml_settings.h"

#include "wtest.h"

#include <tinyxml.h>
#include <windows.h>

#include <fstream>
#include <iterator>

namespace {

std::string TempFile(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& name, const std::string& text)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace

WTEST(ACutReplacesTheLogFileInPlace)
{
    const std::string name = TempFile("trv-cut.log");
    WriteFile(name, "abcdefg\r\nhij");
    WCHECK(CutLogFile(name, 50));
    WCHECK_EQ(ReadFile(name), std::string("g\r\nhij"));  // 12 bytes, 6 cut, line ends kept as bytes
    WCHECK(GetFileAttributesA((name + ".cut").c_str()) == INVALID_FILE_ATTRIBUTES);
    WCHECK(CutLogFile(name, 100));
    WCHECK_EQ(ReadFile(name), std::string());
    DeleteFileA(name.c_str());
}

WTEST(TheWatchThreadCutsTheLogUnderWindows)
{
    const std::string name = TempFile("trv-watch.log");
    WriteFile(name, std::string(5000, 'x'));
    CConnectionLog log(1);
    log.Settings().file_name = name;
    log.Settings().max_size = 1000;
    WCHECK_EQ(log.Start(), 0);
    WCHECK(log.WaitForChecks(1, 60));
    WCHECK_EQ(log.Stop(), 0);
    const std::string left = ReadFile(name);
    WCHECK(left.size() < 3500);
    WCHECK(left.find("Log was truncated") != std::string::npos);
    DeleteFileA(name.c_str());
}

WTEST(TheSettingsSectionKeepsAnUnsignedMaximum)
{
    TiXmlElement root("Settings");
    CConnectionLog log(1);
    log.Settings().max_size = 4000000000u;
    log.Settings().file_name = "C:\\logs\\console.log";
    log.SerializeSettings(true, &root);
    const TiXmlElement* section = root.FirstChildElement("ConnectionLink");
    WCHECK(section != nullptr);
    if (section)
        WCHECK_EQ(std::string(section->Attribute("MAX_LOG_SIZE_BT")), std::string("-294967296"));
    CConnectionLog loaded(1);
    loaded.SerializeSettings(false, &root);
    WCHECK_EQ(loaded.Settings().max_size, 4000000000u);
    WCHECK_EQ(loaded.Settings().file_name, std::string("C:\\logs\\console.log"));
}

WTEST(PathsBesideTheProgram)
{
    const std::string program = ModuleFileName(nullptr);
    WCHECK(program.size() > 4 && program.substr(program.size() - 4) == ".exe");
    const std::string dir = ModulePathDir(program);
    WCHECK_EQ(MakePathBesideModule("help.chm", program), dir + "help.chm");
    WCHECK_EQ(ModuleFilePath("xml", program), program.substr(0, program.size() - 4) + ".xml");
    // The folder is a real one: a file made there is found.
    const std::string made = MakePathBesideModule("trv-beside.txt", program);
    WriteFile(made, "x");
    WCHECK(GetFileAttributesA(made.c_str()) != INVALID_FILE_ATTRIBUTES);
    DeleteFileA(made.c_str());
}
