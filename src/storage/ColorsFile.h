#pragma once

#include <string>
#include <string_view>

#include "storage/Records.h"

// "colors.vr": 27 colours "red|green|blue", one per line. The program only reads it.
namespace vorlan::storage {

// The palette of the shipped file, for a program folder without one.
Colors DefaultColors();

// Reads the colours in order, each as "%d|%d|%d" with white space allowed before
// every number. The first colour that does not parse ends the reading: it and all
// later colours keep their values. Each component is clamped to 0..255, so that a
// stray value cannot spill into the neighbouring component.
void ParseColors(std::string_view bytes, Colors& colors);

// False, with `colors` unchanged, when the file cannot be read.
bool LoadColors(const std::string& path, Colors& colors);

}  // namespace vorlan::storage
