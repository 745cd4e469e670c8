// The named model groups and lists of the catalogue as conditions, for the
// caption tables and the availability decisions. models.h offers the same
// groups as plain tests.
#pragma once

#include "catalogue/model_condition.h"

namespace kt::catalogue::groups {

// "KT-7700", "KT-4000" and the KT-14, MV8, MV55, KT-91 and KT-74 families:
// the models whose serial settings sit at bits 6 to 8 of soft switch 2.
const ModelCondition &familyA();
// Family A without KT-74: the models with the four-bit density field of
// soft switch 3.
const ModelCondition &groupD();
// "KT1401", "TW86_USB", "TW8_USB".
const ModelCondition &groupU();
// The four ZN printers.
const ModelCondition &znModels();
// Soft switches 3 and 4 exist (also the model list of Read Settings).
const ModelCondition &switch34Models();
// Soft switch 3 and 4 pages are shown: the switch-3/4 models but "KT-1700".
const ModelCondition &page34Models();
// Soft switch 1 is in force only when soft switch 4 bit 8 selects it.
const ModelCondition &softwareSwitch1Models();
// Soft switch 1 is always in force.
const ModelCondition &page1AlwaysModels();
// Models with the print density setting.
const ModelCondition &densityModels();
// The one model with the Thai font pass setting.
const ModelCondition &thaiFontPassModels();

} // namespace kt::catalogue::groups
