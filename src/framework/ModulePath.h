// The full path of a loaded module's file (the program itself by default), however long.
#pragma once

#include "Platform.h"

#include <string>

std::string GetModulePath(HMODULE module = nullptr);
