#include "snmp_agents.h"

#include "snmp_line.h"

#include "progdir.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The build folder; test programs run from <build>/tests.
std::string binary_dir()
{
    const char* dir = std::getenv("TRV_BINARY_DIR");
    return dir ? std::string(dir) : GetProgramFolder() + "/..";
}

}  // namespace

std::string run_program(const std::vector<std::string>& argv, int* status)
{
    if (status)
        *status = -1;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return std::string();
    pid_t pid = fork();
    if (pid < 0) {
        close(out[0]);
        close(out[1]);
        return std::string();
    }
    if (pid == 0) {
        dup2(out[1], 1);
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, 2);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        setenv("MIBS", "", 1);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }
    if (status)
        *status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return text;
}

std::vector<std::string> snmpwalk_lines(const std::string& address, const std::string& community,
                                        const std::string& root, const std::vector<std::string>& extra)
{
    std::vector<std::string> argv = {"snmpwalk", "-v1", "-c", community, "-On", "-Oe", "-Ot", "-Ox",
                                     "-r", "1", "-t", "2"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    argv.push_back(address);
    argv.push_back(root);
    std::string text = run_program(argv);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        if (line[0] != '.' && !lines.empty())
            lines.back() += " " + line;  // a long hex string goes on over lines
        else
            lines.push_back(line);
    }
    return lines;
}

TestAgents::TestAgents()
{
    char pattern[] = "/tmp/trv-agents-XXXXXX";
    if (mkdtemp(pattern))
        dir_ = pattern;
}

TestAgents::~TestAgents()
{
    stop_all();
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
}

std::string TestAgents::location(const std::string& address) const
{
    for (const Running& r : agents_)
        if (r.spec.address == address)
            return r.location;
    return std::string();
}

bool TestAgents::start(const AgentSpec& spec)
{
    static std::atomic<int> counter{0};
    if (dir_.empty()) {
        error_ = "no temporary folder";
        return false;
    }
    Running agent;
    agent.spec = spec;
    agent.location = "rack-" + spec.name + "-" + std::to_string(getpid()) + "-" +
                     std::to_string(++counter);
    std::string base = dir_ + "/" + spec.address;
    std::filesystem::create_directories(base + "/persist");
    std::string helper = binary_dir() + "/tests/test_agent";
    {
        std::ofstream conf(base + "/snmpd.conf");
        conf << "[snmp] mibs :\n"
             << "[snmp] persistentDir " << base << "/persist\n"
             << "dontLogTCPWrappersConnects yes\n"
             << "rocommunity " << spec.community << " 127.0.0.0/8\n"
             << "sysDescr " << spec.descr << "\n"
             << "sysObjectID " << spec.object_id << "\n"
             << "sysName " << spec.name << "\n"
             << "sysLocation " << agent.location << "\n"
             << "sysContact admin@" << spec.name << "\n"
             << "sysServices 72\n"
             << "pass_persist .1.3.6.1.2.1.2 " << helper << " ifaces\n";
        if (spec.qor)
            conf << "pass_persist .1.3.6.1.4.1.39871 " << helper << " qor\n";
        if (spec.printer)
            conf << "pass_persist .1.3.6.1.2.1.43 " << helper << " printer\n";
        if (spec.storage)
            conf << "pass_persist .1.3.6.1.2.1.25.2 " << helper << " storage\n";
    }
    std::string pidfile = base + "/snmpd.pid";
    const bool relayed = spec.faults.drop_first > 0 || spec.faults.hold_odd_answers;
    const std::string port = relayed ? "1161" : "161";
    pid_t pid = fork();
    if (pid < 0) {
        error_ = "fork failed";
        return false;
    }
    if (pid == 0) {
        // A test program that crashes must not leave its agents behind on
        // addresses the next run needs.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        setenv("TRV_AGENT_TAG", spec.name.c_str(), 1);
        setenv("TRV_QOR_NOT_READY", std::to_string(spec.qor_not_ready).c_str(), 1);
        setenv("TRV_QOR_NOT_READY_UNDER", spec.qor_not_ready_under.c_str(), 1);
        setenv("TRV_QOR_LOOP", spec.qor_loop ? "1" : "0", 1);
        setenv("TRV_QOR_HARDWARE", spec.hardware ? "1" : "0", 1);
        setenv("MIBS", "", 1);
        std::string log = base + "/snmpd.log";
        std::string conf = base + "/snmpd.conf";
        std::string listen = "udp:" + spec.address + ":" + port;
        // The test agent's own tables stand in for these modules.
        std::string off = "-smux,interfaces,ifTable,ifXTable";
        if (spec.storage)
            off += ",hrh_storage";
        if (!spec.host_resources)
            off += ",hr_system,hrh_storage,hrh_filesys,hr_device,hr_other,hr_proc,hr_network,hr_print,hr_disk,"
                   "hr_partition,hr_filesys,hrSWRunTable,hrSWRunPerfTable,hrSWInstalledTable";
        execlp("snmpd", "snmpd", "-f", "-Lf", log.c_str(), "-C", "-I", off.c_str(), "-c", conf.c_str(), "-p",
               pidfile.c_str(), listen.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    agent.pid = pid;
    agents_.push_back(agent);
    // Ready when this very agent answers with its own location: another
    // agent left on the address would answer with a different one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string text = run_program({"snmpget", "-v1", "-c", spec.community, "-Ov", "-Oq", "-r", "0", "-t",
                                        "0.1", spec.address + ":" + port, ".1.3.6.1.2.1.1.6.0"});
        if (text.find(agent.location) != std::string::npos) {
            // snmpd starts a pass_persist handler at the first request into
            // its subtree, which can take a sanitizer build of it seconds on
            // a busy machine: start them now, with a GET of an OID they do
            // not serve (no answer of theirs is counted).
            std::vector<std::string> handled = {".1.3.6.1.2.1.2.4242.0"};
            if (spec.qor)
                handled.push_back(".1.3.6.1.4.1.39871.4242.0");
            if (spec.printer)
                handled.push_back(".1.3.6.1.2.1.43.4242.0");
            if (spec.storage)
                handled.push_back(".1.3.6.1.2.1.25.2.4242.0");
            for (const std::string& oid : handled)
                run_program({"snmpget", "-v1", "-c", spec.community, "-r", "2", "-t", "20", spec.address + ":" + port,
                             oid});
            if (!relayed)
                return true;
            auto relay = std::make_shared<UdpRelay>();
            if (!relay->start(spec.address, 161, spec.address, 1161, spec.faults, error_))
                return false;
            agents_.back().relay = relay;
            return true;
        }
        int wstatus = 0;
        if (waitpid(pid, &wstatus, WNOHANG) == pid) {
            agents_.back().pid = -1;
            error_ = "snmpd on " + spec.address + " exited; see " + base + "/snmpd.log";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    error_ = "snmpd on " + spec.address + " did not answer as itself";
    return false;
}

void TestAgents::stop_all()
{
    for (Running& r : agents_) {
        if (r.relay)
            r.relay->stop();
        if (r.pid > 0)
            kill(r.pid, SIGTERM);
    }
    for (Running& r : agents_) {
        if (r.pid <= 0)
            continue;
        int wstatus = 0;
        bool gone = false;
        for (int i = 0; i < 200 && !gone; ++i) {
            if (waitpid(r.pid, &wstatus, WNOHANG) == r.pid)
                gone = true;
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!gone) {
            kill(r.pid, SIGKILL);
            waitpid(r.pid, &wstatus, 0);
        }
        r.pid = -1;
    }
    agents_.clear();
}

std::vector<std::pair<std::string, std::string>> snmpwalk_rows(const std::string& address, const std::string& root,
                                                               int* status)
{
    // A long hex string goes on over lines: each entry is joined first.
    std::vector<std::string> lines;
    std::string text = run_program(
        {"snmpwalk", "-v1", "-c", "public", "-On", "-Oe", "-Ot", "-t", "5", "-r", "2", address, root}, status);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        if (line[0] != '.' && !lines.empty())
            lines.back() += " " + line;
        else
            lines.push_back(line);
    }
    std::vector<std::pair<std::string, std::string>> rows;
    for (const std::string& line : lines) {
        const std::string oid = line.substr(0, line.find(' '));
        rows.emplace_back(oid.rfind(root + ".", 0) == 0 ? oid.substr(root.size() + 1) : oid,
                          get_snmp_line_value(line));
    }
    return rows;
}

std::vector<std::string> snmpwalk_values(const std::string& address, const std::string& root, int* status)
{
    std::vector<std::string> values;
    for (auto& row : snmpwalk_rows(address, root, status))
        values.push_back(std::move(row.second));
    return values;
}
