// Writes pixels read back in a test as a PNG file (kept as a build artefact to look at).
#pragma once

#include "Pixels.h"

#include <string>

// Truecolour, 8 bits per channel, uncompressed deflate blocks. False when writing failed.
bool WritePng(const std::string& path, const PixelImage& image);

// <build folder>/artefacts/<name>, the folder created when missing (the tests run in
// <build folder>/bin).
std::string ArtefactPath(const std::string& name);
