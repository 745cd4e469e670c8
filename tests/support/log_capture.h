// Points the library's diagnostics log at a temporary file for one test
// and back at its usual path afterwards.
#pragma once

#include <regex>
#include <string>
#include <vector>

#include "diag_log.h"
#include "temp_file.h"

namespace kt::test {

class LogCapture {
public:
    explicit LogCapture(bool created = true) : file_(created) { kt::diag::setPath(file_.path()); }
    ~LogCapture() { kt::diag::setPath("/ktdll.log"); }

    std::string text() const { return file_.contents(); }
    bool exists() const { return file_.exists(); }

    // The numbers that `pattern`'s first group captures, one per match.
    std::vector<long> numbers(const std::string &pattern) const
    {
        std::vector<long> out;
        const std::string t = text();
        const std::regex re(pattern);
        for (auto it = std::sregex_iterator(t.begin(), t.end(), re); it != std::sregex_iterator();
             ++it)
            out.push_back(std::stol((*it)[1].str()));
        return out;
    }

    // Sizes of the chunks sendx wrote, from its WriteFile lines.
    std::vector<long> chunkSizes() const { return numbers(R"( WriteFile\( (\d+) \), ok=)"); }

private:
    TempFile file_;
};

} // namespace kt::test
