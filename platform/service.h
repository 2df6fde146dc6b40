// The service host's layer over Linux: the systemd unit that installs the
// server as a service, the lock file that keeps a second instance of one
// program folder from starting, and the stop signals.
//
// The unit folder is the environment variable TRV_SYSTEMD_UNIT_DIR when it is
// set and not empty, else /etc/systemd/system. Installing writes
// "<name>.service" there and enables it the way the service manager does (a
// link in multi-user.target.wants); removing deletes both.
//
// InstanceLock is owned by the thread of main and held for the process's life.
// StopSignals::Block must run on the main thread before any other thread
// starts, so that SIGTERM and SIGINT reach only the watcher thread.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

std::string ServiceUnitFolder();
std::string ServiceUnitPath(const std::string& name);

// Writes the unit for `program` (a full path) and enables it. False with the
// reason in `error` when a file cannot be written.
bool InstallServiceUnit(const std::string& name, const std::string& description,
                        const std::string& comment, const std::string& program,
                        std::string& error);
// Disables and deletes the unit; an absent unit is no failure.
bool RemoveServiceUnit(const std::string& name, std::string& error);

// An exclusive flock on a file that also holds the owner's process id. The
// kernel drops the lock when the process ends, however it ends.
class InstanceLock {
public:
    explicit InstanceLock(std::string path) : path_(std::move(path)) {}
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this object now holds the lock (or held it already).
    bool TryAcquire();
    void Release();
    bool held() const { return fd_ >= 0; }
    // The process id written by the holder; 0 when there is none to read.
    pid_t HolderPid() const;

private:
    std::string path_;
    int fd_ = -1;
};

namespace StopSignals {
// Blocks SIGTERM and SIGINT in the calling thread and every thread it starts.
void Block();
// Starts a detached thread that waits for either signal and calls on_stop
// with its number each time one arrives. on_stop must not block for long.
void Watch(std::function<void(int)> on_stop);
}  // namespace StopSignals
