#include "core/script/Program.h"
#include "core/script/Ascii.h"


namespace script {

bool SameNameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

int Program::FindFunction(std::string_view name) const
{
    for (size_t i = 0; i < functions.size(); ++i)
        if (SameNameNoCase(functions[i].name, name))
            return static_cast<int>(i);
    return -1;
}

int Program::FindGlobal(std::string_view name) const
{
    for (size_t i = 0; i < globals.size(); ++i)
        if (SameNameNoCase(globals[i].name, name))
            return static_cast<int>(i);
    return -1;
}

} // namespace script
