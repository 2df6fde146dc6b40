// The registry store of the toolkit's binary streams. A stream is kept under a
// key as "data_size" (REG_DWORD), 16-byte REG_BINARY pieces "data_0x%08lX"
// in subkeys "block_0x%08lX" of 128 pieces each, a checksum text
// "data_integrity" and a "data_generator" text. Loading refuses a stream
// whose length, pieces or checksum do not match. Also the registry helpers
// of the profiles and the toolkit version.
#pragma once

#include "afx.h"
#include "wendrel_export.h"

// Version of the toolkit's stored formats.
class WENDREL_API VEzaToolkitVersion {
public:
    // 0x02050200, or 0x00000205 in the short form.
    static DWORD GetVersionDword(bool shortForm = false);
    // "2.5.2.0": the four bytes of the long form, most significant first.
    static CString GetVersionText();
};

class WENDREL_API VEzaRegistryArchiver {
public:
    // Four lanes of the running checksum over a stream's bytes, fed in order.
    class WENDREL_API Checksum {
    public:
        void Update(const BYTE* data, size_t size);
        // The lanes as sixteen upper-case hex bytes separated by blanks (47 characters).
        CString GetText() const;

    private:
        DWORD m_lanes[4] = {0, 0, 0, 0};
        int m_lane = 0;
    };

    // Replaces the key at path (under root) with the stream's content. Failure:
    // CUserException* with throwOnError, else false.
    static bool Save(CFile& stream, LPCSTR path, HKEY root = HKEY_CURRENT_USER, bool throwOnError = false);
    // Appends the stored content to the stream (seeked to its start on success).
    static bool Load(CFile& stream, LPCSTR path, HKEY root = HKEY_CURRENT_USER, bool throwOnError = false);
};

// "Software\<key>\<app>\ZiruZOV252\Profiles\<profile>\<section>", with every
// CR, TAB, LF, '?' and '*' turned into '_'.
WENDREL_API void MakeProfileRegPath(CString& path, LPCSTR section, LPCSTR profileName, LPCSTR regKeyName,
                                    LPCSTR appName);
// The path of a command profile's state (section "CommandManager").
WENDREL_API CString MakeCommandProfileRegPath(LPCSTR profileName, LPCSTR regKeyName, LPCSTR appName);

// Deletes every subkey of an open key, depth first; false at the first failure.
WENDREL_API bool RegDeleteKeyRecursive(HKEY key);
// With a value name: deletes that value of subKey; without: empties subKey and deletes it.
WENDREL_API bool RegDeleteKeyOrValue(HKEY root, LPCSTR subKey, LPCSTR valueName = nullptr);
// Reads a text value (REG_SZ, REG_EXPAND_SZ, REG_LINK or REG_MULTI_SZ) into
// buf; false when it does not fit. subKey may be NULL (the key itself).
WENDREL_API bool RegReadStringValue(HKEY key, LPCSTR subKey, LPCSTR valueName, char* buf, DWORD bufSize);
// Reads a REG_BINARY value; *size holds the buffer size and receives the value size.
WENDREL_API bool RegReadBinaryValue(HKEY key, LPCSTR subKey, LPCSTR valueName, BYTE* buf, DWORD* size);
WENDREL_API bool RegWriteStringValue(HKEY key, LPCSTR valueName, LPCSTR text);
