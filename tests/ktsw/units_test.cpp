// The pieces of ktsw that decide without a printer: port forms and their
// open errors, status bytes, typed values, the language writes, switch
// pages, PNG logos, and the filter that keeps answers from steering the
// terminal.
#include <cerrno>
#include <sstream>

#include <gtest/gtest.h>
#include <png.h>

#include "bitmap_header.h"
#include "bmp_writer.h"
#include "language_values.h"
#include "logo_image.h"
#include "port_form.h"
#include "status_decode.h"
#include "switch_pages.h"
#include "temp_dir.h"
#include "terminal_filter.h"
#include "values.h"
#include "write_frame.h"

namespace kt::ktsw {
namespace {

using port::FormKind;

TEST(PortForm, EveryFormOfTheCommandLine)
{
    struct Case {
        const char *text;
        FormKind kind;
        const char *target;
        int number;
    };
    const Case cases[] = {
        {"usb", FormKind::UsbFirst, "vid_5e1b&", 0},
        {"USB", FormKind::UsbFirst, "vid_5e1b&", 0},
        {"usb:0384", FormKind::UsbProduct, "vid_5e1b&pid_0384", 0x384},
        {"usb:0x37C", FormKind::UsbProduct, "vid_5e1b&pid_037c", 0x37c},
        {"/dev/usb/lp1", FormKind::UsbNode, "/dev/usb/lp1", 0},
        {"COM3", FormKind::Serial, "/dev/ttyS2", 0},
        {"/dev/ttyUSB0", FormKind::Serial, "/dev/ttyUSB0", 0},
        {"LPT1", FormKind::Parallel, "/dev/lp0", 0},
        {"/dev/lp1", FormKind::Parallel, "/dev/lp1", 0},
        {"printer.example", FormKind::Tcp, "printer.example", 9100},
        {"192.168.1.20:9101", FormKind::Tcp, "192.168.1.20", 9101},
        {"[::1]:9102", FormKind::Tcp, "::1", 9102},
        {"[fe80::1]", FormKind::Tcp, "fe80::1", 9100},
        {"fe80::1", FormKind::Tcp, "fe80::1", 9100},
        {"COM", FormKind::Tcp, "COM", 9100}, // no number: a host name
    };
    for (const Case &c : cases) {
        std::string error;
        const auto form = port::parsePortForm(c.text, error);
        ASSERT_TRUE(form) << c.text << ": " << error;
        EXPECT_EQ(form->kind, c.kind) << c.text;
        EXPECT_EQ(form->target, c.target) << c.text;
        EXPECT_EQ(form->number, c.number) << c.text;
        EXPECT_EQ(form->writeOnly(), c.kind == FormKind::Parallel) << c.text;
    }
}

TEST(PortForm, MalformedFormsSayWhy)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", "no port"},           {"usb:", "hex digits"},   {"usb:12345", "hex digits"},
        {"usb:xyz", "hex digits"}, {"host:0", "1 to 65535"}, {"host:65536", "1 to 65535"},
        {"host:", "1 to 65535"},   {"[::1", "closing ']'"},  {"[::1]9100", "[ADDRESS]:PORT"},
        {":9100", "no host"},
    };
    for (const auto &[text, reason] : cases) {
        std::string error;
        EXPECT_FALSE(port::parsePortForm(text, error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << text << ": " << error;
    }
}

TEST(PortForm, OpenErrorsInWordsToActOn)
{
    std::string error;
    const auto serial = *port::parsePortForm("COM1", error);
    const auto parallel = *port::parsePortForm("LPT1", error);
    const auto usb = *port::parsePortForm("usb", error);
    const auto tcp = *port::parsePortForm("host", error);
    EXPECT_EQ(port::openErrorText(serial, EACCES),
              "permission denied: add your user to the group dialout");
    EXPECT_EQ(port::openErrorText(parallel, EACCES),
              "permission denied: add your user to the group lp");
    EXPECT_EQ(port::openErrorText(usb, EPERM), "permission denied: add your user to the group lp");
    EXPECT_EQ(port::openErrorText(serial, ENOENT),
              "no such device: nothing is attached at /dev/ttyS0");
    EXPECT_NE(port::openErrorText(usb, ENODEV).find("no USB printer of the maker"),
              std::string::npos);
    EXPECT_EQ(port::openErrorText(serial, EBUSY).rfind("busy", 0), 0u);
    EXPECT_EQ(port::openErrorText(tcp, ECONNREFUSED), "connection refused");
    EXPECT_EQ(port::openErrorText(tcp, EADDRNOTAVAIL), "unknown host 'host'");
}

// A device's answer reaches the terminal without a control character that
// could move the cursor, change colours or retitle the window.
TEST(TerminalFilter, ControlCharactersAreShownNotObeyed)
{
    const struct {
        std::string written, shown;
    } rows[] = {
        {"Model: KT-4000\n", "Model: KT-4000\n"},
        {"a\tb\r\n", "a\tb\r\n"},                         // layout characters pass
        {"Caf\xC3\xA9 \xC2\xA0", "Caf\xC3\xA9 \xC2\xA0"}, // UTF-8 and no-break space
        {"a\x1B[2Jb", "a\\x1B[2Jb"},                      // escape sequence shown
        {"\x1B]0;title\x07", "\\x1B]0;title\\x07"},       // window title and bell
        {std::string("x\0y\x7F", 4), "x\\x00y\\x7F"},
        {"\xC2\x9B"
         "31m",
         "\\x9B"
         "31m"},                // C1 CSI written as UTF-8
        {"end\xC2", "end\xC2"}, // a lead byte at the end stays
    };
    for (const auto &row : rows) {
        std::ostringstream shown;
        {
            TerminalFilterStream terminal(shown);
            terminal << row.written;
        }
        EXPECT_EQ(shown.str(), row.shown) << row.written;
    }
}

TEST(StatusBytes, DecodedByTheFamilysConvention)
{
    // -1: no answer to that request.
    const auto bytes = [](int n1, int n2, int n3, int n4) {
        StatusBytes out;
        const int all[] = {n1, n2, n3, n4};
        for (std::size_t i = 0; i < 4; ++i)
            if (all[i] >= 0)
                out[i] = static_cast<std::uint8_t>(all[i]);
        return out;
    };
    struct Case {
        StatusBytes bytes;
        std::optional<bool> online, cover, nearEnd, end, error;
        bool ready;
    };
    const Case cases[] = {
        {bytes(0x12, 0x12, 0x12, 0x12), true, false, false, false, false, true},
        {bytes(0x1A, 0x12, 0x12, 0x12), false, false, false, false, false, false},
        {bytes(0x12, 0x16, 0x12, 0x12), true, true, false, false, false, false},
        {bytes(0x12, 0x52, 0x12, 0x12), true, false, false, false, true, false},
        {bytes(0x12, 0x12, 0x12, 0x1E), true, false, true, false, false, true},
        {bytes(0x12, 0x12, 0x12, 0x16), true, false, true, false, false, true},
        {bytes(0x12, 0x32, 0x12, 0x72), true, false, false, true, false, false},
        {bytes(0x12, 0x12, 0x12, 0x52), true, false, false, true, false, false},
        {bytes(0x12, -1, -1, -1), true, {}, {}, {}, {}, true},
        {bytes(-1, -1, -1, -1), {}, {}, {}, {}, {}, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case &c = cases[i];
        const PrinterStatus s = decodeStatus(c.bytes);
        EXPECT_EQ(s.online, c.online) << i;
        EXPECT_EQ(s.coverOpen, c.cover) << i;
        EXPECT_EQ(s.paperNearEnd, c.nearEnd) << i;
        EXPECT_EQ(s.paperEnd, c.end) << i;
        EXPECT_EQ(s.error, c.error) << i;
        EXPECT_EQ(s.ready(), c.ready) << i;
    }
}

TEST(TypedValues, BytesAndBitChoices)
{
    const std::pair<const char *, std::optional<int>> bytes[] = {
        {"0", 0},   {"255", 255}, {"0x92", 0x92}, {"0XfF", 255}, {"256", {}}, {"0x100", {}},
        {"-1", {}}, {"", {}},     {"0x", {}},     {"12 ", {}},   {"1e2", {}},
    };
    for (const auto &[text, value] : bytes)
        EXPECT_EQ(parseByte(text), value) << text;
    EXPECT_FALSE(parseBitChoice("9=ON"));
    EXPECT_FALSE(parseBitChoice("1=on"));
    EXPECT_FALSE(parseBitChoice("10=ON"));
    // ON is a 0 bit, OFF a 1 bit; later choices win.
    EXPECT_EQ(applyChoices(0, {{1, false}, {8, false}}), 129);
    EXPECT_EQ(applyChoices(255, {{1, true}, {1, false}, {2, true}}), 253);
}

TEST(LanguageWrites, BytesOfEveryChoice)
{
    LanguageChoice c;
    c.codePage = 250;
    c.charset = 15;
    c.density = 2;
    c.font8x16 = false;
    c.thaiPass = 3;
    const auto writes = planLanguageWrites(c);
    ASSERT_TRUE(writes.ok());
    std::vector<std::string> hex;
    for (const LanguageWrite &w : writes.value())
        hex.push_back(w.setting + ": " + hexBytes(w.command));
    EXPECT_EQ(hex,
              (std::vector<std::string>{
                  "code page: 1D 67 38 21 32 35 30 00",
                  "code page name: 1D 67 38 24 4C 49 54 48 55 41 4E 49 41 00 00 00 00 00 "
                  "00 00 00 00 00 00 00",
                  "character set: 1D 67 38 22 31 35 00",
                  "density: 1D 67 38 30 32 00 00",
                  "new 8x16 font: 1D 67 38 25 00 00 00 00",
                  "Thai pass: 1D 67 38 2B 32 34 39 00 00 00 00 00",
              }));
    EXPECT_EQ(writes.value()[1].pauseMs, 1000); // the name waits for the code page
    EXPECT_TRUE(writes.value()[1].holds("LITHUANIA"));
    EXPECT_FALSE(writes.value()[1].holds("STANDARD"));
    EXPECT_TRUE(writes.value()[4].holds(""));   // OFF reads back empty
    EXPECT_FALSE(writes.value()[4].holds("0")); // any answer is ON
    EXPECT_TRUE(writes.value()[5].holds("2491"));
}

TEST(LanguageWrites, ValuesOutsideTheListsAreRefused)
{
    const auto refused = [](auto set) {
        LanguageChoice c;
        set(c);
        const auto writes = planLanguageWrites(c);
        return !writes.ok() && writes.failure().code == kExitUsage;
    };
    EXPECT_TRUE(refused([](LanguageChoice &c) { c.codePage = 6; }));
    EXPECT_TRUE(refused([](LanguageChoice &c) { c.codePage = -1; }));
    EXPECT_TRUE(refused([](LanguageChoice &c) { c.charset = 14; }));
    EXPECT_TRUE(refused([](LanguageChoice &c) { c.density = 3; }));
    EXPECT_TRUE(refused([](LanguageChoice &c) { c.thaiPass = 2; }));
    EXPECT_FALSE(refused([](LanguageChoice &c) {
        c.codePage = 1;
        c.charset = 8;
    }));
}

TEST(SwitchPages, WhereTheWindowShowsAPage)
{
    struct Case {
        int switchNo;
        const char *model;
        PageRule rule;
    };
    const Case cases[] = {
        {1, "KT-9100X", PageRule::Always},         {1, "TW86_USB", PageRule::Always},
        {1, "KT-4000", PageRule::IfSw4Bit8On},     {1, "KT-1400", PageRule::IfSw4Bit8On},
        {1, "ZN8-PRINTER", PageRule::IfSw2Bit1On}, {1, "KT-6700", PageRule::Never},
        {2, "KT-6700", PageRule::Always},          {3, "KT-4000", PageRule::Always},
        {3, "KT-1700", PageRule::Never},           {4, "ZN-PRINTER", PageRule::Never},
        {5, "KT-4000", PageRule::Never},           {0, "KT-4000", PageRule::Never},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pageRule(c.switchNo, c.model), c.rule) << c.switchNo << " " << c.model;
}

// A PNG of the pixels given as 0xRRGGBBAA, top row first.
std::vector<std::uint8_t> png(std::uint32_t width, std::uint32_t height,
                              const std::vector<std::uint32_t> &rgba)
{
    std::vector<std::uint8_t> pixels;
    for (std::uint32_t p : rgba)
        for (int shift : {24, 16, 8, 0})
            pixels.push_back(static_cast<std::uint8_t>(p >> shift));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr));
    std::vector<std::uint8_t> out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
    out.resize(size);
    return out;
}

TEST(Logos, PngIsThresholdedLikeTheSameBmp)
{
    // Colours either side of the default threshold 143 (blue first in a
    // BMP): dark when any of blue, green, red is below it.
    const std::uint32_t white = 0xFFFFFFFF, dark = 0xFFFF8EFF, light = 0xFFC090FF,
                        clear = 0x00000000; // transparent black: composed over white
    const std::vector<std::uint32_t> pixels
        = {dark, white, light, clear, dark, dark, white, dark, white, white, clear, dark};
    kt::test::TempDir dir;
    const std::string pngPath = dir.path() + "/logo.png";
    const std::string bmpPath = dir.path() + "/logo.bmp";
    kt::test::writeFile(pngPath, png(4, 3, pixels));
    kt::test::BmpImage bmp;
    bmp.width = 4;
    bmp.height = 3;
    bmp.bits = 24;
    bmp.pixel = [&](std::uint32_t x, std::uint32_t y) {
        const std::uint32_t p = pixels[y * 4 + x];
        return (p >> 8 & 0xFFFFFF) * ((p & 0xFF) != 0) + 0xFFFFFF * ((p & 0xFF) == 0);
    };
    kt::test::writeFile(bmpPath, kt::test::makeBmp(bmp));

    const auto fromPng = loadLogo(pngPath);
    const auto fromBmp = loadLogo(bmpPath);
    ASSERT_TRUE(fromPng.ok()) << fromPng.failure().message;
    ASSERT_TRUE(fromBmp.ok()) << fromBmp.failure().message;
    EXPECT_EQ(fromPng.value().block, fromBmp.value().block);
    EXPECT_EQ(fromPng.value().width, 4u);
    EXPECT_EQ(fromPng.value().block.size(), 4u + 8u);
    // Column 0, top byte: rows 0 and 1 dark (blank rows print above).
    EXPECT_EQ(fromPng.value().block[4], 0b00000110);

    const auto command = defineCommand({fromPng.value(), fromBmp.value()});
    EXPECT_EQ(command.size(), 3u + 2 * 12);
    EXPECT_EQ(command[2], 2);
}

TEST(Logos, FilesThatAreNoImageAreRefused)
{
    kt::test::TempDir dir;
    const std::string text = dir.path() + "/note.txt";
    kt::test::writeFile(text, {'h', 'e', 'l', 'l', 'o'});
    const std::string broken = dir.path() + "/broken.png";
    auto bytes = png(2, 2, {0, 0, 0, 0});
    bytes.resize(bytes.size() / 2);
    kt::test::writeFile(broken, bytes);
    const std::pair<std::string, const char *> cases[] = {
        {text, "neither a BMP nor a PNG"},
        {broken, "PNG"},
        {dir.path() + "/missing.bmp", "No such file"},
        {dir.path(), ""}, // a directory
    };
    for (const auto &[path, reason] : cases) {
        const auto logo = loadLogo(path);
        ASSERT_FALSE(logo.ok()) << path;
        EXPECT_EQ(logo.failure().code, kExitUsage);
        EXPECT_NE(logo.failure().message.find(reason), std::string::npos) << logo.failure().message;
    }
}

} // namespace
} // namespace kt::ktsw
