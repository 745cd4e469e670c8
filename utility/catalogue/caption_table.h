// The shape of a switch's caption tables: for every bit index a decision
// list of rows {model condition, fields written}, the bits whose options get
// bold marking, and the field rules that run after the bit's own list.
// caption_engine.h evaluates them; sw1_table.cpp to sw4_table.cpp hold the
// content.
#pragma once

#include <array>
#include <vector>

#include "catalogue/model_condition.h"

namespace kt::catalogue::tables {

enum class Opt : unsigned char { Off, On };
inline constexpr Opt OFF = Opt::Off; // the OFF option is selected (bit value 1)
inline constexpr Opt ON = Opt::On;   // the ON option is selected (bit value 0)

// A caption as stored; kNoCaption writes nothing and the label keeps its text.
using Caption = const char *;
inline constexpr Caption kNoCaption = nullptr;

// As a field bit or a target label: the index the procedure was called with.
inline constexpr int kThisIndex = -1;

struct Combination {
    std::vector<Opt> states; // one state per field bit, in the field's order
    Caption caption;
};

// One caption chosen by the states of the field's bits and written to one
// label. A combination the field does not list writes nothing.
struct Field {
    std::vector<int> bits; // control indexes 0 to 7, or kThisIndex
    int label;             // index of the label written, or kThisIndex
    std::vector<Combination> combinations;
};

// One entry of a decision list. No fields: the row writes no caption.
struct Row {
    ModelCondition when;
    std::vector<Field> writes;
    bool marksBold = true; // false: the models of this row get no bold marking
};

using DecisionList = std::vector<Row>;

struct BitProcedure {
    std::vector<int> boldBits; // bits (indexes) whose two options are marked
    DecisionList list;         // first matching row wins
};

// Runs after the bit's own list when the index is one of `indexes`; every
// rule is tested on its own, in table order.
struct FieldRule {
    std::vector<int> indexes;
    Row row;
};

struct SwitchTable {
    std::array<BitProcedure, 8> bits;
    std::vector<FieldRule> fieldRules;
};

// The bit's own caption in state OFF and ON.
Field ownBit(Caption off, Caption on);
// The caption of bit `bit`, written to that bit's label.
Field bitCaption(int bit, Caption off, Caption on);
// One text whatever the states.
Field fixedCaption(int label, Caption text);
// Two bits as one field; the captions in the order first/second bit
// OFF/OFF, OFF/ON, ON/OFF, ON/ON.
Field twoBitField(int first, int second, int label, Caption offOff, Caption offOn, Caption onOff,
                  Caption onOn);

Row row(ModelCondition when, Caption off, Caption on);
Row row(ModelCondition when, Field field);
Row row(ModelCondition when, std::vector<Field> writes);
// The same row without bold marking.
Row unmarked(Row r);

using BoldMarking = std::array<std::vector<int>, 8>;
// Every index marks the options of its own bit.
BoldMarking ownBitMarking();

SwitchTable makeTable(const BoldMarking &marking, std::array<DecisionList, 8> lists,
                      std::vector<FieldRule> fieldRules = {});

} // namespace kt::catalogue::tables
