// Writing screenshots: a PixelImage as an uncompressed 24-bit PNG file.
#pragma once

#include "Pixels.h"

#include <string>

// False when the file cannot be written.
bool WritePng(const std::string& path, const PixelImage& image);
