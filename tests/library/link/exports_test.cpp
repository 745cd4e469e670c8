// libKT4000.so publishes exactly its documented names.
#include <cerrno>
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const std::set<std::string> kPublished = {
    "sendx",     "sendy",          "rwKT",           "RegBitmap",         "DefBitmap",
    "PrnBitmap", "setModel",       "getModel",       "setColor",          "fnKtdll",
    "nKtdll",    "_ZN6CKtdllC1Ev", "_ZN6CKtdllC2Ev", "_ZN6CKtdllaSERKS_", "KT_lastError",
};

// Names of the symbols the library defines in its dynamic symbol table.
std::set<std::string> definedDynamicSymbols(const char *path)
{
    std::set<std::string> names;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    struct stat st { };
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return names;
    const auto size = static_cast<std::size_t>(st.st_size);
    void *map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED)
        return names;
    const auto *base = static_cast<const unsigned char *>(map);
    const auto *eh = reinterpret_cast<const Elf64_Ehdr *>(base);
    const auto *sh = reinterpret_cast<const Elf64_Shdr *>(base + eh->e_shoff);
    for (int i = 0; i < eh->e_shnum; ++i) {
        if (sh[i].sh_type != SHT_DYNSYM)
            continue;
        const auto *syms = reinterpret_cast<const Elf64_Sym *>(base + sh[i].sh_offset);
        const char *strings = reinterpret_cast<const char *>(base + sh[sh[i].sh_link].sh_offset);
        for (std::size_t k = 0; k < sh[i].sh_size / sizeof(Elf64_Sym); ++k) {
            const unsigned bind = ELF64_ST_BIND(syms[k].st_info);
            if (syms[k].st_shndx != SHN_UNDEF && syms[k].st_name != 0
                && (bind == STB_GLOBAL || bind == STB_WEAK))
                names.insert(strings + syms[k].st_name);
        }
    }
    ::munmap(map, size);
    return names;
}

} // namespace

TEST(Exports, OnlyThePublishedNames) { EXPECT_EQ(definedDynamicSymbols(KT4000_SO), kPublished); }

TEST(Exports, DlsymFindsEveryName)
{
    void *lib = ::dlopen(KT4000_SO, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << ::dlerror();
    for (const std::string &name : kPublished)
        EXPECT_NE(::dlsym(lib, name.c_str()), nullptr) << name;
    EXPECT_EQ(::dlsym(lib, "_ZN2kt4diag5writeEPKcz"), nullptr) << "internal names stay hidden";

    using Sendy = int32_t (*)(const void *, const char *, int32_t, int32_t, int32_t, int32_t,
                              int32_t, void *);
    auto sendy = reinterpret_cast<Sendy>(::dlsym(lib, "sendy"));
    ASSERT_NE(sendy, nullptr);
    EXPECT_EQ(sendy(nullptr, "usb", 9600, 0, 0, 0, 0, nullptr), 0);
    using Fn = int (*)();
    EXPECT_EQ(reinterpret_cast<Fn>(::dlsym(lib, "fnKtdll"))(), 42);
    using RwKT = int32_t (*)(int32_t, char *, const char *, int32_t, int32_t);
    using LastError = int (*)(char *, int);
    auto lastError = reinterpret_cast<LastError>(::dlsym(lib, "KT_lastError"));
    ASSERT_NE(lastError, nullptr);
    EXPECT_EQ(reinterpret_cast<RwKT>(::dlsym(lib, "rwKT"))(1, nullptr, "usb", 9600, 0), 9);
    EXPECT_EQ(lastError(nullptr, 0), EINVAL);
    ::dlclose(lib);
}
