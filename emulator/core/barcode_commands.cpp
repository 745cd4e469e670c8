#include "barcode_commands.h"

#include <algorithm>

namespace kt::emu {
namespace {

constexpr int kQr = 49, kPdf417 = 48;
constexpr std::size_t kShownData = 64; // data bytes the transcript shows

// GS k m: m 0 to 6 are the NUL-ended forms of the first seven systems,
// m 65 to 73 the counted forms of all nine.
constexpr BarcodeSystem kSystems[] = {
    {Symbology::UpcA, "UPC-A"},      {Symbology::UpcE, "UPC-E"},    {Symbology::Ean13, "EAN13"},
    {Symbology::Ean8, "EAN8"},       {Symbology::Code39, "CODE39"}, {Symbology::Itf, "ITF"},
    {Symbology::Codabar, "CODABAR"}, {Symbology::Code93, "CODE93"}, {Symbology::Code128, "CODE128"},
};

std::string printable(std::string_view data)
{
    std::string out;
    for (unsigned char c : data.substr(0, kShownData))
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.';
    return data.size() > kShownData ? out + "..." : out;
}

// The numeric systems take `low` to `high` digits (the check digit may be
// given or left to the printer).
Result<std::string> digits(const BarcodeSystem &system, std::string_view data, std::size_t low,
                           std::size_t high)
{
    if (!std::all_of(data.begin(), data.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return Status::failure(std::string(system.name) + " takes digits only");
    if (data.size() < low || data.size() > high)
        return Status::failure(std::string(system.name) + " takes " + std::to_string(low) + " to "
                               + std::to_string(high) + " digits, not "
                               + std::to_string(data.size()));
    return std::string(data);
}

// CODE128 data starts with the code set ({A, {B or {C}; in code set C
// each byte is a pair of digits (0 to 99). The library picks its own code
// sets for the characters that result, which encode the same text.
Result<std::string> code128Text(std::string_view data)
{
    if (data.size() < 2 || data[0] != '{' || data[1] < 'A' || data[1] > 'C')
        return Status::failure("CODE128 data must start with {A, {B or {C");
    char set = data[1];
    std::string out;
    for (std::size_t i = 2; i < data.size();) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b == '{') {
            if (i + 1 == data.size())
                return Status::failure("CODE128 data ends inside a { escape");
            const char e = data[i + 1];
            i += 2;
            if (e >= 'A' && e <= 'C')
                set = e;
            else if (e == '{')
                out += '{';
            else if (e == 'S' && i < data.size())
                out += data[i++]; // one character of the other code set
            else if (e < '1' || e > '4')
                return Status::failure(std::string("CODE128 has no escape {") + e);
            continue; // FNC1 to FNC4 carry no text of their own
        }
        if (set == 'C') {
            if (b > 99)
                return Status::failure("code set C takes values 0 to 99, not " + std::to_string(b));
            out += static_cast<char>('0' + b / 10);
            out += static_cast<char>('0' + b % 10);
        } else {
            out += static_cast<char>(b);
        }
        ++i;
    }
    if (out.empty())
        return Status::failure("CODE128 data has no characters");
    return out;
}

struct CodeFunction {
    int cn, fn;
    const char *label;
};

constexpr CodeFunction kFunctions[] = {
    {kQr, 65, "QR code: select model"},
    {kQr, 67, "QR code: module size"},
    {kQr, 69, "QR code: error correction level"},
    {kQr, 80, "QR code: store data"},
    {kQr, 81, "QR code: print"},
    {kQr, 82, "QR code: transmit size information"},
    {kPdf417, 65, "PDF417: columns"},
    {kPdf417, 66, "PDF417: rows"},
    {kPdf417, 67, "PDF417: module width"},
    {kPdf417, 68, "PDF417: row height"},
    {kPdf417, 69, "PDF417: error correction level"},
    {kPdf417, 70, "PDF417: options"},
    {kPdf417, 80, "PDF417: store data"},
    {kPdf417, 81, "PDF417: print"},
    {kPdf417, 82, "PDF417: transmit size information"},
};

const CodeFunction *findFunction(int cn, int fn)
{
    for (const auto &f : kFunctions)
        if (f.cn == cn && f.fn == fn)
            return &f;
    return nullptr;
}

// Sets `field` to `value` when it lies in [low, high]; the outcome when not.
std::string setIn(int &field, int value, int low, int high, const char *what)
{
    if (value < low || value > high)
        return std::string(what) + " " + std::to_string(value) + " is not " + std::to_string(low)
            + " to " + std::to_string(high) + ": kept";
    field = value;
    return {};
}

CodeFunctionResult qrFunction(CodeSettings &s, int fn, std::span<const std::uint8_t> p)
{
    CodeFunctionResult r;
    const int n = p.empty() ? -1 : p[0];
    switch (fn) {
    case 65:
        r.outcome = setIn(s.qrModel, n - 48, 1, 3, "QR model");
        if (r.outcome.empty() && s.qrModel != 2)
            r.outcome = "printed as a model 2 symbol";
        break;
    case 67: r.outcome = setIn(s.qrModuleSize, n, 1, 16, "QR module size"); break;
    case 69: r.outcome = setIn(s.qrErrorLevel, n - 48, 0, 3, "QR error correction level"); break;
    case 80: s.qrData = std::string(p.begin() + (p.empty() ? 0 : 1), p.end()); break;
    case 81: r.action = CodeAction::Print; break;
    case 82: r.action = CodeAction::TransmitSize; break;
    }
    return r;
}

CodeFunctionResult pdfFunction(CodeSettings &s, int fn, std::span<const std::uint8_t> p)
{
    CodeFunctionResult r;
    const int n = p.empty() ? -1 : p[0];
    switch (fn) {
    case 65: r.outcome = setIn(s.pdfColumns, n, 0, 30, "PDF417 columns"); break;
    case 66:
        if (n == 0)
            s.pdfRows = 0; // as many as the data needs
        else
            r.outcome = setIn(s.pdfRows, n, 3, 90, "PDF417 rows");
        break;
    case 67: r.outcome = setIn(s.pdfModuleWidth, n, 2, 8, "PDF417 module width"); break;
    case 68: r.outcome = setIn(s.pdfRowHeight, n, 2, 8, "PDF417 row height"); break;
    case 69:
        if (n == 48 && p.size() >= 2)
            r.outcome = setIn(s.pdfErrorLevel, p[1] - 48, 0, 8, "PDF417 error correction level");
        else
            s.pdfErrorLevel = -1; // a ratio: the library sizes the correction to the data
        break;
    case 70: s.pdfTruncated = n == 1; break;
    case 80: s.pdfData = std::string(p.begin() + (p.empty() ? 0 : 1), p.end()); break;
    case 81: r.action = CodeAction::Print; break;
    case 82: r.action = CodeAction::TransmitSize; break;
    }
    return r;
}

void appendNumber(std::vector<std::uint8_t> &out, int n)
{
    for (char c : std::to_string(n))
        out.push_back(static_cast<std::uint8_t>(c));
}

} // namespace

const BarcodeSystem *findBarcodeSystem(int m)
{
    if (m >= 0 && m <= 6)
        return &kSystems[m];
    if (m >= 65 && m <= 73)
        return &kSystems[m - 65];
    return nullptr;
}

Result<std::string> barcodeData(const BarcodeSystem &system, std::string_view data)
{
    switch (system.symbology) {
    case Symbology::Code128: return code128Text(data);
    case Symbology::Code39:
        if (data.size() >= 2 && data.front() == '*' && data.back() == '*')
            data = data.substr(1, data.size() - 2);
        return std::string(data);
    case Symbology::UpcA: return digits(system, data, 11, 12);
    case Symbology::UpcE: return digits(system, data, 6, 8);
    case Symbology::Ean13: return digits(system, data, 12, 13);
    case Symbology::Ean8: return digits(system, data, 7, 8);
    case Symbology::Itf:
        if (data.size() % 2)
            return Status::failure("ITF takes an even number of digits");
        return digits(system, data, 2, 255);
    default: return std::string(data);
    }
}

std::string describeBarcode(int m, const std::string &data)
{
    const auto *system = findBarcodeSystem(m);
    return std::string(system ? system->name : "unknown system") + " " + printable(data);
}

CodeFunctionResult runCodeFunction(CodeSettings &settings, int cn, int fn,
                                   std::span<const std::uint8_t> params)
{
    if (!findFunction(cn, fn))
        return {CodeAction::None, "no such two-dimensional code function: skipped"};
    return cn == kQr ? qrFunction(settings, fn, params) : pdfFunction(settings, fn, params);
}

Result<ScaledSymbol> storedSymbol(const CodeSettings &s, int cn)
{
    const auto &data = cn == kQr ? s.qrData : s.pdfData;
    if (!data)
        return Status::failure("no symbol data is stored");
    SymbolOptions options;
    options.qrErrorLevel = s.qrErrorLevel;
    options.pdfColumns = s.pdfColumns;
    options.pdfRows = s.pdfRows;
    options.pdfErrorLevel = s.pdfErrorLevel;
    const auto symbology = cn == kQr ? Symbology::Qr
        : s.pdfTruncated             ? Symbology::Pdf417Truncated
                                     : Symbology::Pdf417;
    auto encoded = encodeSymbol(symbology, *data, options);
    if (!encoded)
        return encoded.status();
    if (cn == kQr)
        return ScaledSymbol{std::move(encoded->modules), s.qrModuleSize, s.qrModuleSize};
    return ScaledSymbol{std::move(encoded->modules), s.pdfModuleWidth,
                        s.pdfModuleWidth * s.pdfRowHeight};
}

std::vector<std::uint8_t> sizeInformation(int cn, const Result<ScaledSymbol> &symbol)
{
    std::vector<std::uint8_t> out{0x37, static_cast<std::uint8_t>(cn == kQr ? 0x46 : 0x44)};
    appendNumber(out, symbol ? symbol->width() : 0);
    out.push_back(0x1F);
    appendNumber(out, symbol ? symbol->height() : 0);
    out.push_back(0x1F);
    out.push_back(symbol ? 0x30 : 0x31);
    out.push_back(0x00);
    return out;
}

std::string describeSymbolFunction(int cn, int fn, std::span<const std::uint8_t> params)
{
    std::string out = std::to_string(cn) + " " + std::to_string(fn);
    const auto *f = findFunction(cn, fn);
    if (!f)
        return out + " (unknown two-dimensional code function)";
    if (fn == 80)
        return out + " (" + f->label + ": " + std::to_string(params.empty() ? 0 : params.size() - 1)
            + " bytes \""
            + printable({reinterpret_cast<const char *>(params.data()) + (params.empty() ? 0 : 1),
                         params.empty() ? 0 : params.size() - 1})
            + "\")";
    for (std::size_t i = 0; i < params.size() && i < 2; ++i)
        out += " " + std::to_string(params[i]);
    return out + " (" + f->label + ")";
}

} // namespace kt::emu
