// A file-backed registry with the Win32 calls the server uses.
//
// Each root key (HKEY_LOCAL_MACHINE, ...) is one REGEDIT4 text file,
// "<root name>.reg", in the storage folder. The storage folder is, in order:
// the one given to RegSetStorageFolder(), else the environment variable
// TRV_REGISTRY_DIR when it is set and not empty, else "<program folder>/registry".
//
// Reads parse the file as it is on disk; writes take a process-wide mutex, then
// an flock on "<root name>.reg.lock", read the file again under both, apply the
// change and replace the file atomically (temporary file, fsync, rename, fsync
// of the folder), so neither threads nor processes lose each other's values.
// Files are created with mode 0600: they hold passwords. A file that cannot be
// parsed makes every call on its root fail with ERROR_BADDB; it is never
// rewritten. Lock order: the write mutex, then the file lock. The small
// mutexes of the storage folder and of the open handles are innermost.
//
// Key and value names compare without regard to ASCII case. A REG_SZ value is
// stored as its text: the bytes given, up to the first zero byte; reading it
// gives those bytes (its size is the text's length) and a terminating zero when
// the caller's buffer has room for one more byte.
//
// Every call returns a Win32 error code; RegGetLastErrorText() describes the
// calling thread's last failure (file, system error) for the caller's log.
// Any thread may call any function; a key handle may be shared between threads
// until it is closed.
#pragma once

#include <cstdint>
#include <string>

struct trv_regkey;
typedef trv_regkey* HKEY;
typedef HKEY* PHKEY;
typedef std::uint32_t DWORD;
typedef DWORD* LPDWORD;
typedef std::int32_t LONG;
typedef unsigned char BYTE;
typedef DWORD REGSAM;

extern const HKEY HKEY_CLASSES_ROOT;
extern const HKEY HKEY_CURRENT_USER;
extern const HKEY HKEY_LOCAL_MACHINE;
extern const HKEY HKEY_USERS;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_BADDB = 1009;
constexpr LONG ERROR_CANTREAD = 1012;
constexpr LONG ERROR_CANTWRITE = 1013;
constexpr LONG ERROR_KEY_DELETED = 1018;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

// Access rights are accepted and not enforced: the file's mode is the guard.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegOpenKeyExA(HKEY key, const char* sub_key, DWORD options, REGSAM access, PHKEY result);
// Opens the key, creating it and any missing parent first. `klass` and
// `security` are ignored; `disposition` (optional) tells which happened.
LONG RegCreateKeyExA(HKEY key, const char* sub_key, DWORD reserved, char* klass, DWORD options,
                     REGSAM access, const void* security, PHKEY result, LPDWORD disposition);
// A null or empty name is the key's default value. With `data` null only the
// size is given back. ERROR_MORE_DATA (size set to the size needed) when the
// buffer is too small.
LONG RegQueryValueExA(HKEY key, const char* name, LPDWORD reserved, LPDWORD type, BYTE* data,
                      LPDWORD size);
LONG RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
LONG RegDeleteValueA(HKEY key, const char* name);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED when it has some).
LONG RegDeleteKeyA(HKEY key, const char* sub_key);
LONG RegCloseKey(HKEY key);

// Where the files live from now on, for this process; an empty folder returns
// to the default. Handles stay valid: they name keys, not files.
void RegSetStorageFolder(const std::string& folder);
std::string RegGetStorageFolder();
// The calling thread's last failure, with its cause; empty after a success.
std::string RegGetLastErrorText();
