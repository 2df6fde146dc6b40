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

[[noreturn]] void qr_exception(const char* format, ...) __attribute__((format(printf, 1, 2)));
