#include "registry.h"

#include "progdir.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

struct trv_regkey {
    int root;          // index into kRoots
    std::string path;  // below the root, parts joined by '\'; empty for the root itself
};

namespace {

const char* const kRoots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                              "HKEY_USERS"};
constexpr int kRootCount = 4;
trv_regkey g_root_keys[kRootCount] = {{0, {}}, {1, {}}, {2, {}}, {3, {}}};

std::mutex g_folder_mutex;
std::string g_folder;  // guarded by g_folder_mutex; empty = default folder

// Serialises the read-modify-write of every file within this process; the
// file lock does the same between processes.
std::mutex g_write_mutex;

std::mutex g_handle_mutex;
std::unordered_set<const trv_regkey*> g_handles;  // guarded by g_handle_mutex: open handles

thread_local std::string t_last_error;

LONG Fail(LONG code, std::string text)
{
    t_last_error = std::move(text);
    return code;
}

std::string SystemError(int err)
{
    return std::string(std::strerror(err)) + " (errno " + std::to_string(err) + ")";
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool HasLineBreak(const std::string& s)
{
    return s.find_first_of("\r\n") != std::string::npos;
}

// ---- the in-memory form of one file -------------------------------------

struct Value {
    std::string name;  // empty = the key's default value
    DWORD type;
    std::string data;
};

struct Key {
    std::string path;
    std::vector<Value> values;
};

struct Hive {
    std::vector<Key> keys;

    Key* find(const std::string& path)
    {
        for (Key& k : keys)
            if (SameName(k.path, path))
                return &k;
        return nullptr;
    }
    // The root itself always exists, with or without a section in the file.
    bool exists(const std::string& path) { return path.empty() || find(path) != nullptr; }
    Key& get_or_add(const std::string& path)
    {
        if (Key* k = find(path))
            return *k;
        keys.push_back(Key{path, {}});
        return keys.back();
    }
    bool has_subkeys(const std::string& path)
    {
        for (const Key& k : keys)
            if (k.path.size() > path.size() + 1 && k.path[path.size()] == '\\' &&
                SameName(k.path.substr(0, path.size()), path))
                return true;
        return false;
    }
};

Value* FindValue(Key& key, const std::string& name)
{
    for (Value& v : key.values)
        if (SameName(v.name, name))
            return &v;
    return nullptr;
}

// ---- REGEDIT4 text ------------------------------------------------------

void AppendQuoted(std::string& out, const std::string& text)
{
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

void AppendHex(std::string& out, const std::string& data, size_t column)
{
    static const char digits[] = "0123456789abcdef";
    for (size_t i = 0; i < data.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(data[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
        column += 2;
        if (i + 1 < data.size()) {
            out += ',';
            ++column;
            if (column > 76) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
}

std::string Serialise(const Hive& hive, const char* root)
{
    std::string out = "REGEDIT4\n\n";
    for (const Key& k : hive.keys) {
        out += '[';
        out += root;
        if (!k.path.empty()) {
            out += '\\';
            out += k.path;
        }
        out += "]\n";
        for (const Value& v : k.values) {
            size_t start = out.size();
            if (v.name.empty())
                out += '@';
            else
                AppendQuoted(out, v.name);
            out += '=';
            if (v.type == REG_SZ && !HasLineBreak(v.data)) {
                AppendQuoted(out, v.data);
            } else if (v.type == REG_DWORD && v.data.size() == 4) {
                DWORD d = 0;
                for (int i = 3; i >= 0; --i)
                    d = (d << 8) | static_cast<unsigned char>(v.data[static_cast<size_t>(i)]);
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", d);
                out += buf;
            } else {
                char buf[32];
                if (v.type == REG_BINARY)
                    std::snprintf(buf, sizeof buf, "hex:");
                else
                    std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
                out += buf;
                AppendHex(out, v.data, out.size() - start);
            }
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads a quoted string at text[pos] (which is '"'); pos ends after the closing quote.
bool ParseQuoted(const std::string& text, size_t& pos, std::string& out, std::string& why)
{
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\') {
            if (pos + 1 >= text.size() || (text[pos + 1] != '\\' && text[pos + 1] != '"')) {
                why = "a backslash in a quoted text must be doubled";
                return false;
            }
            c = text[++pos];
        }
        out += c;
    }
    why = "a quoted text is not closed";
    return false;
}

bool ParseHexBytes(const std::string& text, std::string& out, std::string& why)
{
    out.clear();
    size_t i = 0;
    auto skip_blanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skip_blanks();
    if (i == text.size())
        return true;
    for (;;) {
        skip_blanks();
        if (i + 1 >= text.size() || HexDigit(text[i]) < 0 || HexDigit(text[i + 1]) < 0) {
            why = "bad hex byte list";
            return false;
        }
        out += static_cast<char>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
        i += 2;
        skip_blanks();
        if (i == text.size())
            return true;
        if (text[i] != ',') {
            why = "bad hex byte list";
            return false;
        }
        ++i;
    }
}

bool ParseData(const std::string& text, Value& v, std::string& why)
{
    std::string rest = text;
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t'))
        rest.pop_back();
    if (!rest.empty() && rest[0] == '"') {
        size_t pos = 0;
        if (!ParseQuoted(rest, pos, v.data, why))
            return false;
        if (pos != rest.size()) {
            why = "text after the closing quote";
            return false;
        }
        v.type = REG_SZ;
        return true;
    }
    if (rest.compare(0, 6, "dword:") == 0) {
        std::string digits = rest.substr(6);
        if (digits.empty() || digits.size() > 8) {
            why = "a dword needs one to eight hex digits";
            return false;
        }
        DWORD d = 0;
        for (char c : digits) {
            int h = HexDigit(c);
            if (h < 0) {
                why = "a dword needs one to eight hex digits";
                return false;
            }
            d = (d << 4) | static_cast<DWORD>(h);
        }
        v.type = REG_DWORD;
        v.data.clear();
        for (int i = 0; i < 4; ++i)
            v.data += static_cast<char>((d >> (8 * i)) & 0xff);
        return true;
    }
    if (rest.compare(0, 4, "hex:") == 0) {
        v.type = REG_BINARY;
        return ParseHexBytes(rest.substr(4), v.data, why);
    }
    if (rest.compare(0, 4, "hex(") == 0) {
        size_t close = rest.find("):", 4);
        if (close == std::string::npos || close == 4 || close > 12) {
            why = "bad hex(type) prefix";
            return false;
        }
        DWORD type = 0;
        for (size_t i = 4; i < close; ++i) {
            int h = HexDigit(rest[i]);
            if (h < 0) {
                why = "bad hex(type) prefix";
                return false;
            }
            type = (type << 4) | static_cast<DWORD>(h);
        }
        v.type = type;
        if (!ParseHexBytes(rest.substr(close + 2), v.data, why))
            return false;
        if (type == REG_SZ)
            v.data = v.data.substr(0, v.data.find('\0'));
        return true;
    }
    why = "unknown value format";
    return false;
}

bool Parse(const std::string& text, const char* root, Hive& hive, std::string& error)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    size_t n = 0;
    while (n < lines.size() && lines[n].empty())
        ++n;
    if (n == lines.size() || lines[n] != "REGEDIT4") {
        error = "does not start with REGEDIT4";
        return false;
    }
    Key* current = nullptr;
    const std::string root_name = root;
    for (++n; n < lines.size(); ++n) {
        const size_t line_no = n + 1;
        std::string line = lines[n];
        auto bad = [&](const std::string& why) {
            error = "line " + std::to_string(line_no) + ": " + why;
            return false;
        };
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            size_t close = line.rfind(']');
            if (close != line.size() - 1)
                return bad("a key line must end with ']'");
            std::string full = line.substr(1, close - 1);
            std::string head = full.substr(0, full.find('\\'));
            if (!SameName(head, root_name))
                return bad("key outside " + root_name);
            std::string path = head.size() < full.size() ? full.substr(head.size() + 1) : "";
            if (!path.empty() && (path.front() == '\\' || path.back() == '\\' ||
                                  path.find("\\\\") != std::string::npos))
                return bad("empty key name in path");
            current = &hive.get_or_add(path);
            continue;
        }
        if (line[0] != '"' && line[0] != '@')
            return bad("neither a key nor a value");
        if (current == nullptr)
            return bad("value before the first key");
        // Hex lists may continue on following lines after a trailing backslash.
        while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos &&
               n + 1 < lines.size()) {
            line.pop_back();
            std::string next = lines[++n];
            size_t first = next.find_first_not_of(" \t");
            line += first == std::string::npos ? "" : next.substr(first);
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                line.pop_back();
        }
        Value v;
        size_t pos = 0;
        std::string why;
        if (line[0] == '@') {
            pos = 1;
        } else if (!ParseQuoted(line, pos, v.name, why)) {
            return bad(why);
        }
        if (pos >= line.size() || line[pos] != '=')
            return bad("'=' expected after the value name");
        if (!ParseData(line.substr(pos + 1), v, why))
            return bad(why);
        if (Value* old = FindValue(*current, v.name))
            *old = v;
        else
            current->values.push_back(v);
    }
    return true;
}

// ---- files --------------------------------------------------------------

std::string Folder()
{
    {
        std::lock_guard<std::mutex> hold(g_folder_mutex);
        if (!g_folder.empty())
            return g_folder;
    }
    const char* env = std::getenv("TRV_REGISTRY_DIR");
    if (env != nullptr && *env != '\0')
        return env;
    return GetProgramFolder() + "/registry";
}

std::string HivePath(const std::string& folder, int root)
{
    return folder + "/" + kRoots[root] + ".reg";
}

// Loads the file of a root; a missing file is an empty hive.
LONG LoadHive(const std::string& path, int root, Hive& hive)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return ERROR_SUCCESS;
        return Fail(ERROR_CANTREAD, "cannot open registry file " + path + ": " + SystemError(errno));
    }
    std::string text;
    char buf[8192];
    for (;;) {
        ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int err = errno;
            ::close(fd);
            return Fail(ERROR_CANTREAD, "cannot read registry file " + path + ": " + SystemError(err));
        }
        if (got == 0)
            break;
        text.append(buf, static_cast<size_t>(got));
    }
    ::close(fd);
    std::string error;
    if (!Parse(text, kRoots[root], hive, error))
        return Fail(ERROR_BADDB, "registry file " + path + " is corrupt (" + error +
                                     "); it is left as it is");
    return ERROR_SUCCESS;
}

LONG MakeFolder(const std::string& folder)
{
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        partial = folder.substr(0, pos);
        if (partial.empty())
            continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return Fail(ERROR_CANTWRITE,
                        "cannot create registry folder " + partial + ": " + SystemError(errno));
    }
    return ERROR_SUCCESS;
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

LONG ReplaceFile(const std::string& folder, const std::string& path, const std::string& text)
{
    const std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return Fail(ERROR_CANTWRITE, "cannot create " + temp + ": " + SystemError(errno));
    bool ok = ::fchmod(fd, 0600) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    int err = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return Fail(ERROR_CANTWRITE, "cannot write registry file " + path + ": " + SystemError(err));
    }
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || ::fsync(dir) != 0) {
        err = errno;
        if (dir >= 0)
            ::close(dir);
        return Fail(ERROR_CANTWRITE, "cannot sync registry folder " + folder + ": " + SystemError(err));
    }
    ::close(dir);
    return ERROR_SUCCESS;
}

class FileLock {
public:
    explicit FileLock(const std::string& path)
    {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            error_ = "cannot open lock file " + path + ": " + SystemError(errno);
            return;
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                error_ = "cannot lock " + path + ": " + SystemError(errno);
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~FileLock()
    {
        if (fd_ >= 0)
            ::close(fd_);  // releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    std::string error_;
};

// Loads the root's file under both locks, lets `change` edit it and writes it
// back when `change` says something changed.
LONG Update(int root, const std::function<LONG(Hive&, bool&)>& change)
{
    std::lock_guard<std::mutex> hold(g_write_mutex);
    const std::string folder = Folder();
    LONG rc = MakeFolder(folder);
    if (rc != ERROR_SUCCESS)
        return rc;
    const std::string path = HivePath(folder, root);
    FileLock lock(path + ".lock");
    if (!lock.held())
        return Fail(ERROR_CANTWRITE, lock.error());
    Hive hive;
    rc = LoadHive(path, root, hive);
    if (rc != ERROR_SUCCESS)
        return rc;
    bool changed = false;
    rc = change(hive, changed);
    if (rc != ERROR_SUCCESS || !changed)
        return rc;
    return ReplaceFile(folder, path, Serialise(hive, kRoots[root]));
}

LONG Read(int root, Hive& hive)
{
    return LoadHive(HivePath(Folder(), root), root, hive);
}

// ---- handles ------------------------------------------------------------

bool IsRoot(HKEY key)
{
    for (const trv_regkey& root : g_root_keys)
        if (key == &root)
            return true;
    return false;
}

// Copies what a handle names, or fails when it is not a live handle.
LONG Resolve(HKEY key, trv_regkey& out)
{
    if (key == nullptr)
        return Fail(ERROR_INVALID_HANDLE, "null registry key handle");
    if (IsRoot(key)) {
        out = *key;
        return ERROR_SUCCESS;
    }
    std::lock_guard<std::mutex> hold(g_handle_mutex);
    if (g_handles.count(key) == 0)
        return Fail(ERROR_INVALID_HANDLE, "registry key handle is not open");
    out = *key;
    return ERROR_SUCCESS;
}

// The full path of `sub` below `base`; false when a name is unusable.
bool JoinPath(const std::string& base, const char* sub, std::string& out)
{
    out = base;
    if (sub == nullptr)
        return true;
    std::string s = sub;
    if (HasLineBreak(s))
        return false;
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = s.find('\\', start);
        if (end == std::string::npos)
            end = s.size();
        if (end > start) {
            if (!out.empty())
                out += '\\';
            out += s.substr(start, end - start);
        }
        start = end + 1;
    }
    return true;
}

HKEY NewHandle(int root, const std::string& path)
{
    trv_regkey* key = new trv_regkey{root, path};
    std::lock_guard<std::mutex> hold(g_handle_mutex);
    g_handles.insert(key);
    return key;
}

std::string Describe(const trv_regkey& key)
{
    return std::string(kRoots[key.root]) + (key.path.empty() ? "" : "\\" + key.path);
}

std::string Describe(const trv_regkey& key, const std::string& value)
{
    return Describe(key) + " value \"" + value + "\"";
}

// Runs a call body, turning an allocation failure into its Win32 code.
template <class Body>
LONG Guarded(Body body)
{
    t_last_error.clear();
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return Fail(ERROR_OUTOFMEMORY, "out of memory in the registry layer");
    }
}

}  // namespace

const HKEY HKEY_CLASSES_ROOT = &g_root_keys[0];
const HKEY HKEY_CURRENT_USER = &g_root_keys[1];
const HKEY HKEY_LOCAL_MACHINE = &g_root_keys[2];
const HKEY HKEY_USERS = &g_root_keys[3];

LONG RegOpenKeyExA(HKEY key, const char* sub_key, DWORD, REGSAM, PHKEY result)
{
    return Guarded([&]() -> LONG {
        if (result == nullptr)
            return Fail(ERROR_INVALID_PARAMETER, "no place for the opened key");
        *result = nullptr;
        trv_regkey base;
        LONG rc = Resolve(key, base);
        if (rc != ERROR_SUCCESS)
            return rc;
        std::string path;
        if (!JoinPath(base.path, sub_key, path))
            return Fail(ERROR_INVALID_PARAMETER, "line break in a key name");
        Hive hive;
        rc = Read(base.root, hive);
        if (rc != ERROR_SUCCESS)
            return rc;
        if (!hive.exists(path))
            return Fail(ERROR_FILE_NOT_FOUND,
                        "registry key " + Describe(trv_regkey{base.root, path}) + " does not exist");
        Key* found = hive.find(path);
        *result = NewHandle(base.root, found ? found->path : path);
        return ERROR_SUCCESS;
    });
}

LONG RegCreateKeyExA(HKEY key, const char* sub_key, DWORD, char*, DWORD, REGSAM, const void*,
                     PHKEY result, LPDWORD disposition)
{
    return Guarded([&]() -> LONG {
        if (result == nullptr)
            return Fail(ERROR_INVALID_PARAMETER, "no place for the created key");
        *result = nullptr;
        trv_regkey base;
        LONG rc = Resolve(key, base);
        if (rc != ERROR_SUCCESS)
            return rc;
        std::string path;
        if (!JoinPath(base.path, sub_key, path))
            return Fail(ERROR_INVALID_PARAMETER, "line break in a key name");
        std::string stored = path;
        bool created = false;
        rc = Update(base.root, [&](Hive& hive, bool& changed) -> LONG {
            if (hive.exists(path)) {
                if (Key* k = hive.find(path))
                    stored = k->path;
                return ERROR_SUCCESS;
            }
            // Every missing parent gets its own section, as an export would show it.
            size_t pos = 0;
            while (pos != std::string::npos) {
                pos = path.find('\\', pos + 1);
                std::string prefix = path.substr(0, pos);
                if (!hive.exists(prefix))
                    hive.get_or_add(prefix);
            }
            created = changed = true;
            return ERROR_SUCCESS;
        });
        if (rc != ERROR_SUCCESS)
            return rc;
        if (disposition != nullptr)
            *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        *result = NewHandle(base.root, stored);
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueExA(HKEY key, const char* name, LPDWORD, LPDWORD type, BYTE* data, LPDWORD size)
{
    return Guarded([&]() -> LONG {
        if (data != nullptr && size == nullptr)
            return Fail(ERROR_INVALID_PARAMETER, "a buffer without its size");
        trv_regkey k;
        LONG rc = Resolve(key, k);
        if (rc != ERROR_SUCCESS)
            return rc;
        const std::string value_name = name ? name : "";
        Hive hive;
        rc = Read(k.root, hive);
        if (rc != ERROR_SUCCESS)
            return rc;
        if (!hive.exists(k.path))
            return Fail(ERROR_KEY_DELETED, "registry key " + Describe(k) + " was deleted");
        Key* found = hive.find(k.path);
        Value* v = found ? FindValue(*found, value_name) : nullptr;
        if (v == nullptr)
            return Fail(ERROR_FILE_NOT_FOUND, "registry " + Describe(k, value_name) + " does not exist");
        if (type != nullptr)
            *type = v->type;
        const DWORD needed = static_cast<DWORD>(v->data.size());
        if (size == nullptr)
            return ERROR_SUCCESS;
        if (data == nullptr) {
            *size = needed;
            return ERROR_SUCCESS;
        }
        if (*size < needed) {
            const DWORD room = *size;
            *size = needed;
            return Fail(ERROR_MORE_DATA, "registry " + Describe(k, value_name) + " holds " +
                                             std::to_string(needed) + " bytes, more than the " +
                                             std::to_string(room) + " given");
        }
        std::memcpy(data, v->data.data(), needed);
        if (v->type == REG_SZ && *size > needed)
            data[needed] = 0;
        *size = needed;
        return ERROR_SUCCESS;
    });
}

LONG RegSetValueExA(HKEY key, const char* name, DWORD, DWORD type, const BYTE* data, DWORD size)
{
    return Guarded([&]() -> LONG {
        if (data == nullptr && size != 0)
            return Fail(ERROR_INVALID_PARAMETER, "a size without data");
        trv_regkey k;
        LONG rc = Resolve(key, k);
        if (rc != ERROR_SUCCESS)
            return rc;
        Value v;
        v.name = name ? name : "";
        if (HasLineBreak(v.name))
            return Fail(ERROR_INVALID_PARAMETER, "line break in a value name");
        v.type = type;
        if (size != 0)
            v.data.assign(reinterpret_cast<const char*>(data), size);
        if (type == REG_SZ)
            v.data = v.data.substr(0, v.data.find('\0'));
        return Update(k.root, [&](Hive& hive, bool& changed) -> LONG {
            if (!hive.exists(k.path))
                return Fail(ERROR_KEY_DELETED, "registry key " + Describe(k) + " was deleted");
            Key& target = hive.get_or_add(k.path);
            if (Value* old = FindValue(target, v.name)) {
                if (old->type == v.type && old->data == v.data)
                    return ERROR_SUCCESS;
                old->type = v.type;
                old->data = v.data;
            } else {
                target.values.push_back(v);
            }
            changed = true;
            return ERROR_SUCCESS;
        });
    });
}

LONG RegDeleteValueA(HKEY key, const char* name)
{
    return Guarded([&]() -> LONG {
        trv_regkey k;
        LONG rc = Resolve(key, k);
        if (rc != ERROR_SUCCESS)
            return rc;
        const std::string value_name = name ? name : "";
        return Update(k.root, [&](Hive& hive, bool& changed) -> LONG {
            if (!hive.exists(k.path))
                return Fail(ERROR_KEY_DELETED, "registry key " + Describe(k) + " was deleted");
            Key* found = hive.find(k.path);
            for (size_t i = 0; found && i < found->values.size(); ++i) {
                if (SameName(found->values[i].name, value_name)) {
                    found->values.erase(found->values.begin() + static_cast<long>(i));
                    changed = true;
                    return ERROR_SUCCESS;
                }
            }
            return Fail(ERROR_FILE_NOT_FOUND,
                        "registry " + Describe(k, value_name) + " does not exist");
        });
    });
}

LONG RegDeleteKeyA(HKEY key, const char* sub_key)
{
    return Guarded([&]() -> LONG {
        trv_regkey base;
        LONG rc = Resolve(key, base);
        if (rc != ERROR_SUCCESS)
            return rc;
        std::string path;
        if (sub_key == nullptr || !JoinPath(base.path, sub_key, path) || path == base.path)
            return Fail(ERROR_INVALID_PARAMETER, "no subkey to delete");
        const trv_regkey target{base.root, path};
        return Update(base.root, [&](Hive& hive, bool& changed) -> LONG {
            if (hive.find(path) == nullptr)
                return Fail(ERROR_FILE_NOT_FOUND,
                            "registry key " + Describe(target) + " does not exist");
            if (hive.has_subkeys(path))
                return Fail(ERROR_ACCESS_DENIED,
                            "registry key " + Describe(target) + " still has subkeys");
            for (size_t i = 0; i < hive.keys.size(); ++i) {
                if (SameName(hive.keys[i].path, path)) {
                    hive.keys.erase(hive.keys.begin() + static_cast<long>(i));
                    break;
                }
            }
            changed = true;
            return ERROR_SUCCESS;
        });
    });
}

LONG RegCloseKey(HKEY key)
{
    t_last_error.clear();
    if (key == nullptr)
        return Fail(ERROR_INVALID_HANDLE, "null registry key handle");
    if (IsRoot(key))
        return ERROR_SUCCESS;
    {
        std::lock_guard<std::mutex> hold(g_handle_mutex);
        if (g_handles.erase(key) == 0)
            return Fail(ERROR_INVALID_HANDLE, "registry key handle is not open");
    }
    delete key;
    return ERROR_SUCCESS;
}

void RegSetStorageFolder(const std::string& folder)
{
    std::lock_guard<std::mutex> hold(g_folder_mutex);
    g_folder = folder;
}

std::string RegGetStorageFolder()
{
    return Folder();
}

std::string RegGetLastErrorText()
{
    return t_last_error;
}
