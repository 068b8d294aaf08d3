// The library as other programs see it: loaded by path, its names looked up, its ordinal table
// read, and nothing of its insides visible.
#include <gtest/gtest.h>

#define FT3_NAMESPACE c_api
#include "ft3lib/ft3.h"

#include <dlfcn.h>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const char* const kOrdinalNames[] = {
    "GetEvntDT", "LongEventLen", "ShortEventLen", "GetNameEvent", "DecodeDevState",
    "TestInputCod", "TestStateDev", "GetEventName", "CRC_FT3", "NextPosFT3",
    "MakePackageFT3", "MakePackageFT31", "TestPackageCRC_FT3", "CalcLenPackageFT3", "ExchangeFT3",
    "ExtractPackageFT3", "ExtractPackageFT31", "DecodeIDDevFT3", "DecodeTime_2a", "TestNew",
    "FindMessageFT3", "GetCountDT_14", "GetFormatDT_14", "IsLastTrust_14", "IsLastTrust_14",
    "IsFldPresent_14", "GetPosDT_14", "GetAddrCH_14", "Time2aToDateTime", "ExchangeFT3Ex",
};

const char* const kLibraryOwnNames[] = {"FT3ExportTable", "FT3LastError", "FT3PortOpen",
                                        "FT3PortClose"};

class Library {
public:
    Library() : handle_(dlopen(FT3_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library()
    {
        if (handle_)
            dlclose(handle_);
    }
    void* handle() const { return handle_; }
    void* Find(const char* name) const { return dlsym(handle_, name); }

private:
    void* handle_;
};

// The names the library file defines in its dynamic symbol table.
std::set<std::string> DefinedDynamicSymbols(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), {});
    std::set<std::string> names;
    if (file.size() < sizeof(Elf64_Ehdr))
        return names;
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(file.data());
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(file.data() + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM)
            continue;
        const char* strings = file.data() + sections[sections[i].sh_link].sh_offset;
        const auto* symbols =
            reinterpret_cast<const Elf64_Sym*>(file.data() + sections[i].sh_offset);
        const size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        for (size_t s = 0; s < count; ++s) {
            const unsigned binding = ELF64_ST_BIND(symbols[s].st_info);
            if (symbols[s].st_shndx != SHN_UNDEF && (binding == STB_GLOBAL || binding == STB_WEAK)
                && symbols[s].st_name != 0)
                names.insert(strings + symbols[s].st_name);
        }
    }
    return names;
}

} // namespace

TEST(Ft3Exports, EveryNameIsFoundByDlsym)
{
    const Library library;
    ASSERT_NE(library.handle(), nullptr) << dlerror();
    for (const char* name : kOrdinalNames)
        EXPECT_NE(library.Find(name), nullptr) << name;
    for (const char* name : kLibraryOwnNames)
        EXPECT_NE(library.Find(name), nullptr) << name;
}

TEST(Ft3Exports, OrdinalTableNamesEveryFunctionByNumber)
{
    const Library library;
    ASSERT_NE(library.handle(), nullptr) << dlerror();
    const auto* table = static_cast<const c_api::FT3Export*>(library.Find("FT3ExportTable"));
    ASSERT_NE(table, nullptr);
    for (int i = 0; i < FT3_EXPORT_COUNT; ++i) {
        EXPECT_EQ(table[i].ordinal, i + 1);
        EXPECT_STREQ(table[i].name, kOrdinalNames[i]) << "ordinal " << i + 1;
        EXPECT_EQ(reinterpret_cast<void*>(table[i].proc), library.Find(kOrdinalNames[i]))
            << "ordinal " << i + 1;
    }
    EXPECT_EQ(table[23].proc, table[24].proc) << "24 and 25 are one function";

    // A function found by ordinal is called through its own type.
    using LengthProc = decltype(&c_api::LongEventLen);
    EXPECT_EQ(reinterpret_cast<LengthProc>(table[1].proc)(), 20);
    EXPECT_EQ(reinterpret_cast<LengthProc>(table[2].proc)(), 8);
}

TEST(Ft3Exports, NothingElseIsExported)
{
    std::set<std::string> expected(std::begin(kOrdinalNames), std::end(kOrdinalNames));
    expected.insert(std::begin(kLibraryOwnNames), std::end(kLibraryOwnNames));
    EXPECT_EQ(DefinedDynamicSymbols(FT3_LIBRARY_PATH), expected);

    // The C++ functions of the same names stay inside.
    const Library library;
    EXPECT_EQ(library.Find("_Z12LongEventLenv"), nullptr);
    EXPECT_EQ(library.Find("_Z8PortLockv"), nullptr);
}
