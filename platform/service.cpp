#include "service.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pthread.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const wants_folder = "multi-user.target.wants";

std::string ErrorText(const std::string& what, const std::error_code& ec)
{
    return what + ": " + ec.message();
}

}  // namespace

std::string ServiceUnitFolder()
{
    const char* folder = std::getenv("TRV_SYSTEMD_UNIT_DIR");
    if (folder != nullptr && *folder != '\0')
        return folder;
    return "/etc/systemd/system";
}

std::string ServiceUnitPath(const std::string& name)
{
    return ServiceUnitFolder() + "/" + name + ".service";
}

bool InstallServiceUnit(const std::string& name, const std::string& description,
                        const std::string& comment, const std::string& program,
                        std::string& error)
{
    const fs::path folder = ServiceUnitFolder();
    const fs::path unit = folder / (name + ".service");
    const fs::path part = folder / (name + ".service.part");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = ErrorText("Cannot create " + folder.string(), ec);
        return false;
    }
    {
        std::ofstream out(part, std::ios::trunc);
        // Own process, started at boot, restarted at once after a failure
        // (three times within five minutes), stopped with SIGTERM.
        out << "# " << comment << "\n"
            << "[Unit]\n"
            << "Description=" << description << "\n"
            << "After=network.target\n"
            << "StartLimitIntervalSec=300\n"
            << "StartLimitBurst=3\n"
            << "\n"
            << "[Service]\n"
            << "Type=simple\n"
            << "ExecStart=\"" << program << "\"\n"
            << "WorkingDirectory=" << fs::path(program).parent_path().string() << "\n"
            << "KillSignal=SIGTERM\n"
            << "TimeoutStopSec=30\n"
            << "Restart=on-failure\n"
            << "RestartSec=0\n"
            << "\n"
            << "[Install]\n"
            << "WantedBy=multi-user.target\n";
        out.close();
        if (!out) {
            error = "Cannot write " + part.string() + ": " + std::strerror(errno);
            fs::remove(part, ec);
            return false;
        }
    }
    fs::rename(part, unit, ec);
    if (ec) {
        error = ErrorText("Cannot write " + unit.string(), ec);
        return false;
    }
    const fs::path wants = folder / wants_folder;
    fs::create_directories(wants, ec);
    if (ec) {
        error = ErrorText("Cannot create " + wants.string(), ec);
        return false;
    }
    const fs::path link = wants / (name + ".service");
    fs::remove(link, ec);
    fs::create_symlink(unit, link, ec);
    if (ec) {
        error = ErrorText("Cannot enable " + unit.string(), ec);
        return false;
    }
    return true;
}

bool RemoveServiceUnit(const std::string& name, std::string& error)
{
    const fs::path folder = ServiceUnitFolder();
    std::error_code ec;
    fs::remove(folder / wants_folder / (name + ".service"), ec);
    if (ec) {
        error = ErrorText("Cannot disable " + name, ec);
        return false;
    }
    fs::remove(folder / (name + ".service"), ec);
    if (ec) {
        error = ErrorText("Cannot delete " + name, ec);
        return false;
    }
    return true;
}

InstanceLock::~InstanceLock()
{
    Release();
}

bool InstanceLock::TryAcquire()
{
    if (fd_ >= 0)
        return true;
    int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0)
        (void)!::pwrite(fd, pid.data(), pid.size(), 0);
    fd_ = fd;
    return true;
}

void InstanceLock::Release()
{
    if (fd_ < 0)
        return;
    (void)!::ftruncate(fd_, 0);
    ::close(fd_);  // drops the lock
    fd_ = -1;
}

pid_t InstanceLock::HolderPid() const
{
    std::ifstream in(path_);
    long pid = 0;
    if (!(in >> pid) || pid <= 0)
        return 0;
    return static_cast<pid_t>(pid);
}

namespace StopSignals {

namespace {
sigset_t StopSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}
}  // namespace

void Block()
{
    sigset_t set = StopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void Watch(std::function<void(int)> on_stop)
{
    std::thread([on_stop = std::move(on_stop)] {
        sigset_t set = StopSet();
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) == 0)
                on_stop(signal);
        }
    }).detach();
}

}  // namespace StopSignals
