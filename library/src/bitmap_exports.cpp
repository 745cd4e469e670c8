// The bitmap exports: RegBitmap collects file names, DefBitmap converts and
// stores them in the printer with one FS q command, PrnBitmap prints one
// stored image with FS p.
#include "KT4000.h"

#include "bitmap_define_command.h"
#include "bitmap_registry.h"
#include "bitmap_results.h"
#include "diag_log.h"
#include "settings.h"

namespace {

namespace registry = kt::bitmap::registry;
namespace result = kt::bitmap::result;

bool hasText(const char *text) { return text && *text; }

std::int32_t registrationResult(registry::Added added)
{
    switch (added) {
    case registry::Added::full:
        return result::listFull;
    case registry::Added::nameTooLong:
        return result::nameTooLong;
    case registry::Added::ok:
        break;
    }
    return static_cast<std::int32_t>(registry::names().size());
}

} // namespace

int32_t RegBitmap(const char *fileName)
{
    if (!hasText(fileName)) {
        registry::clear();
        return result::defined;
    }
    return registrationResult(registry::add(fileName));
}

int32_t DefBitmap(const char *fileName, const char *port, int32_t baud, int32_t hdv)
{
    kt::diag::Session log;
    kt::diag::write(" DefBitmap( %p, %p, %ld, %ld ), fc=%ld, tm=%ld \n",
                    static_cast<const void *>(fileName), static_cast<const void *>(port),
                    static_cast<long>(baud), static_cast<long>(hdv),
                    static_cast<long>(registry::names().size()), kt::diag::now());
    if (hasText(fileName))
        kt::diag::write(" fnp=%s \n", fileName);
    if (hasText(port))
        kt::diag::write(" port=%s \n", port);

    if (registry::names().empty() && !hasText(fileName))
        return result::nothingToDefine;
    if (hdv == 0 && !hasText(port))
        return result::noPort;
    // A name that cannot join the list fails the call: defining the others
    // without it would report success for a file that was left out.
    if (hasText(fileName))
        if (const registry::Added added = registry::add(fileName); added != registry::Added::ok)
            return registrationResult(added);

    kt::bitmap::DefineCommand command =
        kt::bitmap::buildDefineCommand(registry::names(), kt::settings::colourThreshold());
    if (command.result != result::defined)
        return command.result;
    // sendx opens the log itself.
    kt::diag::close();
    const std::int32_t sent =
        sendx(command.bytes.data(), port, baud, hdv, static_cast<std::int32_t>(command.bytes.size()),
              0, 0, nullptr);
    command.bytes = {};
    if (sent != KT_OK)
        return result::sendFailed;
    registry::clear();
    return result::defined;
}

int32_t PrnBitmap(int32_t number, int32_t mode, const char *port, int32_t baud, int32_t hdv)
{
    if (number < 1 || number > 255)
        return result::numberOutOfRange;
    const std::uint8_t modeChar = mode >= 1 && mode <= 3 ? static_cast<std::uint8_t>('0' + mode) : '0';
    std::uint8_t print[4] = {0x1C, 0x70, static_cast<std::uint8_t>(number), modeChar};
    return sendx(print, port, baud, hdv, sizeof print, 0, 0, nullptr);
}
