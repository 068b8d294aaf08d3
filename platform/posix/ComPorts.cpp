#include "platform/posix/ComPorts.h"

#include "platform/posix/ProgramFolder.h"

#include <algorithm>
#include <charconv>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>

namespace {

// The number after the prefix when the name is the prefix followed by decimal digits only.
bool NumberAfter(const std::string& name, const std::string& prefix, int& number)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    if (!std::all_of(first, last, [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last;
}

template <typename Visit>
bool ForEachEntry(const std::string& folder, Visit visit)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir))
        visit(std::string(entry->d_name));
    closedir(dir);
    return true;
}

// The kernel keeps a ttyS entry (with a device) for every 8250 slot it reserved; a slot without
// a UART reports the port type 0 ("unknown"). Those are not ports a person could use.
bool IsRealSerialDevice(const std::string& ttyFolder)
{
    struct stat st {};
    if (stat((ttyFolder + "/device").c_str(), &st) != 0)
        return false;
    std::ifstream typeFile(ttyFolder + "/type");
    int type = -1;
    if (typeFile >> type)
        return type != 0;
    return true;
}

bool IsCharacterDevice(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

void AddOnce(std::vector<int>& list, int number)
{
    if (std::find(list.begin(), list.end(), number) == list.end())
        list.push_back(number);
}

} // namespace

int CompareInts(int first, int second)
{
    return (first > second) - (first < second);
}

bool ListComPorts(std::vector<int>& list, bool sort, const ComPortRoots& roots)
{
    std::vector<int> found;
    const bool sysRead = ForEachEntry(roots.sysClassTty, [&](const std::string& name) {
        int index = 0;
        if (NumberAfter(name, "ttyS", index) && index < 0x7FFFFFFF && IsRealSerialDevice(roots.sysClassTty + "/" + name))
            found.push_back(index + 1);
    });
    std::sort(found.begin(), found.end());

    const std::string linkFolder = roots.linkFolder.empty() ? ProgramFolder() : roots.linkFolder;
    std::vector<int> linked;
    const bool linksRead = ForEachEntry(linkFolder, [&](const std::string& name) {
        int number = 0;
        if (NumberAfter(name, "COM", number) && number > 0 && IsCharacterDevice(linkFolder + "/" + name))
            linked.push_back(number);
    });
    std::sort(linked.begin(), linked.end());

    if (!sysRead && !linksRead)
        return false;
    for (int number : found)
        AddOnce(list, number);
    for (int number : linked)
        AddOnce(list, number);
    if (sort)
        std::sort(list.begin(), list.end(), [](int a, int b) { return CompareInts(a, b) < 0; });
    return true;
}
