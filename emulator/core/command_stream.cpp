#include "command_stream.h"

namespace kt::emu {

CommandStream::CommandStream(Printer &printer, int connection)
    : printer_(printer), connection_(connection), limits_(printer.parserLimits()) {}

std::vector<Handled> CommandStream::feed(std::span<const std::uint8_t> bytes) {
    std::vector<Handled> out;
    if (dropped_) return out;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    run(Flush::None, out);
    return out;
}

std::vector<Handled> CommandStream::flush(Flush level) {
    std::vector<Handled> out;
    if (dropped_) return out;
    run(level, out);
    if (level == Flush::EndOfStream) {
        // A rejected command cut short by the end: nothing more of it comes.
        pending_.clear();
        skip_ = 0;
        imagesLeft_ = 0;
    }
    return out;
}

bool CommandStream::discard(std::size_t &at) {
    while (skip_ > 0 || imagesLeft_ > 0) {
        if (skip_ > 0) {
            const std::size_t n = std::min(skip_, pending_.size() - at);
            at += n;
            skip_ -= n;
            if (skip_ > 0) return false;
            continue;
        }
        // The next image header of a rejected FS q tells how much follows.
        if (pending_.size() - at < 4) return false;
        const std::size_t nx = pending_[at] | pending_[at + 1] << 8;
        const std::size_t ny = pending_[at + 2] | pending_[at + 3] << 8;
        at += 4;
        skip_ = nx * ny * 8;
        --imagesLeft_;
    }
    return true;
}

void CommandStream::run(Flush flush, std::vector<Handled> &out) {
    std::size_t at = 0;
    while (!dropped_ && discard(at) && at < pending_.size()) {
        const std::span<const std::uint8_t> rest(pending_.data() + at, pending_.size() - at);
        auto command = parseCommand(rest, flush, limits_);
        if (!command) break;
        const std::size_t taken = std::min(command->length, rest.size());
        if (command->kind != CommandKind::Filler) ++commands_;
        Handled h = printer_.handle(*command, rest.first(taken), connection_, commands_);
        at += taken;
        skip_ = command->length - taken;
        imagesLeft_ = command->imagesLeft;
        dropped_ = h.drop;
        out.push_back(std::move(h));
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
}

} // namespace kt::emu
