// Thrown when a system resource (a DC, a GDI object) cannot be had. The framework's entry
// points catch it like anything else thrown, so it never reaches user32.
#pragma once

#include <exception>

class CResourceException : public std::exception {
public:
    const char* what() const noexcept override { return "system resource not available"; }
};
