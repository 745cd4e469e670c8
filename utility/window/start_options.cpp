#include "window/start_options.h"

#include <ostream>

#include <CLI/CLI.hpp>

#include "kt_build_info.h"

namespace kt::window {

std::variant<StartOptions, int> readStartOptions(int argc, const char *const *argv,
                                                 std::ostream &out, std::ostream &err)
{
    CLI::App app{"KT_SW_Utility: the printer software switch utility (one window)",
                 "KT_SW_Utility"};
    app.set_version_flag("--version", "KT_SW_Utility " KT_VERSION);
    // Qt's own options and anything else pass through untouched.
    app.allow_extras();
    StartOptions options;
    app.add_option("--quit-after", options.quitAfterMs,
                   "close the window after MS milliseconds (a start-and-exit check)")
        ->option_text("MS")
        ->check(CLI::Range(0, 3'600'000));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        return app.exit(e, out, err);
    }
    return options;
}

} // namespace kt::window
