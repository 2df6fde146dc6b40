#include "process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

bool RunQuietly(const std::vector<std::string>& arguments, int& exit_code, std::string& error)
{
    exit_code = -1;
    if (arguments.empty()) {
        error = "Cannot run a program without a name";
        return false;
    }
    std::vector<std::string> args = arguments;
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        error = "Cannot run " + arguments[0] + ": " + std::strerror(rc);
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            error = "Cannot wait for " + arguments[0] + ": " + std::strerror(errno);
            return false;
        }
    }
    if (WIFEXITED(status))
        exit_code = WEXITSTATUS(status);
    return true;
}
