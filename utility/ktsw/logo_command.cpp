// `ktsw logo`: store images in the printer (define), print one (print), and
// show what define would store (list). The printer cannot be asked which
// images it holds, so list works on the files alone.
#include <ostream>

#include <CLI/CLI.hpp>

#include "bitmap_define_command.h"
#include "command.h"
#include "logo_image.h"
#include "printer_session.h"

namespace kt::ktsw {
namespace {

struct LogoOptions {
    LinkOptions link;
    std::vector<std::string> files;
    int number = 1;
    int mode = 0;
};

Result<std::vector<LogoImage>> loadAll(const std::vector<std::string> &files)
{
    if (files.size() > kMaxLogos)
        return Failure{kExitUsage, "at most " + std::to_string(kMaxLogos) + " images"};
    std::vector<LogoImage> images;
    for (const std::string &file : files) {
        auto image = loadLogo(file);
        if (!image.ok())
            return image.failure();
        images.push_back(std::move(image.value()));
    }
    return images;
}

Json listing(const std::vector<LogoImage> &images)
{
    Json list = Json::array();
    std::size_t number = 0;
    for (const LogoImage &image : images)
        list.push_back({{"number", ++number},
                        {"file", displayText(image.file)},
                        {"width", image.width},
                        {"height", image.height},
                        {"bytes", image.block.size()}});
    return {{"images", list}, {"command_bytes", defineCommand(images).size()}};
}

void printListing(std::ostream &out, const Json &list)
{
    for (const Json &image : list["images"])
        out << image["number"].get<int>() << ": " << image["file"].get<std::string>() << "  "
            << image["width"].get<int>() << "x" << image["height"].get<int>() << " dots, "
            << image["bytes"].get<std::size_t>() << " bytes\n";
    out << "define command: " << list["command_bytes"].get<std::size_t>() << " bytes\n";
}

// Loads the files and shows what define stores of them in `list` (and as
// text).
Result<std::vector<LogoImage>> loadAndList(const Output &output, const LogoOptions &options,
                                           Json &list)
{
    auto images = loadAll(options.files);
    if (images.ok()) {
        list = listing(images.value());
        if (!output.json)
            printListing(output.out, list);
    }
    return images;
}

int runList(const Streams &streams, const LogoOptions &options)
{
    const Output output = outputFor(streams, "logo list", options.link);
    Json list;
    auto images = loadAndList(output, options, list);
    return images.ok() ? output.print(list) : output.fail(images.failure());
}

// Sends one command that needs no reply (the parallel port serves too);
// `done` is printed once it went out.
int sendOne(const Output &output, const LinkOptions &options, const Command &command,
            const Json &result, const std::string &done)
{
    auto link = PrinterLink::open(options);
    if (!link.ok())
        return output.fail(link.failure());
    if (auto sent = link.value()->send(command); !sent.ok())
        return output.fail(sent.failure());
    if (!output.json)
        output.out << done << '\n';
    return output.print(result);
}

int runDefine(const Streams &streams, const LogoOptions &options)
{
    const Output output = outputFor(streams, "logo define", options.link);
    Json list;
    auto images = loadAndList(output, options, list);
    if (!images.ok())
        return output.fail(images.failure());
    return sendOne(output, options.link, defineCommand(images.value()), list,
                   "stored " + std::to_string(images.value().size()) + " images");
}

int runPrint(const Streams &streams, const LogoOptions &options)
{
    const Output output = outputFor(streams, "logo print", options.link);
    const auto print
        = bitmap::printCommand(static_cast<std::uint8_t>(options.number), options.mode);
    return sendOne(output, options.link, Command(print.begin(), print.end()),
                   {{"printed", options.number}, {"mode", options.mode}},
                   "printing image " + std::to_string(options.number));
}

using Runner = int (*)(const Streams &, const LogoOptions &);

CLI::App *addLogoPart(CLI::App &logo, Run &run, const char *name, const char *summary,
                      Runner runner, const std::shared_ptr<LogoOptions> &options)
{
    CLI::App *part = logo.add_subcommand(name, summary);
    runWhenChosen(*part, run, options, runner);
    return part;
}

} // namespace

void addLogoCommand(CLI::App &app, Run &run)
{
    auto options = std::make_shared<LogoOptions>();
    CLI::App *logo = app.add_subcommand("logo", "store, print and list logo images");
    logo->require_subcommand(1);

    CLI::App *define
        = addLogoPart(*logo, run, "define",
                      "store the images (BMP or PNG) as numbers 1, 2, ... in the order given",
                      runDefine, options);
    addLinkOptions(*define, options->link);
    define->add_option("FILE", options->files, "BMP or PNG files")
        ->required()
        ->check(CLI::ExistingFile);
    define->footer("Replaces every stored image. JSON: images [{number, file, width, height,\n"
                   "bytes}], command_bytes. Needs no reply: works on LPTn too.");

    CLI::App *print = addLogoPart(*logo, run, "print", "print stored image N", runPrint, options);
    addLinkOptions(*print, options->link);
    print->add_option("N", options->number, "image number 1 to 255")
        ->required()
        ->check(CLI::Range(1, 255));
    print->add_option("--mode", options->mode, "print mode 0 to 3")
        ->check(CLI::Range(0, 3))
        ->capture_default_str();
    print->footer("JSON: printed, mode.");

    CLI::App *list = addLogoPart(
        *logo, run, "list",
        "show the numbers, sizes and bytes define would store; needs no printer", runList, options);
    list->add_option("FILE", options->files, "BMP or PNG files")
        ->required()
        ->check(CLI::ExistingFile);
    list->add_flag("--json", options->link.json, "print one JSON object");
    list->footer("The printer cannot be asked which images it holds. JSON: images [{number,\n"
                 "file, width, height, bytes}], command_bytes.");
}

} // namespace kt::ktsw
