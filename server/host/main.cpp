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
#include "scanner.h"
#include "server_settings.h"
#include "service.h"
#include "trv_server.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <climits>
#include <memory>
#include <csignal>
#include <cstdio>
#include <cstdlib>
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
constexpr int exit_settings_failed = 6;

// A stop ends the process at most this long after the stop signal.
constexpr std::chrono::milliseconds stop_bound(5000);
// What the bound leaves after the scanner's wait: the return of Run, the
// release of the instance lock, the closing of the log, and the end of a
// process that still has threads (slow under a thread checker).
constexpr std::chrono::milliseconds stop_margin(3000);

// Set by the signal watcher; read once the server object exists.
std::atomic<bool> g_stop_requested{false};
// When the first stop signal came (steady clock ticks); set with the flag.
std::atomic<std::chrono::steady_clock::rep> g_stop_time{0};

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

// Writes every missing setting with its default. False, with the cause, at
// the first value that cannot be written: a settings file that cannot be read
// or written (the registry layer never replaces a corrupt one) would
// otherwise leave the server on defaults, the administration password among
// them.
bool WriteDefaultSettings(std::string& failure)
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
            failure = e.message();
            return false;
        }
    }
    return true;
}

std::string DefaultLogFileName()
{
    for (const SettingDefault& d : ServerSettingDefaults())
        if (d.name == "LogFileName")
            return d.text;
    return "log.txt";
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

// The scanner's threads are joined before the process ends, so no scan
// thread is cut off in the middle of a database write. A worker that is
// still in a long SNMP exchange may hold the stop up only until the stop's
// bound, less its margin; the process then ends without it.
void StopScanner()
{
    Scanner* scanner = Scanner::instance();
    if (scanner == nullptr)
        return;
    using Clock = std::chrono::steady_clock;
    const Clock::rep signalled = g_stop_time.load();
    const Clock::time_point since = signalled != 0 ? Clock::time_point(Clock::duration(signalled)) : Clock::now();
    const Clock::time_point deadline = since + stop_bound - stop_margin;
    struct Done {
        qr_mutex m;
        qr_condition changed;
        bool stopped GUARDED_BY(m) = false;
    };
    auto done = std::make_shared<Done>();
    std::thread([scanner, done] {
        scanner->stop();
        qr_automutex hold(done->m);
        done->stopped = true;
        done->changed.notify_all();
    }).detach();
    qr_automutex hold(done->m);
    while (!done->stopped && done->changed.wait_until(done->m, deadline)) { }
    if (!done->stopped)
        TRV_LOG(qr_Warning, "The scanner did not stop in time; the process ends without waiting for it");
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
        std::chrono::steady_clock::rep none = 0;
        g_stop_time.compare_exchange_strong(none, std::chrono::steady_clock::now().time_since_epoch().count());
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
    StopScanner();
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
    std::string settings_failure;
    const bool settings_ready = WriteDefaultSettings(settings_failure);
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
            trim.name = settings_ready ? "log.txt" : DefaultLogFileName();
        // Tests look at the log's size more often than every 10 s.
        if (const char* period = std::getenv("TRV_LOG_TRIM_PERIOD_MS")) {
            const int ms = std::atoi(period);
            if (ms > 0)
                trim.period_ms = ms;
        }
        // Tests of what a scan does when its thread cannot be started.
        if (const char* fail = std::getenv("TRV_FAIL_SCAN_THREADS"); fail != nullptr && std::string(fail) == "1")
            fail_request_threads(true);
    } catch (const qr_exception_t& e) {
        std::printf("%s\n", e.message().c_str());
        return -1;
    }
    const bool log_open = OpenLogFile(trim.name);
    // The trimming follows the log wherever SETSERVERINFO moves it, also when
    // the start-up file did not open.
    if (trim.max_log_size_mb > 0)
        StartLogTrimThread(trim);

    const std::string argument = argc > 1 ? Lower(argv[1]) : std::string();
    const bool installing = argument == "-i" || argument == "/fi";
    const bool removing = argument == "-u" || argument == "/u";
    if (!settings_ready) {
        // Installing and removing need no settings; running does.
        const std::string line = "The server settings cannot be read or written [" + settings_failure + "]" +
                                 (installing || removing ? "" : "; the server does not start.");
        if (log_open)  // the terminal or the service journal sees the cause too
            std::printf("%s\n", line.c_str());
        TRV_LOG(installing || removing ? qr_Warning : qr_Emergency, line);
    }
    int rc;
    if (installing) {
        rc = Install();
    } else if (removing) {
        rc = Remove(folder);
    } else if (!settings_ready) {
        rc = exit_settings_failed;
    } else {
        rc = RunService(folder);
    }

    StopLogTrimThread();
    CloseLogFile();
    std::fflush(stdout);
    // Connection threads are still running; the process ends without tearing
    // down what they use.
    _exit(rc & 0xff);
}
