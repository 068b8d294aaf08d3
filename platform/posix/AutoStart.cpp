#include "platform/posix/AutoStart.h"

#include "platform/posix/AtomicFile.h"
#include "platform/posix/ProgramFolder.h"
#include "platform/posix/SystemError.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The Exec key quotes its argument: inside double quotes a backslash goes before '"', '`',
// '$' and '\'; the key's value is itself a string whose backslashes are doubled once more;
// '%' starts a field code, so a literal one is doubled.
std::string QuotedExec(const std::string& executable)
{
    std::string quoted = "\"";
    for (const char c : executable) {
        switch (c) {
        case '"':
        case '`':
        case '$':
            quoted += "\\\\";
            quoted += c;
            break;
        case '\\':
            quoted += "\\\\\\\\";
            break;
        case '%':
            quoted += "%%";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

// Line breaks would end the key early; the name is shown only, so they become spaces.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

std::string AutoStartFolder()
{
    return UserConfigFolder() + "/autostart";
}

std::string AutoStartEntryPath(const std::string& program)
{
    return AutoStartFolder() + "/" + program + ".desktop";
}

std::string AutoStartEntryText(const std::string& program, const std::string& executable)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" + OneLine(program) + "\n"
           "Exec=" + OneLine(QuotedExec(executable)) + "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool AutoStartEntryExists(const std::string& program)
{
    struct stat st {};
    return stat(AutoStartEntryPath(program).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void WriteAutoStartEntry(const std::string& program, const std::string& executable)
{
    const std::string folder = AutoStartFolder();
    const std::string path = AutoStartEntryPath(program);
    if (!MakeFolders(folder))
        throw EAutoStartError("Не удалось создать папку автозагрузки " + folder + ": " + SystemErrorText(errno));
    std::string error;
    if (!WriteFileAtomically(path, AutoStartEntryText(program, executable), &error))
        throw EAutoStartError("Не удалось записать " + path + ": " + error);
}

void RemoveAutoStartEntry(const std::string& program)
{
    const std::string path = AutoStartEntryPath(program);
    if (unlink(path.c_str()) != 0 && errno != ENOENT)
        throw EAutoStartError("Не удалось удалить " + path + ": " + SystemErrorText(errno));
}
