// The server program: installs itself as a service ("-i", "/Fi"), removes
// itself ("-u", "/u"), or runs in the foreground as the service manager runs
// it, until SIGTERM or SIGINT.
#include "connector.h"
#include "log_file.h"
#include "progdir.h"
#include "qr_config.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_payload.h"
#include "qr_settings.h"
#include "server_settings.h"
#include "service.h"
#include "trv_server.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

const char* const service_name = "TRVServer";
const char* const display_name = "Tarvane Server";
const char* const service_description = "Tarvane Network Management Server. v. 1.81.703.13194";
const char* const instance_lock_file = "trvserver.lock";

constexpr int exit_second_instance = 2;
constexpr int exit_service_failed = 5;

// Set by the signal watcher; read once the server object exists.
std::atomic<bool> g_stop_requested{false};

std::string ProgramPath()
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string("trvserver");
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void WriteDefaultSettings()
{
    for (const SettingDefault& d : ServerSettingDefaults()) {
        try {
            if (d.is_dword) {
                if (ReadRegistryInt(d.name, -1) == -1)
                    WriteRegistryInt(d.name, d.number);
            } else {
                std::string value;
                if (!ReadRegistryString(SettingsKey, d.name, value) || value.empty())
                    WriteRegistryString(d.name, d.stored_encoded ? CompressPayload(d.text, true) : d.text);
            }
        } catch (const qr_exception_t& e) {
            std::printf("%s\n", e.message().c_str());
        }
    }
}

int Install()
{
    TRV_LOG(qr_Info, "Installing " << service_name);
    std::string error;
    if (!InstallServiceUnit(service_name, display_name, service_description, ProgramPath(), error)) {
        TRV_LOG(qr_Critical, " " << service_name << " CreateService error = " << error);
        return exit_service_failed;
    }
    TRV_LOG(qr_Info, service_name << " installed...");
    return 0;
}

int Remove(const std::string& folder)
{
    InstanceLock lock(folder + "/" + instance_lock_file);
    if (!lock.TryAcquire()) {
        // The service is running: stop it, then wait for it to let go.
        if (pid_t pid = lock.HolderPid(); pid > 0)
            ::kill(pid, SIGTERM);
        bool obtained = false;
        for (int attempt = 0; attempt < 6 && !obtained; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
            obtained = lock.TryAcquire();
        }
        if (!obtained) {
            TRV_LOG(qr_Critical, "Can not stop service. Uninstal not completed. ");
            return exit_service_failed;
        }
    }
    std::string error;
    if (!RemoveServiceUnit(service_name, error)) {
        TRV_LOG(qr_Critical, service_name << " DeleteService error = " << error);
        return exit_service_failed;
    }
    TRV_LOG(qr_Info, service_name << " uninstalled...");
    return 0;
}

int RunService(const std::string& folder)
{
    TRV_LOG(qr_Info, "Starting service ...");
    InstanceLock lock(folder + "/" + instance_lock_file);
    if (!lock.TryAcquire()) {
        TRV_LOG(qr_Critical, "Only one server instance can be started.");
        return exit_second_instance;
    }
    StopSignals::Watch([](int) {
        TRV_LOG(qr_Info, "Stopping...");
        g_stop_requested.store(true);
        if (TRVServer* server = GetServer())
            server->Stop();
        TRV_LOG(qr_Info, service_name << "! leaving handler");
    });

    TRV_LOG(qr_Info, "Running Tarvane service");
    // Both stay for the life of the process: connection threads are not
    // joined and may use the server until the process ends.
    auto* config = new TinyConfig(folder + "/server.xml");
    auto* server = new TRVServer(TinyConfig(*config, "SERVER"));
    int rc = server->Init();
    if (rc != 0)
        return rc;
    if (g_stop_requested.load())
        server->Stop();
    rc = server->Run();
    lock.Release();
    return rc;
}

}  // namespace

int main(int argc, char** argv)
{
    // Before any thread starts, so the stop signals reach only their watcher.
    StopSignals::Block();

    const std::string folder = GetProgramFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder + "/Logs", ignored);
    WriteDefaultSettings();
    TinyConfig check(folder + "/server.xml");  // ends the process with exit code 1 when it does not load

    LogTrimParams trim;
    try {
        trim.max_log_size_mb = ReadRegistryInt("MaxLogSizeMb", -1);
        trim.log_cut_perc = ReadRegistryInt("LogCutPerc", -1);
        if (trim.log_cut_perc == 0)
            trim.log_cut_perc = 50;
        trim.log_cut_perc = std::max(0, std::min(100, trim.log_cut_perc));
        trim.name = ReadRegistryStringDefault("LogFileName", "");
        if (trim.name.empty())
            trim.name = "log.txt";
    } catch (const qr_exception_t& e) {
        std::printf("%s\n", e.message().c_str());
        return -1;
    }
    if (OpenLogFile(trim.name)) {
        if (trim.max_log_size_mb > 0)
            StartLogTrimThread(trim);
    }

    const std::string argument = argc > 1 ? Lower(argv[1]) : std::string();
    int rc;
    if (argument == "-i" || argument == "/fi")
        rc = Install();
    else if (argument == "-u" || argument == "/u")
        rc = Remove(folder);
    else
        rc = RunService(folder);

    CloseLogFile();
    std::fflush(stdout);
    // Connection threads are still running; the process ends without tearing
    // down what they use.
    _exit(rc & 0xff);
}
