#include "toolkit/registered_messages.h"

#include "toolkit/toolkit_log.h"

namespace {

// Function-local, so that they exist before the first object of
// static_init.cpp registers or records anything.
std::vector<std::string>& Texts() {
    static std::vector<std::string> texts;
    return texts;
}

std::vector<std::string>& Steps() {
    static std::vector<std::string> steps;
    return steps;
}

}  // namespace

UINT WendrelRegisterMessage(const char* text) {
    const UINT id = ::RegisterWindowMessageA(text);
    if (id == 0) ToolkitLogFailure("RegisterWindowMessage(\"%s\") failed (error %lu)", text, ::GetLastError());
    Texts().emplace_back(text);
    Steps().emplace_back(std::string("message ") + text);
    return id;
}

const std::vector<std::string>& WendrelRegisteredMessageTexts() { return Texts(); }

const std::vector<std::string>& WendrelStaticInitSteps() { return Steps(); }

void WendrelRecordStaticInitStep(const char* step) { Steps().emplace_back(step); }

namespace {
// Constant-initialised, so it is valid during every object's teardown.
void (*g_teardownObserver)(const char*) = nullptr;
}  // namespace

void WendrelSetStaticTeardownObserver(void (*observer)(const char* step)) { g_teardownObserver = observer; }

void WendrelRecordStaticTeardownStep(const char* step) {
    if (g_teardownObserver != nullptr) g_teardownObserver(step);
}
