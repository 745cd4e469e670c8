// Barcodes and two-dimensional codes encoded by the barcode library: the
// symbol's modules, one dot per module, ready to be scaled onto the paper.
#pragma once

#include <string>
#include <string_view>

#include "dot_matrix.h"
#include "status.h"

namespace kt::emu {

enum class Symbology {
    UpcA,
    UpcE,
    Ean13,
    Ean8,
    Code39,
    Itf,
    Codabar,
    Code93,
    Code128,
    Qr,
    Pdf417,
    Pdf417Truncated,
};

struct SymbolOptions {
    int qrErrorLevel = 0;   // 0 L, 1 M, 2 Q, 3 H
    int pdfColumns = 0;     // 0: chosen by the library
    int pdfRows = 0;        // 0: chosen by the library
    int pdfErrorLevel = -1; // 0 to 8; -1: chosen by the library
};

struct EncodedSymbol {
    DotMatrix modules; // one dot per module; stacked codes one row per row
    std::string text;  // the human-readable text under a linear barcode
};

// Encodes `data`; fails with the library's reason for data it refuses.
Result<EncodedSymbol> encodeSymbol(Symbology symbology, std::string_view data,
                                   const SymbolOptions &options = {});

} // namespace kt::emu
