#include "barcode_symbols.h"

#include <memory>

#include <zint.h>

namespace kt::emu {
namespace {

int libraryId(Symbology s)
{
    switch (s) {
    case Symbology::UpcA: return BARCODE_UPCA;
    case Symbology::UpcE: return BARCODE_UPCE;
    case Symbology::Ean13:
    case Symbology::Ean8: return BARCODE_EANX; // the length tells the two apart
    case Symbology::Code39: return BARCODE_CODE39;
    case Symbology::Itf: return BARCODE_C25INTER;
    case Symbology::Codabar: return BARCODE_CODABAR;
    case Symbology::Code93: return BARCODE_CODE93;
    case Symbology::Code128: return BARCODE_CODE128;
    case Symbology::Qr: return BARCODE_QRCODE;
    case Symbology::Pdf417: return BARCODE_PDF417;
    case Symbology::Pdf417Truncated: return BARCODE_PDF417COMP;
    }
    return BARCODE_CODE128;
}

struct SymbolDeleter {
    void operator()(zint_symbol *s) const { ZBarcode_Delete(s); }
};

// The library keeps the modules bit-packed, eight to a byte, the first
// module in the lowest bit.
bool moduleSet(const zint_symbol &s, int row, int column)
{
    return (s.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

} // namespace

Result<EncodedSymbol> encodeSymbol(Symbology symbology, std::string_view data,
                                   const SymbolOptions &options)
{
    if (data.empty())
        return Status::failure("no data to encode");
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol)
        return Status::failure("out of memory for the symbol");
    symbol->symbology = libraryId(symbology);
    symbol->input_mode = DATA_MODE; // bytes as they came, no character set conversion
    switch (symbology) {
    case Symbology::Qr: symbol->option_1 = options.qrErrorLevel + 1; break;
    case Symbology::Pdf417:
    case Symbology::Pdf417Truncated:
        symbol->option_1 = options.pdfErrorLevel;
        symbol->option_2 = options.pdfColumns;
        symbol->option_3 = options.pdfRows;
        break;
    default: break;
    }
    const int rc
        = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(data.data()),
                          static_cast<int>(data.size()));
    if (rc >= ZINT_ERROR)
        return Status::failure(symbol->errtxt[0] ? symbol->errtxt : "the data cannot be encoded");
    EncodedSymbol out;
    out.modules = DotMatrix(symbol->width, symbol->rows);
    for (int r = 0; r < symbol->rows; ++r)
        for (int c = 0; c < symbol->width; ++c)
            if (moduleSet(*symbol, r, c))
                out.modules.set(c, r);
    out.text = reinterpret_cast<const char *>(symbol->text);
    return out;
}

} // namespace kt::emu
