// The bitmap exports: RegBitmap collects file names, DefBitmap converts and
// stores them in the printer with one FS q command, PrnBitmap prints one
// stored image with FS p.
#include <cerrno>

#include "KT4000.h"
#include "bitmap_define_command.h"
#include "bitmap_registry.h"
#include "bitmap_results.h"
#include "diag_log.h"
#include "last_error.h"
#include "settings.h"

namespace {

namespace registry = kt::bitmap::registry;
namespace result = kt::bitmap::result;
using kt::last_error::failure;
using kt::last_error::Outcome;
using kt::last_error::success;

bool hasText(const char *text) { return text && *text; }

Outcome registration(registry::Added added)
{
    switch (added) {
    case registry::Added::Full: return failure(result::listFull, ENOSPC);
    case registry::Added::NameTooLong: return failure(result::nameTooLong, ENAMETOOLONG);
    case registry::Added::Ok: break;
    }
    return success(static_cast<std::int32_t>(registry::names().size()));
}

Outcome define(const char *fileName, const char *port, int32_t baud, int32_t hdv)
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
        return failure(result::nothingToDefine, EINVAL);
    if (hdv == 0 && !hasText(port))
        return failure(result::noPort, EINVAL);
    // A name that cannot join the list fails the call: defining the others
    // without it would report success for a file that was left out.
    if (hasText(fileName))
        if (const registry::Added added = registry::add(fileName); added != registry::Added::Ok)
            return registration(added);

    kt::bitmap::DefineCommand command
        = kt::bitmap::buildDefineCommand(registry::names(), kt::settings::colourThreshold());
    if (command.result != result::defined)
        return failure(command.result, command.error);
    // sendx opens the log itself.
    kt::diag::close();
    const std::int32_t sent = sendx(command.bytes.data(), port, baud, hdv,
                                    static_cast<std::int32_t>(command.bytes.size()), 0, 0, nullptr);
    command.bytes = {};
    if (sent != KT_OK)
        return failure(result::sendFailed, kt::last_error::get());
    registry::clear();
    return success(result::defined);
}

} // namespace

int32_t RegBitmap(const char *fileName)
{
    if (!hasText(fileName)) {
        registry::clear();
        return kt::last_error::finish(success(result::defined));
    }
    return kt::last_error::finish(registration(registry::add(fileName)));
}

int32_t DefBitmap(const char *fileName, const char *port, int32_t baud, int32_t hdv)
{
    return kt::last_error::finish(define(fileName, port, baud, hdv));
}

int32_t PrnBitmap(int32_t number, int32_t mode, const char *port, int32_t baud, int32_t hdv)
{
    if (number < 1 || number > 255)
        return kt::last_error::finish(failure(result::numberOutOfRange, ERANGE));
    auto print = kt::bitmap::printCommand(static_cast<std::uint8_t>(number), mode);
    // sendx records its own error.
    return sendx(print.data(), port, baud, hdv, static_cast<int32_t>(print.size()), 0, 0, nullptr);
}
