// The toolkit's registered window messages. Each id is a static member
// g_nMsg<Name> of the class that owns it, registered once while the library
// loads under "<Class>::g_nMsg<Name>" (nested classes with their enclosing
// class), so that every module registering the same text shares the id.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "wendrel_export.h"

// Registers text as a window message (0 when registration fails).
UINT WendrelRegisterMessage(const char* text);

// The texts registered by the library, in the order of registration.
WENDREL_API const std::vector<std::string>& WendrelRegisteredMessageTexts();

// The library's process-wide objects in the order they were built when it loaded.
WENDREL_API const std::vector<std::string>& WendrelStaticInitSteps();
// Records a step of the static initialisation (used where the objects are defined).
void WendrelRecordStaticInitStep(const char* step);

// Tells observer the name of each process-wide object as its teardown begins
// while the library unloads (null: nobody). Lets a program that loaded the
// library by name check the teardown order after FreeLibrary.
extern "C" WENDREL_API void WendrelSetStaticTeardownObserver(void (*observer)(const char* step));
// Reports a teardown step to the observer, if any.
void WendrelRecordStaticTeardownStep(const char* step);
