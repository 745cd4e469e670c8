// Writes a paper image as a black-on-white PNG file.
#pragma once

#include <filesystem>
#include <string>

#include "paper_roll.h"
#include "status.h"

namespace kt::emu {

// Writes the file whole or not at all (a temporary file renamed into
// place). An empty roll gives a short blank strip, since a PNG cannot have
// no rows.
Status writePaperPng(const PaperImage &paper, const std::filesystem::path &path);

} // namespace kt::emu
