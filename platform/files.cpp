#include "files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void close_quietly(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

std::string failure(const char* what, const std::string& path, int e)
{
    return std::string(what) + " " + path + ": " + std::strerror(e);
}

}  // namespace

bool CopyFileWhole(const std::string& from, const std::string& to, bool& placed_here, std::string& error)
{
    placed_here = false;
    std::string part = to + ".XXXXXX";
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error = failure("Cannot open", from, errno);
        return false;
    }
    int out = ::mkostemp(part.data(), O_CLOEXEC);
    if (out < 0) {
        const int e = errno;
        close_quietly(in);
        error = failure("Cannot create", part, e);
        return false;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        bool failed = n < 0;
        for (ssize_t done = 0; !failed && done < n;) {
            ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                failed = true;
            else
                done += w;
        }
        if (failed) {
            const int e = errno;
            close_quietly(in);
            close_quietly(out);
            ::unlink(part.c_str());
            error = failure("Cannot copy", from + " to " + part, e);
            return false;
        }
    }
    close_quietly(in);
    bool placed = ::fchmod(out, 0644) == 0 && ::fsync(out) == 0;
    placed = ::close(out) == 0 && placed;
    const bool linked = placed && ::link(part.c_str(), to.c_str()) == 0;
    placed = linked || (placed && errno == EEXIST);
    const int e = errno;
    ::unlink(part.c_str());
    if (!placed) {
        error = failure("Cannot put", to + " in place", e);
        return false;
    }
    placed_here = linked;
    return true;
}

bool CopyFileOver(const std::string& from, const std::string& to, std::string& error)
{
    std::error_code failed;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, failed);
    if (failed) {
        error = "cannot copy " + from + ": " + failed.message();
        return false;
    }
    return true;
}

bool RemoveFileIfPresent(const std::string& path, std::string& error)
{
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return true;
    error = failure("Cannot remove", path, errno);
    return false;
}

bool FileSize(const std::string& path, std::uint64_t& size)
{
    struct stat st = {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}
