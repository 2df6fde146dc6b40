#include "snmp_base.h"

CSnmpBase::CSnmpBase(bool with_error_mutex)
{
    if (with_error_mutex)
        error_mutex_ = std::make_unique<qr_mutex>();
}

bool CSnmpBase::is_usable() const
{
    if (error_mutex_)
        return !mutex_failed_;
    return error_code_ == 0;
}

void CSnmpBase::set_error(int32_t code, const std::string& text)
{
    if (error_mutex_) {
        qr_automutex lock(*error_mutex_);
        error_code_ = code;
        error_text_ = text;
        return;
    }
    error_code_ = code;
    error_text_ = text;
}

void CSnmpBase::clear_error()
{
    set_error(0, std::string());
}

std::string CSnmpBase::get_error_text() const
{
    if (error_mutex_) {
        qr_automutex lock(*error_mutex_);
        return error_text_;
    }
    return error_text_;
}

void CSnmpBase::copy_error(const CSnmpBase& other)
{
    set_error(other.get_error_code(), other.get_error_text());
}
