// Writes an 8-bit RGB picture as a PNG file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width x height pixels of three bytes, top row first. False when the file
// cannot be written; a file left half written is removed.
bool WritePngFile(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb);
