#include "server_process.h"

#include "qr_payload.h"
#include "qr_settings.h"
#include "registry.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <tinyxml.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::string BuildProgramFolder()
{
    const char* dir = std::getenv("TRV_BINARY_DIR");
    if (dir == nullptr)
        throw std::runtime_error("TRV_BINARY_DIR is not set");
    return std::string(dir) + "/bin";
}

int ConnectTo(int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

Reply ToReply(const TiXmlElement& element)
{
    Reply reply;
    reply.name = element.ValueStr();
    for (const TiXmlAttribute* a = element.FirstAttribute(); a; a = a->Next())
        reply.attributes[a->Name()] = a->Value();
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    element.Accept(&printer);
    reply.xml = printer.CStr();
    for (const TiXmlElement* c = element.FirstChildElement(); c; c = c->NextSiblingElement())
        reply.children.push_back(ToReply(*c));
    return reply;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& reached, int seconds)
{
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (!reached()) {
        if (Clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int FreePort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

ServerFolder::ServerFolder() : port_(FreePort())
{
    const fs::path build = BuildProgramFolder();
    for (const char* name : {"trvserver", "DataTemplate.db", "TarvaneSrvAdmin.db", "server.xml"})
        fs::copy_file(build / name, fs::path(dir_.path()) / name);
    fs::create_symlink(build / "pci.ids.txt", fs::path(dir_.path()) / "pci.ids.txt");
    fs::create_symlink(build / "sql", fs::path(dir_.path()) / "sql");
    fs::create_directories(dir_.file("registry"));
    SetText("ServerHost", "127.0.0.1");
    SetText("ServerPort", std::to_string(port_));
    SetInt("LogLevel", 9);
}

void ServerFolder::NewPort()
{
    port_ = FreePort();
    SetText("ServerPort", std::to_string(port_));
}

std::unique_ptr<ServerProcess> StartListening(ServerFolder& folder, const std::map<std::string, std::string>& env)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        auto server = std::make_unique<ServerProcess>(folder, std::vector<std::string>{}, env);
        if (server->WaitListening())
            return server;
        if (server->WaitExit(5) != 4)  // not a port taken by someone else
            return nullptr;
        folder.NewPort();
    }
    return nullptr;
}

std::map<std::string, std::string> QuickLogTrim()
{
    return {{"TRV_LOG_TRIM_PERIOD_MS", "100"}};
}

void ServerFolder::SetInt(const std::string& name, int value)
{
    RegSetStorageFolder(dir_.file("registry"));
    WriteRegistryInt(name, value);
    RegSetStorageFolder("");
}

void ServerFolder::SetText(const std::string& name, const std::string& value)
{
    RegSetStorageFolder(dir_.file("registry"));
    WriteRegistryString(name, value);
    RegSetStorageFolder("");
}

std::string ServerFolder::LogText() const
{
    std::error_code ec;
    if (!fs::exists(dir_.file("Logs/server.log"), ec))
        return std::string();
    return ReadWholeFile(dir_.file("Logs/server.log"));
}

ServerProcess::ServerProcess(const ServerFolder& folder, std::vector<std::string> args,
                             std::map<std::string, std::string> env)
    : folder_(folder)
{
    const std::string program = folder.file("trvserver");
    const std::string output = folder.file("output.txt");
    pid_ = ::fork();
    if (pid_ == 0) {
        int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0) {
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        // Started from elsewhere: the server must find its files beside its
        // program, never in the working folder.
        if (::chdir("/") != 0)
            ::_exit(126);
        for (const auto& [key, value] : env)
            ::setenv(key.c_str(), value.c_str(), 1);
        ::unsetenv("TRV_REGISTRY_DIR");
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
}

ServerProcess::~ServerProcess()
{
    if (pid_ > 0 && !ended_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status_, 0);
    }
    // A sanitizer build of the server reports on its own output.
    const std::string output = Output();
    for (const char* report : {"Sanitizer", "runtime error:"})
        EXPECT_EQ(output.find(report), std::string::npos) << output;
}

bool ServerProcess::WaitListening(int seconds)
{
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < until) {
        int fd = ConnectTo(folder_.port());
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
        if (!ended_ && ::waitpid(pid_, &status_, WNOHANG) == pid_)
            ended_ = true;
        if (ended_)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::optional<int> ServerProcess::WaitExit(int seconds)
{
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (!ended_) {
        if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
            ended_ = true;
            break;
        }
        if (Clock::now() >= until)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status_))
        return WEXITSTATUS(status_);
    return 128 + WTERMSIG(status_);
}

std::optional<int> ServerProcess::Stop(int seconds)
{
    if (!ended_)
        ::kill(pid_, SIGTERM);
    return WaitExit(seconds);
}

std::string ServerProcess::Output() const
{
    std::error_code ec;
    if (!fs::exists(folder_.file("output.txt"), ec))
        return std::string();
    return ReadWholeFile(folder_.file("output.txt"));
}

std::string Frame(const std::string& xml)
{
    const std::string payload = CompressPayload(xml, true);
    return std::to_string(payload.size()) + " " + payload;
}

ConsoleClient::ConsoleClient(int port) : fd_(ConnectTo(port))
{
    if (fd_ < 0)
        throw std::runtime_error("cannot connect to port " + std::to_string(port));
}

ConsoleClient::~ConsoleClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool ConsoleClient::SendRaw(const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::optional<Reply> ConsoleClient::Next(int seconds)
{
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        const size_t blank = buffer_.find(' ');
        if (blank != std::string::npos) {
            const size_t length = std::strtoul(buffer_.substr(0, blank).c_str(), nullptr, 10);
            if (buffer_.size() >= blank + 1 + length) {
                const std::string payload = buffer_.substr(blank + 1, length);
                buffer_.erase(0, blank + 1 + length);
                const std::string text = DecompressPayload(payload, true);
                TiXmlDocument document;
                document.Parse(text.c_str());
                if (document.Error() || document.RootElement() == nullptr)
                    return std::nullopt;
                Reply reply = ToReply(*document.RootElement());
                reply.text = text;
                return reply;
            }
        }
        if (eof_)
            return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char chunk[65536];
        ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0) {
            eof_ = true;
            continue;
        }
        buffer_.append(chunk, static_cast<size_t>(n));
    }
}

std::optional<Reply> ConsoleClient::NextNamed(const std::string& name, int seconds)
{
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::seconds>(until - Clock::now()).count();
        std::optional<Reply> reply = Next(static_cast<int>(left > 0 ? left : 0));
        if (!reply || reply->name == name)
            return reply;
    }
}

bool ConsoleClient::Closed(int seconds)
{
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < until) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char chunk[4096];
            ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n <= 0)
                return true;
        }
    }
    return false;
}

std::string ConsoleClient::Login(const std::string& type, const std::string& extra)
{
    if (!Send("<LOGIN ConID=\"\" Type=\"" + type + "\" login=\"admin\" password=\"pw\" " + extra + "/>"))
        return std::string();
    std::optional<Reply> session = Next();
    if (!session || session->name != "SESSION")
        return std::string();
    return session->attr("uid");
}
