#include "live_paper.h"

#include <stdexcept>

#include "png_writer.h"

namespace kt::emu {
namespace {

constexpr const char *kPrefix = "receipt-";
constexpr const char *kSuffix = ".png";
// The dashed cut line is two rows; the next receipt starts below it.
constexpr int kCutLineRows = 2;

// The number of a receipt file name; 0 for any other name.
int receiptNumber(const std::string &name)
{
    const std::string prefix = kPrefix, suffix = kSuffix;
    if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0
        || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return 0;
    const std::string digits
        = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::stoi(digits);
}

bool namesADirectory(const std::filesystem::path &target)
{
    std::error_code ec;
    const std::string text = target.string();
    return (!text.empty() && text.back() == '/') || std::filesystem::is_directory(target, ec);
}

} // namespace

std::string receiptName(int number)
{
    std::string digits = std::to_string(number);
    if (digits.size() < 4)
        digits.insert(0, 4 - digits.size(), '0');
    return kPrefix + digits + kSuffix;
}

LivePaper::LivePaper(const std::filesystem::path &target)
    : target_(target), receipts_(namesADirectory(target))
{
    if (!receipts_)
        return;
    std::error_code ec;
    std::filesystem::create_directories(target_, ec);
    if (ec || !std::filesystem::is_directory(target_, ec))
        throw std::runtime_error("cannot make the receipt directory " + target_.string() + ": "
                                 + (ec ? ec.message() : "not a directory"));
    for (std::filesystem::directory_iterator it(target_, ec), end; !ec && it != end;
         it.increment(ec))
        nextReceipt_ = std::max(nextReceipt_, receiptNumber(it->path().filename().string()) + 1);
}

PaperJob LivePaper::afterCut(const PaperImage &roll, int cutRow)
{
    if (!receipts_)
        return {roll, target_, ++versions_};
    PaperJob job{roll.rows(receiptTop_, cutRow), target_ / receiptName(nextReceipt_++), 0};
    receiptTop_ = cutRow + kCutLineRows;
    return job;
}

std::optional<PaperJob> LivePaper::wholeRoll(const PaperImage &roll)
{
    if (receipts_)
        return std::nullopt;
    return PaperJob{roll, target_, ++versions_};
}

Status LivePaper::write(const PaperJob &job)
{
    std::lock_guard lock(writeMutex_);
    if (job.version != 0) {
        if (job.version < written_)
            return Status::success(); // a newer roll is there already
        written_ = job.version;
    }
    return writePaperPng(job.image, job.path);
}

} // namespace kt::emu
