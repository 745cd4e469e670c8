// The printer's side of the protocol, driven in-process: queries and their
// replies, unlock / write / lock, fillers, bad input and the faults.
#include <gtest/gtest.h>

#include "core/emulator.h"
#include "core/parameters.h"
#include "emulator_test_util.h"

namespace kt::emu {
namespace {

using test::Bytes;
using test::hex;
// The check misses calls of an operator brought in by a using-declaration.
using test::operator+; // NOLINT(misc-unused-using-decls)

EmulatorOptions modelOptions(const std::string &model)
{
    EmulatorOptions o;
    o.model = model;
    return o;
}

struct Query {
    const char *command;
    Bytes reply;
};

TEST(EmulatorQueries, AreAnsweredWithHeaderValueAndNul)
{
    Emulator emu(modelOptions("KT-9100X"));
    auto c = emu.connect();
    const std::vector<Query> queries{
        {"1D 67 34 27 00", hex("'_146' 00")},   // soft switch 1
        {"1D 67 34 24", hex("'_STANDARD' 00")}, // language model
        {"1D 67 34 2B 00", hex("'_255' 00")},   // Thai font pass
        {"1D 67 34 25 00", hex("'_' 00")},      // new 8x16 font, off
        {"1D 67 34 10", hex("'_1287' 00")},     // hours powered
        {"1D 49 42", hex("'_TALVORIN POS' 00")},
        {"1D 49 43", hex("'_KT-9100X' 00")},
        {"1D 49 41", hex("'_V4.20' 00")},
        {"10 04 01", hex("12")}, // status: fixed bits only
        {"1D 49 5A", {}},        // no such identity item
        {"1D 67 34 03", {}},     // no such parameter
    };
    for (const auto &q : queries) {
        SCOPED_TRACE(q.command);
        EXPECT_EQ(c->send(hex(q.command)), q.reply);
    }
}

// The models of the USB table with their product ids; every catalogue
// model answers its own name and the maker word.
TEST(EmulatorProfiles, EveryCatalogueModelIdentifiesItself)
{
    const std::vector<std::pair<std::string, std::uint16_t>> usb{
        {"KT-4000", 0x3330},  {"KT-7700", 0x0338}, {"ZN8_USB", 0x036b}, {"KT-1400", 0x0369},
        {"KT-6500F", 0x0353}, {"TW8_USB", 0x036e}, {"TW5_USB", 0x036f}, {"MV8", 0x0340},
        {"TW86_USB", 0x0376}, {"KT-9100", 0x0378}, {"KT-7400", 0x037c}, {"KT-6700", 0x037e},
        {"MV330", 0x037a},    {"MV550", 0x0380},   {"KT-9100X", 0x0384}};
    for (const auto &[model, pid] : usb) {
        auto p = findProfile(model);
        ASSERT_TRUE(p) << model;
        EXPECT_EQ(p->usbProductId, pid) << model;
    }
    const auto names = catalogueModelNames();
    EXPECT_EQ(names.size(), 23u);
    for (const auto &model : names) {
        SCOPED_TRACE(model);
        Emulator emu(modelOptions(model));
        auto c = emu.connect();
        EXPECT_EQ(c->send(hex("1D 49 43")), hex("'_" + model + "' 00"));
        EXPECT_NE(test::text(c->send(hex("1D 49 42"))).find("TALVORIN"), std::string::npos);
        for (int sw = 0; sw < 4; ++sw) {
            const auto reply = test::text(
                c->send(hex("1D 67 34") + Bytes{static_cast<std::uint8_t>(0x27 + sw)}));
            ASSERT_GE(reply.size(), 3u);
            EXPECT_LE(std::stoi(reply.substr(1)), 255);
        }
    }
    EXPECT_FALSE(findProfile("KT-4000 "));
}

TEST(EmulatorProfiles, OverridesChangeFieldsAndRejectBadValues)
{
    auto o = modelOptions("KT-4000");
    o.overrides = {{"serial", "SN-1"}, {"model", ";1KT-4000"}, {"soft_switch_2", "5"}};
    Emulator emu(o);
    auto c = emu.connect();
    EXPECT_EQ(c->send(hex("1D 49 44")), hex("'_SN-1' 00"));
    EXPECT_EQ(c->send(hex("1D 49 43")), hex("'_;1KT-4000' 00"));
    EXPECT_EQ(c->send(hex("1D 67 34 28 00")), hex("'_5' 00"));
    for (const auto &bad :
         std::vector<std::pair<std::string, std::string>>{{"soft_switch_1", "256"},
                                                          {"usb_pid", "xyz"},
                                                          {"no_such_key", "1"},
                                                          {"paper_width", "8"}}) {
        auto b = modelOptions("KT-4000");
        b.overrides = {bad};
        EXPECT_THROW(Emulator{b}, EmulatorError) << bad.first;
    }
    EXPECT_THROW(Emulator{modelOptions("KT-0000")}, EmulatorError);
}

TEST(EmulatorWrites, CountOnlyBetweenUnlockAndLock)
{
    Emulator emu(modelOptions("KT-4000"));
    auto c = emu.connect();
    const Bytes unlock = hex("1D 67 75 6E 6C 00"), lock = hex("1D 67 6C 63 6B 00");
    c->send(hex("1D 67 38 29 32 30 30 00"));
    EXPECT_EQ(emu.parameter(41), "0") << "a write outside unlock and lock is ignored";
    c->send(unlock + hex("1D 67 38 29 32 30 30 00") + lock);
    EXPECT_EQ(emu.parameter(41), "200");
    c->send(hex("1D 67 38 29 35 00 00 00"));
    EXPECT_EQ(emu.parameter(41), "200") << "after lock writes are ignored again";
    EXPECT_FALSE(emu.unlocked());
}

// The service utility's write of the additional switches, sent byte by
// byte as it does on serial and TCP ports.
TEST(EmulatorWrites, UtilityFixedLengthWritesByteByByte)
{
    Emulator emu(modelOptions("KT-4000"));
    auto c = emu.connect();
    const Bytes stream = hex("1D 67 75 6E 6C 00") + hex("1D 67 38 21 31 39 00 00")
        + hex("1D 67 38 24 'LITHUANIA' 00 00 00 00 00 00 00 00 00 00 00 00")
        + hex("1D 67 38 22 38 00 00") + hex("1D 67 38 30 32 00 00") + hex("1D 67 38 25 4F 4E 00 00")
        + hex("1D 67 38 2B 32 34 39 00 00 00 00 00") + hex("1D 67 6C 63 6B 00");
    for (std::uint8_t b : stream)
        EXPECT_TRUE(c->send(Bytes{b}).empty());
    EXPECT_EQ(emu.parameter(param::CodePage), "19");
    EXPECT_EQ(emu.parameter(param::LanguageModel), "LITHUANIA");
    EXPECT_EQ(emu.parameter(param::InterChars), "8");
    EXPECT_EQ(emu.parameter(param::PrintDensity), "2");
    EXPECT_EQ(emu.parameter(param::New8x16Font), "ON");
    EXPECT_EQ(emu.parameter(param::ThaiFontPass), "249");
    int applied = 0;
    for (const auto &e : emu.transcript()) {
        EXPECT_EQ(e.name.find("skipped"), std::string::npos) << e.name;
        applied += e.outcome == "applied";
    }
    EXPECT_EQ(applied, 6);
}

// The library's parameter write sends no terminator: a pause ends it.
TEST(EmulatorWrites, UnterminatedWriteEndsAtAPause)
{
    Emulator emu(modelOptions("KT-4000"));
    auto c = emu.connect();
    c->send(hex("1D 67 75 6E 6C 00 1D 67 38 08 31 32"));
    EXPECT_EQ(emu.parameter(8), "") << "the value may still go on";
    c->pause();
    EXPECT_EQ(emu.parameter(8), "12");
}

TEST(EmulatorWrites, InvalidValuesChangeNothing)
{
    Emulator emu(modelOptions("KT-4000"));
    auto c = emu.connect();
    c->send(hex("1D 67 75 6E 6C 00"));
    for (const char *bad :
         {"1D 67 38 27 33 30 30 00", "1D 67 38 27 31 41 00 00", "1D 67 38 27 00 00 00 00",
          "1D 67 38 21 32 35 36 00", "1D 67 38 10 '12x' 00"}) {
        SCOPED_TRACE(bad);
        c->send(hex(bad));
        EXPECT_EQ(emu.transcript().back().outcome.rfind("rejected", 0), 0u);
    }
    EXPECT_EQ(emu.parameter(param::SoftSwitch1), "2");
    EXPECT_EQ(emu.parameter(param::CodePage), "0");
    EXPECT_EQ(emu.parameter(param::HoursPowered), "1287");
}

// The USB read shape writes a 00 and then a blank before it reads; neither
// may reach the paper or spoil the next command.
TEST(EmulatorBadInput, ReadFillersDoNotDisturb)
{
    Emulator emu(modelOptions("KT-4000"));
    auto c = emu.connect();
    EXPECT_EQ(c->send(hex("1D 67 34 27 00")), hex("'_2' 00"));
    EXPECT_TRUE(c->send(hex("00")).empty());
    EXPECT_TRUE(c->send(hex("20")).empty());
    EXPECT_EQ(c->send(hex("1D 67 34 28 00")), hex("'_0' 00"));
    c->send(hex("1B 21 00 'X' 0A"));
    const auto paper = emu.paper();
    // The only printed line holds "X" in the first cell, nothing before it.
    bool firstCellInked = false, anyInkBeyond = false;
    for (int y = 0; y < paper.height; ++y)
        for (int x = 0; x < paper.width; ++x)
            (x < 12 ? firstCellInked : anyInkBeyond) |= paper.dot(x, y);
    EXPECT_TRUE(firstCellInked);
    EXPECT_FALSE(anyInkBeyond);
}

TEST(EmulatorBadInput, UnknownAndTruncatedCommandsAreSkipped)
{
    Emulator emu(modelOptions("KT-4000"));
    auto c = emu.connect();
    EXPECT_EQ(c->send(hex("07 1B 7A 1D 67 1D 49 43")), hex("'_KT-4000' 00"));
    c->send(hex("1D 67 75 6E 6C 00 1D 67 38 27"));
    c->close();
    EXPECT_EQ(emu.parameter(param::SoftSwitch1), "2");
    std::vector<std::string> names;
    for (const auto &e : emu.transcript())
        names.push_back(e.name);
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[0], "unknown control byte (skipped)");
    EXPECT_EQ(names[1], "unknown ESC (skipped)");
    EXPECT_EQ(names[2], "unknown GS g (skipped)");
    EXPECT_EQ(names[3], "GS I k=C (model name)");
    EXPECT_EQ(names[5], "GS g 8 n=39 (write soft switch 1) \"\"") << "ended by the close";
}

// However the bytes of a long define command are split, it is taken once,
// whole, and what follows it is answered at once.
TEST(EmulatorBadInput, ALongDefineCommandIsTakenOnceWholeInAnyPieces)
{
    Bytes define = hex("1C 71 02");
    for (int image = 0; image < 2; ++image) {
        define = define + hex("48 00 20 00"); // 72 x 32 units: 18432 bytes
        for (int i = 0; i < 72 * 32 * 8; ++i)
            define.push_back(static_cast<std::uint8_t>(i * 7 + image));
    }
    for (std::size_t piece : {1u, 1000u, 4096u, 65536u}) {
        SCOPED_TRACE(piece);
        Emulator emu(modelOptions("KT-4000"));
        auto c = emu.connect();
        for (std::size_t at = 0; at < define.size(); at += piece)
            EXPECT_EQ(c->send({define.data() + at, std::min(piece, define.size() - at)}), Bytes{});
        EXPECT_EQ(c->send(hex("10 04 01")), hex("12"));
        ASSERT_EQ(emu.transcriptCount(), 2u);
        const auto images = emu.state().images;
        ASSERT_EQ(images.size(), 2u);
        EXPECT_EQ(images[1].data.back(), define.back());
    }
}

TEST(EmulatorTranscript, NamesCommandsAndAnswers)
{
    Emulator emu(modelOptions("KT-9100X"));
    auto c = emu.connect();
    c->send(hex("1D 67 34 27 00"));
    const auto e = emu.transcript().at(0);
    EXPECT_EQ(e.name, "GS g 4 n=39 (read soft switch 1)");
    EXPECT_EQ(e.bytes, hex("1D 67 34 27 00"));
    EXPECT_EQ(e.reply, hex("'_146' 00"));
    EXPECT_NE(formatEntry(e).find(
                  "1D 67 34 27 00 | GS g 4 n=39 (read soft switch 1) | answered 5F 31 34 36 00"),
              std::string::npos);
}

struct FaultCase {
    const char *what;
    FaultOptions faults;
    Bytes reply;
};

TEST(EmulatorFaults, ShapeTheAnswers)
{
    FaultOptions silent, noHeader, late;
    silent.silent = true;
    noHeader.noHeader = true;
    late.lateMs = 1;
    for (const auto &f : std::vector<FaultCase>{{"silent", silent, {}},
                                                {"no header", noHeader, hex("'146' 00")},
                                                {"late", late, hex("'_146' 00")}}) {
        SCOPED_TRACE(f.what);
        auto o = modelOptions("KT-9100X");
        o.faults = f.faults;
        Emulator emu(o);
        EXPECT_EQ(emu.connect()->send(hex("1D 67 34 27 00")), f.reply);
    }
}

TEST(EmulatorFaults, GarbageIsNoReply)
{
    Emulator emu(modelOptions("KT-9100X"));
    FaultOptions f;
    f.garbage = true;
    emu.setFaults(f);
    const auto reply = emu.connect()->send(hex("1D 49 43"));
    ASSERT_EQ(reply.size(), hex("'_KT-9100X' 00").size());
    for (auto b : reply)
        EXPECT_TRUE(b != '_' && b != 0);
}

TEST(EmulatorFaults, DropAfterClosesTheConnectionButNotThePrinter)
{
    Emulator emu(modelOptions("KT-4000"));
    FaultOptions f;
    f.dropAfter = 2;
    emu.setFaults(f);
    auto c = emu.connect();
    EXPECT_FALSE(c->send(hex("1D 49 43")).empty());
    EXPECT_FALSE(c->send(hex("00 00 1D 49 42")).empty()) << "fillers are not commands";
    EXPECT_TRUE(c->dropped());
    EXPECT_TRUE(c->send(hex("1D 49 43")).empty());
    EXPECT_FALSE(emu.connect()->send(hex("1D 49 43")).empty()) << "a new connection is served";
}

TEST(EmulatorFaults, ForgetWritesAcknowledgesButStoresNothing)
{
    auto o = modelOptions("KT-4000");
    o.faults.forgetWrites = true;
    Emulator emu(o);
    auto c = emu.connect();
    EXPECT_TRUE(
        c->send(hex("1D 67 75 6E 6C 00 1D 67 38 29 32 30 30 00 1D 67 6C 63 6B 00")).empty());
    EXPECT_EQ(emu.parameter(41), "0");
    EXPECT_EQ(c->send(hex("1D 67 34 29 00")), hex("'_0' 00"));
    EXPECT_EQ(emu.transcript().at(1).outcome, "acknowledged but not stored (forget-writes fault)");
}

// The fault names of the command line, one at a time onto no faults.
TEST(EmulatorFaults, NamesGiveTheirFaultsAndUnknownNamesAreRefused)
{
    struct Case {
        const char *name;
        bool ok;
        std::string described;
    };
    for (const auto &k : std::vector<Case>{{"silent", true, "silent"},
                                           {"no-header", true, "no header"},
                                           {"garbage", true, "garbage"},
                                           {"forget-writes", true, "forget writes"},
                                           {"late-250", true, "late 250 ms"},
                                           {"drop-after-3", true, "drop after 3 commands"},
                                           {"drop-after-", false, ""},
                                           {"late-1x", false, ""},
                                           {"late-99999999", false, ""},
                                           {"silently", false, ""},
                                           {"", false, ""}}) {
        SCOPED_TRACE(k.name);
        FaultOptions f;
        const Status added = addFault(f, k.name);
        EXPECT_EQ(added.ok(), k.ok) << added.error();
        if (k.ok)
            EXPECT_EQ(describeFaults(f), k.described);
        else
            EXPECT_NE(added.error().find("unknown fault"), std::string::npos);
    }
}

} // namespace
} // namespace kt::emu
