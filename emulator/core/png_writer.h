// Writes a paper image as a black-on-white PNG file.
#pragma once

#include "paper_roll.h"

#include <filesystem>
#include <string>

namespace kt::emu {

// Writes the file whole or not at all (a temporary file renamed into
// place). Returns an error text, empty on success. An empty roll gives a
// short blank strip, since a PNG cannot have no rows.
std::string writePaperPng(const PaperImage &paper, const std::filesystem::path &path);

} // namespace kt::emu
