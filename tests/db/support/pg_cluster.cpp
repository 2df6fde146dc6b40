#include "pg_cluster.h"

#include <fcntl.h>
#include <glob.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

std::string marker_path(int port)
{
    return "/tmp/trv-test-pg-" + std::to_string(port) + ".owner";
}

std::string postgres_bin()
{
    std::string found;
    glob_t g = {};
    if (glob("/usr/lib/postgresql/*/bin/initdb", 0, nullptr, &g) == 0 && g.gl_pathc > 0) {
        found = g.gl_pathv[g.gl_pathc - 1];
        found.erase(found.size() - std::strlen("/initdb"));
    }
    globfree(&g);
    if (found.empty()) throw std::runtime_error("PostgreSQL server programs are not installed");
    return found;
}

bool alive(pid_t pid)
{
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

// Stops a postmaster by PID and waits for it to go (bounded).
void stop_postmaster(pid_t pid)
{
    if (!alive(pid)) return;
    kill(pid, SIGINT);  // fast shutdown
    for (int n = 0; n < 1000 && alive(pid); ++n) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (alive(pid)) kill(pid, SIGKILL);
}

// Commands for the server must run as its own user when we are root.
std::vector<std::string> as_postgres(std::vector<std::string> argv)
{
    if (geteuid() != 0) return argv;
    std::vector<std::string> full = {"runuser", "-u", "postgres", "--"};
    full.insert(full.end(), argv.begin(), argv.end());
    return full;
}

void give_to_postgres(const std::string& path)
{
    if (geteuid() != 0) return;
    struct passwd* pw = getpwnam("postgres");
    if (!pw || chown(path.c_str(), pw->pw_uid, pw->pw_gid) != 0)
        throw std::runtime_error("cannot hand " + path + " to the postgres user");
}

std::string read_text(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A cluster left running by a test process that died (its port lock is ours now).
void stop_leftover(int port)
{
    std::ifstream in(marker_path(port));
    long pid = 0;
    std::string folder;
    if (!(in >> pid >> folder)) return;
    std::string comm = read_text("/proc/" + std::to_string(pid) + "/comm");
    if (comm.rfind("postgres", 0) == 0) stop_postmaster(static_cast<pid_t>(pid));
    std::error_code ignored;
    if (folder.rfind("/tmp/trv-pg-", 0) == 0) std::filesystem::remove_all(folder, ignored);
    std::filesystem::remove(marker_path(port), ignored);
}

}  // namespace

int run_program(const std::vector<std::string>& argv, const std::string& log)
{
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (!log.empty()) {
            int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (fd >= 0) {
                dup2(fd, 1);
                dup2(fd, 2);
                close(fd);
            }
        }
        std::vector<char*> args;
        for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void PgCluster::start(const std::string& hba_lines)
{
    if (running()) return;
    const std::string bin = postgres_bin();
    char folder[] = "/tmp/trv-pg-XXXXXX";
    if (!mkdtemp(folder)) throw std::runtime_error("mkdtemp failed");
    folder_ = folder;
    give_to_postgres(folder_);
    const std::string log = folder_ + "/tools.log";
    const std::string sock = folder_ + "/sock";
    mkdir(sock.c_str(), 0700);
    give_to_postgres(sock);
    {
        std::ofstream touch(log);
    }
    give_to_postgres(log);

    if (run_program(as_postgres({bin + "/initdb", "-D", folder_ + "/data", "-A", "trust", "-U", user(), "-E", "UTF8",
                                 "--locale=C.UTF-8", "--no-sync"}),
                    log) != 0)
        throw std::runtime_error("initdb failed:\n" + read_text(log));
    if (!hba_lines.empty()) {
        const std::string hba = folder_ + "/data/pg_hba.conf";
        const std::string rules = hba_lines + "\n" + read_text(hba);
        std::ofstream(hba, std::ios::trunc) << rules;
    }

    // The first port that no other test process holds and that nothing else listens on.
    for (int p = first_port; p <= last_port && pid_ == 0; ++p) {
        const std::string lock = "/tmp/trv-test-pg-" + std::to_string(p) + ".lock";
        int fd = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) continue;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            continue;
        }
        stop_leftover(p);
        // A server under test holds a pool of 10 connections per client type
        // and 10 for administration: room for several types.
        const std::string options = "-k " + sock + " -p " + std::to_string(p) +
                                    " -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=100";
        if (run_program(as_postgres({bin + "/pg_ctl", "-D", folder_ + "/data", "-l", folder_ + "/server.log", "-w",
                                     "-o", options, "start"}),
                        log) != 0) {
            close(fd);
            continue;
        }
        std::istringstream pidfile(read_text(folder_ + "/data/postmaster.pid"));
        long pid = 0;
        pidfile >> pid;
        if (pid <= 0) throw std::runtime_error("postmaster.pid is unreadable");
        pid_ = static_cast<pid_t>(pid);
        port_ = p;
        lock_fd_ = fd;
        std::ofstream(marker_path(port_)) << pid_ << " " << folder_ << "\n";
    }
    if (pid_ == 0)
        throw std::runtime_error("pg_ctl start failed on every test port:\n" + read_text(log) +
                                 read_text(folder_ + "/server.log"));
}

void PgCluster::stop()
{
    if (pid_ > 0) stop_postmaster(pid_);
    pid_ = 0;
    std::error_code ignored;
    if (!folder_.empty()) {
        std::filesystem::remove_all(folder_, ignored);
        if (port_ > 0) std::filesystem::remove(marker_path(port_), ignored);
    }
    folder_.clear();
    if (lock_fd_ >= 0) close(lock_fd_);
    lock_fd_ = -1;
}
