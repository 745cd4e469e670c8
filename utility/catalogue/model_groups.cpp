#include "catalogue/model_groups.h"

namespace kt::catalogue::groups {

const ModelCondition &familyA()
{
    static const ModelCondition c
        = anyOf({exact("KT-7700"), exact("KT-4000"), prefix("KT-14"), prefix("MV8"), prefix("MV55"),
                 prefix("KT-91"), prefix("KT-74")});
    return c;
}

const ModelCondition &groupD()
{
    static const ModelCondition c = anyOf({exact("KT-7700"), exact("KT-4000"), prefix("KT-91"),
                                           prefix("KT-14"), prefix("MV8"), prefix("MV55")});
    return c;
}

const ModelCondition &groupU()
{
    static const ModelCondition c = anyOf({exact("KT1401"), exact("TW86_USB"), exact("TW8_USB")});
    return c;
}

const ModelCondition &znModels()
{
    static const ModelCondition c = anyOf(
        {exact("ZN-PRINTER"), exact("ZN5-PRINTER"), exact("ZN8-PRINTER"), exact("ZN8-PRINTER-II")});
    return c;
}

const ModelCondition &page34Models()
{
    static const ModelCondition c = anyOf(
        {exact("KT-7700"), exact("KT-4000"), exact("KT1401"), exact("TW86_USB"), exact("TW8_USB"),
         exact("MV8"), prefix("KT-91"), prefix("KT-74"), prefix("KT-14"), prefix("MV55")});
    return c;
}

const ModelCondition &switch34Models()
{
    static const ModelCondition c = page34Models() || exact("KT-1700");
    return c;
}

const ModelCondition &softwareSwitch1Models()
{
    static const ModelCondition c = anyOf({exact("KT-7700"), exact("KT-4000"), exact("KT1401"),
                                           exact("TW8_USB"), exact("MV8"), prefix("KT-14")});
    return c;
}

const ModelCondition &page1AlwaysModels()
{
    static const ModelCondition c
        = anyOf({prefix("KT-91"), prefix("KT-74"), prefix("TW86"), prefix("MV55")});
    return c;
}

const ModelCondition &densityModels()
{
    static const ModelCondition c = anyOf({exact("KT-6500E"), exact("KT-7000"), exact("KT-1700")});
    return c;
}

const ModelCondition &thaiFontPassModels()
{
    static const ModelCondition c = exact("KT-4000");
    return c;
}

} // namespace kt::catalogue::groups
