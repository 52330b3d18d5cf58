// printf-style string building into std::string.
#pragma once

#include <cstdarg>
#include <string>

std::string Format(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string FormatV(const char* format, va_list args);
