// `ktsw explain`: the display procedure of one switch on the design-time
// page, then option clicks, as the window would run them; prints the page.
#include <ostream>

#include "catalogue/switch_page.h"
#include "command.h"
#include "explain_args.h"
#include "json_text.h"

namespace kt::ktsw {
namespace {

using catalogue::BitRow;
using catalogue::SwitchPage;

const std::optional<bool> &selectedBold(const BitRow &bit)
{
    return bit.on ? bit.onBold : bit.offBold;
}

void printJson(const ExplainRequest &request, const SwitchPage &page, std::ostream &out)
{
    out << "{\"model\": " << jsonString(request.model) << ", \"switch\": " << request.switchNo
        << ", \"value\": " << request.value << ", \"bits\": [";
    for (std::size_t k = 0; k < page.bits.size(); ++k) {
        const BitRow &bit = page.bits[k];
        const auto &bold = selectedBold(bit);
        out << (k == 0 ? "" : ", ") << "{\"bit\": " << k + 1 << ", \"state\": \""
            << (bit.on ? "ON" : "OFF") << "\", \"written\": " << (bit.written ? "true" : "false")
            << ", \"caption\": " << (bit.written ? jsonString(bit.caption) : "null")
            << ", \"bold\": " << (bold ? (*bold ? "true" : "false") : "null") << '}';
    }
    out << "]}\n";
}

void printText(const ExplainRequest &request, const SwitchPage &page, std::ostream &out)
{
    out << "model " << jsonString(request.model) << ", soft switch " << request.switchNo
        << ", value " << request.value << '\n';
    for (std::size_t k = 0; k < page.bits.size(); ++k) {
        const BitRow &bit = page.bits[k];
        const auto &bold = selectedBold(bit);
        out << "bit " << k + 1 << ": " << (bit.on ? "ON " : "OFF") << "  "
            << (bold ? (*bold ? "bold  " : "normal") : "unset ") << "  " << jsonString(bit.caption)
            << (bit.written ? "" : " (design-time)") << '\n';
    }
}

} // namespace

int runExplain(const Arguments &args, std::ostream &out, std::ostream &err)
{
    std::string error;
    const auto request = parseExplainArgs(args, error);
    if (!request) {
        err << "ktsw explain: " << error << "\n" << explainUsage();
        return kExitUsage;
    }
    if (request->help) {
        out << explainUsage();
        return out.flush() ? 0 : 1;
    }

    SwitchPage page = catalogue::designTimePage(request->switchNo);
    catalogue::show(page, request->value, request->model);
    for (const Selection &s : request->selections)
        catalogue::click(page, s.bit - 1, s.on, request->model);

    if (request->json)
        printJson(*request, page, out);
    else
        printText(*request, page, out);
    return out.flush() ? 0 : 1;
}

} // namespace kt::ktsw
