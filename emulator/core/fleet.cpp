#include "fleet.h"

#include <arpa/inet.h>
#include <numeric>
#include <random>

#include "control_commands.h"
#include "control_socket.h"
#include "event_loop.h"
#include "fd_io.h"
#include "model_profile.h"

namespace kt::emu {
namespace {

constexpr int kMaxPrinters = 65535;
// Descriptors kept free beyond one per printer: clients, files, the loop.
constexpr std::size_t kSpareDescriptors = 256;

std::vector<std::string_view> split(std::string_view text, char sep)
{
    std::vector<std::string_view> out;
    for (bool more = true; more;) {
        const auto at = text.find(sep);
        more = at != std::string_view::npos;
        out.push_back(text.substr(0, at));
        if (more)
            text.remove_prefix(at + 1);
    }
    return out;
}

std::optional<std::uint32_t> ipv4(std::string_view text)
{
    in_addr a{};
    if (::inet_pton(AF_INET, std::string(text).c_str(), &a) != 1)
        return std::nullopt;
    return ntohl(a.s_addr);
}

std::string dotted(std::uint32_t address)
{
    in_addr a{};
    a.s_addr = htonl(address);
    char buf[INET_ADDRSTRLEN];
    return ::inet_ntop(AF_INET, &a, buf, sizeof buf);
}

// printer-0001: at least four digits, as many as the largest number needs.
std::string memberName(int number, int count)
{
    const std::size_t width = std::max<std::size_t>(4, std::to_string(count).size());
    std::string digits = std::to_string(number);
    return "printer-" + std::string(width - digits.size(), '0') + digits;
}

// The serial the printer would have without the fleet: its model's, or the
// last one the overrides give.
std::string baseSerial(const std::string &model, const EmulatorOptions &base)
{
    std::string serial;
    if (auto profile = findProfile(model))
        serial = profile->serial;
    for (const auto &[key, value] : base.overrides)
        if (key == "serial")
            serial = value;
    return serial;
}

} // namespace

std::string fleetSerial(const std::string &serial, int number)
{
    std::string digits = std::to_string(number);
    if (digits.size() < 6)
        digits.insert(0, 6 - digits.size(), '0');
    return (serial.size() > 6 ? serial.substr(0, serial.size() - 6) : serial) + digits;
}

Result<std::vector<std::string>> parseAddressRange(std::string_view range, std::size_t limit)
{
    const auto fail = [&](const std::string &why) {
        return Status::failure("address range \"" + std::string(range) + "\": " + why);
    };
    const auto ends = split(range, '-');
    if (ends.size() != 2)
        return fail("takes FIRST-LAST, two IPv4 addresses");
    const auto first = ipv4(ends[0]), last = ipv4(ends[1]);
    if (!first || !last)
        return fail("takes FIRST-LAST, two IPv4 addresses");
    if (*first > *last)
        return fail("the first address is above the last");
    if (*last - *first >= limit)
        return fail("more than " + std::to_string(limit) + " addresses");
    std::vector<std::string> out;
    for (std::uint64_t a = *first; a <= *last; ++a)
        out.push_back(dotted(static_cast<std::uint32_t>(a)));
    return out;
}

Result<std::vector<FaultOptions>> assignFleetFaults(std::string_view spec, int count,
                                                    const FaultOptions &base,
                                                    std::optional<std::uint32_t> seed)
{
    std::vector<FaultOptions> out(static_cast<std::size_t>(count), base);
    if (spec.empty())
        return out;
    // The order in which printers are handed out: 1, 2, 3, ... or shuffled.
    std::vector<std::size_t> order(out.size());
    std::iota(order.begin(), order.end(), 0);
    if (seed) {
        std::mt19937 random(*seed);
        for (std::size_t i = order.size(); i > 1; --i)
            std::swap(order[i - 1], order[random() % i]);
    }
    std::size_t next = 0;
    for (const auto entry : split(spec, ',')) {
        const auto parts = split(entry, ':');
        const bool countOk = parts.size() == 2 && !parts[1].empty() && parts[1].size() <= 6
            && parts[1].find_first_not_of("0123456789") == std::string_view::npos;
        if (!countOk)
            return Status::failure("fleet fault \"" + std::string(entry) + "\" takes NAME:COUNT");
        const auto many = std::stoul(std::string(parts[1]));
        if (next + many > out.size())
            return Status::failure("the fleet faults ask for more printers than the "
                                   + std::to_string(count) + " there are");
        for (std::size_t i = 0; i < many; ++i)
            if (auto added = addFault(out[order[next + i]], parts[0]); !added)
                return added;
        next += many;
    }
    return out;
}

Fleet::Fleet(FleetOptions o)
{
    if (o.count < 1 || o.count > kMaxPrinters)
        throw EmulatorError("a fleet has 1 to " + std::to_string(kMaxPrinters) + " printers, not "
                            + std::to_string(o.count));
    const auto n = static_cast<std::size_t>(o.count);
    if (!o.addresses.empty() && o.addresses.size() != n)
        throw EmulatorError("the fleet has " + std::to_string(n) + " printers but "
                            + std::to_string(o.addresses.size()) + " addresses");
    if (o.addresses.empty() && o.port != 0 && o.port + n - 1 > 65535)
        throw EmulatorError("ports " + std::to_string(o.port) + " to "
                            + std::to_string(o.port + n - 1) + " do not all exist");
    if (auto room = ensureDescriptors(n + kSpareDescriptors); !room)
        throw EmulatorError("a fleet of " + std::to_string(n) + " printers " + room.error());
    auto faults = assignFleetFaults(o.faults, o.count, o.base.faults, o.seed);
    if (!faults)
        throw EmulatorError(faults.error());
    for (const auto &dir : {o.stateDir, o.transcriptDir, o.paperDir}) {
        std::error_code ec;
        if (dir && (std::filesystem::create_directories(*dir, ec), ec))
            throw EmulatorError("cannot make directory " + dir->string() + ": " + ec.message());
    }

    loop_ = std::make_shared<EventLoop>([this](const std::string &e) {
        std::lock_guard lock(mutex_);
        errors_.push_back(e);
    });
    printers_.reserve(n);
    members_.reserve(n);
    try {
        for (std::size_t i = 0; i < n; ++i) {
            FleetMember m;
            m.number = static_cast<int>(i + 1);
            m.model = o.models.empty() ? o.base.model : o.models[i % o.models.size()];
            m.serial = fleetSerial(baseSerial(m.model, o.base), m.number);
            m.faults = (*faults)[i];
            m.host = o.addresses.empty() ? o.host : o.addresses[i];
            const std::uint16_t port
                = o.addresses.empty() && o.port ? static_cast<std::uint16_t>(o.port + i) : o.port;

            EmulatorOptions e = o.base;
            e.model = m.model;
            e.faults = m.faults;
            e.overrides.emplace_back("serial", m.serial);
            const std::string name = memberName(m.number, o.count);
            e.stateFile
                = o.stateDir ? std::optional(*o.stateDir / (name + ".state")) : std::nullopt;
            e.transcriptFile = o.transcriptDir ? std::optional(*o.transcriptDir / (name + ".log"))
                                               : std::nullopt;
            e.paperFile = o.paperDir ? std::optional(*o.paperDir / name / "") : std::nullopt;
            try {
                printers_.push_back(std::make_unique<Emulator>(std::move(e), loop_));
                m.port = printers_.back()->listenTcp(m.host, port);
            } catch (const std::exception &err) {
                throw EmulatorError("printer " + std::to_string(m.number) + ": " + err.what());
            }
            members_.push_back(std::move(m));
        }
    } catch (...) {
        loop_->stop();
        throw;
    }
}

Fleet::~Fleet() { stop(); }

void Fleet::listenControl(const std::filesystem::path &path)
{
    std::vector<Emulator *> all;
    for (auto &p : printers_)
        all.push_back(p.get());
    try {
        loop_->add(std::make_unique<ControlListener>(
            path, [all = std::move(all)](const std::string &line) {
                return runControlCommand(line, all);
            }));
    } catch (const std::exception &e) {
        throw EmulatorError(e.what());
    }
}

Status Fleet::finish()
{
    if (finished_)
        return *finished_;
    // Nothing may touch a printer while its files are written.
    loop_->stop();
    std::string all;
    for (const auto &e : errors_)
        all += (all.empty() ? "" : "; ") + e;
    for (std::size_t i = 0; i < printers_.size(); ++i)
        if (auto done = printers_[i]->finish(); !done)
            all += (all.empty() ? "" : "; ") + std::string("printer ") + std::to_string(i + 1)
                + ": " + done.error();
    finished_ = all.empty() ? Status::success() : Status::failure(all);
    return *finished_;
}

void Fleet::stop() { (void)finish(); }

} // namespace kt::emu
