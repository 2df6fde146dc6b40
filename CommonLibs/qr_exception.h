// The one exception type of the common library and of the server's own code.
// Raised through qr_exception() with a printf-style message that is never cut.
#pragma once

#include <exception>
#include <string>

class qr_exception_t : public std::exception {
public:
    explicit qr_exception_t(std::string message) : message_(std::move(message)) {}
    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A failure already logged at Error, with its cause, where it arose (the
// ODBC layer's statement and transaction failures). Code that logs the
// failures it catches passes this one over, so that each is logged once.
class qr_logged_exception_t : public qr_exception_t {
public:
    using qr_exception_t::qr_exception_t;
};

[[noreturn]] void qr_exception(const char* format, ...) __attribute__((format(printf, 1, 2)));
