// Writers in several threads and several processes share one registry file.
#include "registry.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const kKey = "SOFTWARE\\Tarvane\\Concurrent";

// Writes `count` values named "<prefix><i>" holding i, one call each.
bool WriteValues(const std::string& prefix, int count)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (DWORD i = 0; i < static_cast<DWORD>(count); ++i) {
        const std::string name = prefix + std::to_string(i);
        ok = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i),
                            sizeof i) == ERROR_SUCCESS && ok;
    }
    RegCloseKey(key);
    return ok;
}

// Counts the values "<prefix><i>" that hold i.
int CountValues(const std::string& prefix, int count)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    int found = 0;
    for (DWORD i = 0; i < static_cast<DWORD>(count); ++i) {
        const std::string name = prefix + std::to_string(i);
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                             &size) == ERROR_SUCCESS &&
            value == i)
            ++found;
    }
    RegCloseKey(key);
    return found;
}

TEST(RegistryConcurrency, TwoProcessesLoseNoValue)
{
    TempDir dir;
    RegSetStorageFolder(dir.path());
    constexpr int kValues = 200;
    // Both children wait on the pipe so that their writes overlap.
    int gate[2];
    ASSERT_EQ(0, ::pipe(gate));
    std::vector<pid_t> children;
    for (const char* prefix : {"first", "second"}) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(gate[1]);
            char c;
            while (::read(gate[0], &c, 1) < 0) {
            }
            ::_exit(WriteValues(prefix, kValues) ? 0 : 1);
        }
        children.push_back(pid);
    }
    ::close(gate[0]);
    ::close(gate[1]);  // opens the gate: both reads return 0
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    EXPECT_EQ(kValues, CountValues("first", kValues));
    EXPECT_EQ(kValues, CountValues("second", kValues));
    RegSetStorageFolder("");
}

TEST(RegistryConcurrency, ThreadsLoseNoValue)
{
    TempDir dir;
    RegSetStorageFolder(dir.path());
    constexpr int kThreads = 4;
    constexpr int kValues = 50;
    std::vector<std::thread> threads;
    std::vector<char> ok(kThreads, 0);
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &ok] {
            ok[static_cast<size_t>(t)] = WriteValues("t" + std::to_string(t) + "_", kValues);
        });
    // A reader alongside the writers always sees a whole file.
    std::thread reader([] {
        for (int i = 0; i < 50; ++i) {
            HKEY key = nullptr;
            LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key);
            EXPECT_TRUE(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) << rc;
            if (rc == ERROR_SUCCESS)
                RegCloseKey(key);
        }
    });
    for (std::thread& th : threads)
        th.join();
    reader.join();
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_TRUE(ok[static_cast<size_t>(t)]) << t;
        EXPECT_EQ(kValues, CountValues("t" + std::to_string(t) + "_", kValues)) << t;
    }
    RegSetStorageFolder("");
}

}  // namespace
