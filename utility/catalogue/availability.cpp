#include "catalogue/availability.h"

#include <algorithm>

#include "catalogue/model_groups.h"

namespace kt::catalogue {
namespace {

using groups::znModels;

enum class Page1 { ShowIfSw4Bit8On, ShowIfSw2Bit1On, Show, Leave };

struct Page1Rule {
    const ModelCondition &when;
    Page1 page;
};

// Soft switch 1 is shown only where it is in force; first match wins.
const std::vector<Page1Rule> &page1Rules()
{
    static const ModelCondition other = ModelCondition::always();
    static const std::vector<Page1Rule> rules = {
        {groups::softwareSwitch1Models(), Page1::ShowIfSw4Bit8On},
        {znModels(), Page1::ShowIfSw2Bit1On},
        {groups::page1AlwaysModels(), Page1::Show},
        {other, Page1::Leave},
    };
    return rules;
}

Visibility shownIf(bool on) { return on ? Visibility::Show : Visibility::Hide; }

Visibility page1Visibility(std::string_view modelKey, bool sw4Bit8On, bool sw2Bit1On)
{
    const auto &rules = page1Rules();
    const auto rule = std::find_if(rules.begin(), rules.end(), [modelKey](const Page1Rule &r) {
        return r.when.matches(modelKey);
    });
    switch (rule->page) {
    case Page1::ShowIfSw4Bit8On: return shownIf(sw4Bit8On);
    case Page1::ShowIfSw2Bit1On: return shownIf(sw2Bit1On);
    case Page1::Show: return Visibility::Show;
    case Page1::Leave: break;
    }
    return Visibility::Leave;
}

Visibility page34Visibility(std::string_view modelKey)
{
    if (groups::page34Models().matches(modelKey))
        return Visibility::Show;
    return znModels().matches(modelKey) ? Visibility::Hide : Visibility::Leave;
}

struct QueryRow {
    ModelCondition when;
    std::vector<SwitchQuery> queries;
};

// The communication test's switch queries; first match wins, any other
// model reads no switch.
const std::vector<QueryRow> &queryRows()
{
    using enum QueryCondition;
    static const std::vector<QueryRow> rows = {
        {anyOf({prefix("KT-91"), prefix("KT-74"), exact("TW86_USB"), prefix("MV55")}),
         {{1, Always}, {2, Always}, {3, Always}, {4, Always}}},
        {anyOf({exact("KT-7700"), exact("KT-4000"), exact("KT-1700"), exact("KT1401"),
                exact("TW8_USB"), exact("MV8"), prefix("KT-14")}),
         {{2, Always}, {3, Always}, {4, Always}, {1, IfSw4Bit8On}}},
        {znModels(), {{2, Always}, {1, IfSw2Bit1On}}},
    };
    return rows;
}

} // namespace

bool switchChangeable(int switchNo, std::string_view modelKey)
{
    if (switchNo == 1 || switchNo == 2)
        return true;
    if (switchNo == 3 || switchNo == 4)
        return groups::switch34Models().matches(modelKey);
    return false;
}

TabLayout tabLayout(int tab, std::string_view modelKey, bool sw4Bit8On, bool sw2Bit1On)
{
    TabLayout layout;
    layout.printTestsEnabled = true;
    layout.settingsEnabled = true;
    layout.languageInfo = Visibility::Hide;
    switch (tab) {
    case 0:
        layout.languageInfo = Visibility::Show;
        layout.communicateEnabled = true;
        layout.settingsEnabled = false;
        break;
    case 1: layout.switchPage = page1Visibility(modelKey, sw4Bit8On, sw2Bit1On); break;
    case 2: layout.switchPage = Visibility::Show; break;
    case 3:
    case 4: layout.switchPage = page34Visibility(modelKey); break;
    case 5:
        layout.new8x16 = Visibility::Show;
        layout.density = shownIf(groups::densityModels().matches(modelKey));
        layout.thai = shownIf(groups::thaiFontPassModels().matches(modelKey));
        layout.languageInfo = Visibility::Show;
        break;
    default:
        layout.printTestsEnabled = false;
        layout.settingsEnabled = false;
        break;
    }
    return layout;
}

bool readsSwitch(int switchNo, std::string_view modelKey)
{
    switch (switchNo) {
    case 1: return groups::switch34Models().matches(modelKey) || znModels().matches(modelKey);
    case 2: return true;
    case 3:
    case 4: return groups::switch34Models().matches(modelKey);
    default: return false;
    }
}

std::vector<SwitchQuery> communicationTestQueries(std::string_view modelKey)
{
    for (const QueryRow &row : queryRows())
        if (row.when.matches(modelKey))
            return row.queries;
    return {};
}

} // namespace kt::catalogue
