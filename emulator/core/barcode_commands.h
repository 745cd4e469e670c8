// What the barcode commands mean: the barcode systems of GS k and their
// data, and the two-dimensional code functions of GS ( k (QR code and
// PDF417: settings, the symbol storage, print and size information).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "barcode_symbols.h"
#include "status.h"

namespace kt::emu {

struct BarcodeSystem {
    Symbology symbology;
    const char *name; // "CODE128"
};

// The system GS k m selects (m 0 to 6, or 65 to 73), or nullptr.
const BarcodeSystem *findBarcodeSystem(int m);

// The data as the barcode library takes it: CODE39's start and stop
// characters dropped, CODE128's code set escapes ({A {B {C {S {{) resolved.
// Fails naming what the printer would refuse.
Result<std::string> barcodeData(const BarcodeSystem &system, std::string_view data);

// "73 CODE128 {B123456789" without the m: the system and the data.
std::string describeBarcode(int m, const std::string &data);

// The settings and stored data of the two-dimensional codes.
struct CodeSettings {
    int qrModel = 2;      // 1, 2, or 3 for micro
    int qrModuleSize = 3; // dots, 1 to 16
    int qrErrorLevel = 0; // 0 L, 1 M, 2 Q, 3 H
    std::optional<std::string> qrData;
    int pdfColumns = 0;     // 0: automatic
    int pdfRows = 0;        // 0: automatic
    int pdfModuleWidth = 3; // dots, 2 to 8
    int pdfRowHeight = 3;   // in module widths, 2 to 8
    int pdfErrorLevel = -1; // 0 to 8; -1 chosen from the data
    bool pdfTruncated = false;
    std::optional<std::string> pdfData;
};

enum class CodeAction { None, Print, TransmitSize };

struct CodeFunctionResult {
    CodeAction action = CodeAction::None;
    std::string outcome; // a value refused, or an unknown function
};

// Runs GS ( k cn fn with what follows fn (`params`) against the settings.
// Printing and the size answer are left to the caller: they need the paper.
CodeFunctionResult runCodeFunction(CodeSettings &settings, int cn, int fn,
                                   std::span<const std::uint8_t> params);

// A symbol's modules and the dots each module takes on the paper.
struct ScaledSymbol {
    DotMatrix modules;
    int dotsAcross = 1, dotsDown = 1;

    int width() const { return modules.width * dotsAcross; }
    int height() const { return modules.height * dotsDown; }
    DotMatrix dots() const { return modules.scaled(dotsAcross, dotsDown); }
};

// The stored symbol of cn (49 QR, 48 PDF417) at its set module size;
// fails when nothing is stored or the data cannot be encoded.
Result<ScaledSymbol> storedSymbol(const CodeSettings &settings, int cn);

// The answer to the size information function: 37h, an identifier (46h
// QR, 44h PDF417), the width and height in dots as decimal digits, each
// followed by 1Fh, then 30h when the symbol can be printed (31h when not)
// and NUL.
std::vector<std::uint8_t> sizeInformation(int cn, const Result<ScaledSymbol> &symbol);

// "49 80 (QR code: store 12 bytes)": the transcript's words for a function.
std::string describeSymbolFunction(int cn, int fn, std::span<const std::uint8_t> params);

} // namespace kt::emu
