// Error reporting shared by the SNMP master, its sessions and their requests:
// the last error code and text, and whether the object is still usable.
//
// An object made with an error mutex (master, session) may be asked and told
// about errors from several threads and stays usable after ordinary errors;
// one without (a request, which lives under its session's lock) becomes
// unusable as soon as an error is recorded.
#pragma once

#include "qr_sync.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// Error codes recorded by this layer besides the WinSNMP error numbers.
constexpr int32_t SnmpErrorWrongResponse = 10;
constexpr int32_t SnmpErrorNoMemory = 16;
constexpr int32_t SnmpErrorSync = 200;
constexpr int32_t SnmpErrorPduType = 201;
constexpr int32_t SnmpErrorDataMemory = 202;

class CSnmpBase {
public:
    explicit CSnmpBase(bool with_error_mutex);
    virtual ~CSnmpBase() = default;
    CSnmpBase(const CSnmpBase&) = delete;
    CSnmpBase& operator=(const CSnmpBase&) = delete;

    bool is_usable() const;
    void set_error(int32_t code, const std::string& text);
    void clear_error();
    std::string get_error_text() const;
    int32_t get_error_code() const { return error_code_; }
    // Takes over the other object's code and text.
    void copy_error(const CSnmpBase& other);

private:
    std::unique_ptr<qr_mutex> error_mutex_;
    std::string error_text_;  // guarded by *error_mutex_ when there is one
    std::atomic<int32_t> error_code_{0};
    std::atomic<bool> mutex_failed_{false};
};
