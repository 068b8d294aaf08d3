#include "platform/posix/ProgramFolder.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string ExecutableFolder()
{
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    std::string path(buffer, static_cast<size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

std::string HomeFolder()
{
    const std::string home = Env("HOME");
    if (!home.empty())
        return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

} // namespace

bool MakeFolders(const std::string& path, unsigned mode)
{
    if (path.empty())
        return false;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const auto slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), mode))
        return false;
    return mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

std::string ProgramFolder()
{
    const std::string home = Env("TAVIK_ZUZID_HOME");
    if (!home.empty()) {
        MakeFolders(home);
        return WithoutTrailingSlash(home);
    }
    const std::string exeFolder = ExecutableFolder();
    if (!exeFolder.empty() && access(exeFolder.c_str(), W_OK) == 0)
        return exeFolder;
    std::string dataHome = Env("XDG_DATA_HOME");
    if (dataHome.empty())
        dataHome = Env("HOME") + "/.local/share";
    const std::string folder = WithoutTrailingSlash(dataHome) + "/Tavik_zuzid";
    MakeFolders(folder);
    return folder;
}

std::string ProgramFile(const std::string& name)
{
    return ProgramFolder() + "/" + name;
}

std::string RuntimeFolder()
{
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    const std::string folder = runtime.empty()
        ? "/tmp/Tavik_zuzid-" + std::to_string(getuid())
        : WithoutTrailingSlash(runtime) + "/Tavik_zuzid";
    MakeFolders(folder, 0700);
    return folder;
}

std::string UserConfigFolder()
{
    const std::string config = Env("XDG_CONFIG_HOME");
    return WithoutTrailingSlash(config.starts_with('/') ? config : HomeFolder() + "/.config");
}
