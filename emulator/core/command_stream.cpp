#include "command_stream.h"

#include <algorithm>

namespace kt::emu {
namespace {

constexpr std::size_t kKeptCapacity = 64 * 1024;

} // namespace

CommandStream::CommandStream(Printer &printer, int connection)
    : printer_(printer), connection_(connection), limits_(printer.parserLimits())
{ }

CommandStream::~CommandStream() { printer_.endConnection(connection_); }

std::vector<Handled> CommandStream::feed(std::span<const std::uint8_t> bytes)
{
    std::vector<Handled> out;
    if (dropped_)
        return out;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    run(Flush::None, out);
    return out;
}

std::vector<Handled> CommandStream::flush(Flush level)
{
    std::vector<Handled> out;
    if (dropped_)
        return out;
    run(level, out);
    if (level == Flush::EndOfStream)
        clearPending(); // nothing more of a cut-short command comes
    return out;
}

void CommandStream::clearPending()
{
    pending_.clear();
    skip_ = 0;
    imagesLeft_ = 0;
    wanted_ = 0;
}

bool CommandStream::restart()
{
    const bool hadPending = hasPending();
    clearPending();
    commands_ = 0;
    dropped_ = false;
    return hadPending;
}

bool CommandStream::discard(std::size_t &at)
{
    while (skip_ > 0 || imagesLeft_ > 0) {
        if (skip_ > 0) {
            const std::size_t n = std::min(skip_, pending_.size() - at);
            at += n;
            skip_ -= n;
            if (skip_ > 0)
                return false;
            continue;
        }
        // The next image header of a rejected FS q tells how much follows.
        if (pending_.size() - at < 4)
            return false;
        const std::size_t nx = pending_[at] | pending_[at + 1] << 8;
        const std::size_t ny = pending_[at + 2] | pending_[at + 3] << 8;
        at += 4;
        skip_ = nx * ny * 8;
        --imagesLeft_;
    }
    return true;
}

void CommandStream::run(Flush flush, std::vector<Handled> &out)
{
    std::size_t at = 0;
    while (!dropped_ && discard(at) && at < pending_.size()) {
        const std::span<const std::uint8_t> rest(pending_.data() + at, pending_.size() - at);
        // A long command is cut once, when all of it is there.
        if (flush == Flush::None && rest.size() < wanted_)
            break;
        ParseStep step = parseNext(rest, flush, limits_);
        if (!step.command) {
            wanted_ = step.wanted;
            break;
        }
        wanted_ = 0;
        Command &command = *step.command;
        const std::size_t taken = std::min(command.length, rest.size());
        if (command.kind != CommandKind::Filler)
            ++commands_;
        skip_ = command.length - taken;
        imagesLeft_ = command.imagesLeft;
        Handled h = printer_.handle(std::move(command), rest.first(taken), connection_, commands_);
        at += taken;
        dropped_ = h.drop;
        out.push_back(std::move(h));
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
    // A long command gets its room at once rather than by repeated growth,
    // and the room goes back once it is done.
    if (wanted_ > pending_.capacity())
        pending_.reserve(std::max(wanted_, 2 * pending_.capacity()));
    else if (pending_.empty() && pending_.capacity() > kKeptCapacity)
        pending_.shrink_to_fit();
}

} // namespace kt::emu
