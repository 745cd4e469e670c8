#include "switch_pages.h"

#include "catalogue/availability.h"
#include "catalogue/switch_page.h"
#include "protocol/reply_rules.h"

namespace kt::ktsw {
namespace {

bool shown(int switchNo, std::string_view model, bool sw4Bit8On, bool sw2Bit1On)
{
    return catalogue::tabLayout(switchNo, model, sw4Bit8On, sw2Bit1On).switchPage
        == catalogue::Visibility::Show;
}

catalogue::SwitchPage shownPage(int switchNo, int value, std::string_view model)
{
    catalogue::SwitchPage page = catalogue::designTimePage(switchNo);
    catalogue::show(page, value, model);
    return page;
}

} // namespace

PageRule pageRule(int switchNo, std::string_view model)
{
    if (switchNo < 1 || switchNo > 4 || !shown(switchNo, model, true, true))
        return PageRule::Never;
    if (!shown(switchNo, model, false, true))
        return PageRule::IfSw4Bit8On;
    if (!shown(switchNo, model, true, false))
        return PageRule::IfSw2Bit1On;
    return PageRule::Always;
}

Result<std::optional<int>> readSwitch(PrinterLink &link, int switchNo)
{
    auto reply = link.query(protocol::queryEntry(protocol::switchQuery(switchNo)).bytes);
    if (!reply.ok())
        return reply.failure();
    if (!reply.value())
        return std::optional<int>();
    return protocol::switchValue(*reply.value());
}

Result<bool> hasPage(PrinterLink &link, int switchNo, std::string_view model)
{
    const PageRule rule = pageRule(switchNo, model);
    if (rule == PageRule::Never || rule == PageRule::Always)
        return rule == PageRule::Always;
    const bool onSw4 = rule == PageRule::IfSw4Bit8On;
    auto controlling = readSwitch(link, onSw4 ? 4 : 2);
    if (!controlling.ok())
        return controlling.failure();
    if (!controlling.value())
        return noAnswer(link, onSw4 ? "soft switch 4" : "soft switch 2");
    return bitOn(*controlling.value(), onSw4 ? 8 : 1);
}

Result<std::vector<SwitchByte>> readTestSwitches(PrinterLink &link, std::string_view model)
{
    std::vector<SwitchByte> read;
    const auto bitOnIn = [&read](int switchNo, int bit) {
        for (const SwitchByte &s : read)
            if (s.switchNo == switchNo && s.value)
                return bitOn(*s.value, bit);
        return false;
    };
    for (const catalogue::SwitchQuery &query : catalogue::communicationTestQueries(model)) {
        if (query.condition == catalogue::QueryCondition::IfSw4Bit8On && !bitOnIn(4, 8))
            continue;
        if (query.condition == catalogue::QueryCondition::IfSw2Bit1On && !bitOnIn(2, 1))
            continue;
        auto value = readSwitch(link, query.switchNo);
        if (!value.ok())
            return value.failure();
        read.push_back({query.switchNo, value.value()});
    }
    return read;
}

Json describeSwitch(int switchNo, int value, std::string_view model)
{
    const catalogue::SwitchPage page = shownPage(switchNo, value, model);
    Json bits = Json::array();
    for (std::size_t k = 0; k < page.bits.size(); ++k) {
        const catalogue::BitRow &row = page.bits[k];
        bits.push_back({{"bit", k + 1},
                        {"on", row.on},
                        {"meaning", row.written ? Json(displayText(row.caption)) : Json()}});
    }
    return {{"value", value}, {"bits", bits}};
}

std::vector<std::string> meanings(int switchNo, int value, std::string_view model)
{
    std::vector<std::string> out;
    for (const catalogue::BitRow &row : shownPage(switchNo, value, model).bits)
        out.push_back(row.written ? displayText(row.caption) : std::string());
    return out;
}

} // namespace kt::ktsw
