#include "core/script/Fault.h"

namespace script {

std::string DescribeError(const std::string& reason, SourcePos pos)
{
    return "Строка " + std::to_string(pos.line) + ", столбец " + std::to_string(pos.column) + ": " + reason;
}

} // namespace script
