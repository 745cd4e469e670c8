// A unique temporary file path under $TMPDIR (or /tmp), removed when the
// object goes out of scope.
#pragma once

#include <string>

namespace kt::test {

class TempFile {
public:
    // created = false: a free path, the file itself absent.
    explicit TempFile(bool created = true);
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    const std::string &path() const { return path_; }
    bool exists() const;
    std::string contents() const; // empty when absent

private:
    std::string path_;
};

} // namespace kt::test
