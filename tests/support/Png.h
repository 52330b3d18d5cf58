// Writing screenshots: a PixelImage as an uncompressed PNG file.
#pragma once

#include "Pixels.h"

#include <string>

// Writes the image as an 8-bit RGB PNG; false when the file cannot be written.
bool WritePng(const std::string& path, const PixelImage& image);

// <build folder>/artefacts/<name>, the folder made when missing (tests run in <build folder>/bin).
std::string ArtefactPath(const std::string& name);
