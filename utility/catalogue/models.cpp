#include "catalogue/models.h"

#include "catalogue/model_groups.h"

namespace kt::catalogue {

bool isExactly(std::string_view modelKey, std::string_view name)
{
    return ModelCondition::exact(name).matches(modelKey);
}

bool startsWith(std::string_view modelKey, std::string_view name)
{
    return ModelCondition::prefix(name).matches(modelKey);
}

bool isFamilyA(std::string_view modelKey) { return groups::familyA().matches(modelKey); }
bool isGroupD(std::string_view modelKey) { return groups::groupD().matches(modelKey); }
bool isGroupU(std::string_view modelKey) { return groups::groupU().matches(modelKey); }
bool isZnModel(std::string_view modelKey) { return groups::znModels().matches(modelKey); }

bool isSwitch34Model(std::string_view modelKey)
{
    return groups::switch34Models().matches(modelKey);
}

bool isPage34Model(std::string_view modelKey) { return groups::page34Models().matches(modelKey); }

bool isSoftwareSwitch1Model(std::string_view modelKey)
{
    return groups::softwareSwitch1Models().matches(modelKey);
}

bool isPage1AlwaysModel(std::string_view modelKey)
{
    return groups::page1AlwaysModels().matches(modelKey);
}

bool isDensityModel(std::string_view modelKey) { return groups::densityModels().matches(modelKey); }
bool queriesDensity(std::string_view modelKey) { return isDensityModel(modelKey); }

bool hasThaiFontPass(std::string_view modelKey)
{
    return groups::thaiFontPassModels().matches(modelKey);
}

bool isZnBaudRateModel(std::string_view modelKey) { return isZnModel(modelKey); }

} // namespace kt::catalogue
