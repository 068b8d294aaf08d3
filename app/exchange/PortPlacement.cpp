#include "app/exchange/PortPlacement.h"

#include "comm/CommPort.h"
#include "platform/posix/IniFile.h"

#include <string>

namespace {

std::string ParamKey(const char* field)
{
    return std::string("Port.Param.") + field;
}

} // namespace

void ReadPortPlacement(const IniFile& ini, const char* s, TCommPort& port)
{
    port.SetNumber(static_cast<uint8_t>(ini.ReadInteger(s, "Port.Number", port.Number())));
    TPortParametrs param = port.Param();
    param.BaudRate = static_cast<uint32_t>(ini.ReadInteger(s, ParamKey("BaudRate"), static_cast<int32_t>(param.BaudRate)));
    param.Flags = static_cast<uint32_t>(ini.ReadInteger(s, ParamKey("Flags"), static_cast<int32_t>(param.Flags)));
    param.ByteSize = static_cast<uint8_t>(ini.ReadInteger(s, ParamKey("ByteSize"), param.ByteSize));
    param.Parity = static_cast<uint8_t>(ini.ReadInteger(s, ParamKey("Parity"), param.Parity));
    param.StopBits = static_cast<uint8_t>(ini.ReadInteger(s, ParamKey("StopBits"), param.StopBits));
    param.XonLim = static_cast<uint16_t>(ini.ReadInteger(s, ParamKey("XonLim"), param.XonLim));
    param.XoffLim = static_cast<uint16_t>(ini.ReadInteger(s, ParamKey("XoffLim"), param.XoffLim));
    param.XonChar = static_cast<char>(ini.ReadInteger(s, ParamKey("XonChar"), param.XonChar));
    param.XoffChar = static_cast<char>(ini.ReadInteger(s, ParamKey("XoffChar"), param.XoffChar));
    param.ErrorChar = static_cast<char>(ini.ReadInteger(s, ParamKey("ErrorChar"), param.ErrorChar));
    param.EofChar = static_cast<char>(ini.ReadInteger(s, ParamKey("EofChar"), param.EofChar));
    param.EvtChar = static_cast<char>(ini.ReadInteger(s, ParamKey("EvtChar"), param.EvtChar));
    port.SetParam(param);
    port.SetIs485(ini.ReadBool(s, "Port.is485", port.is485()));
    port.SetEcho(ini.ReadBool(s, "Port.Echo", port.Echo()));
}

void WritePortPlacement(IniFile& ini, const char* s, const TCommPort& port)
{
    ini.WriteInteger(s, "Port.Number", port.Number());
    const TPortParametrs param = port.Param();
    ini.WriteInteger(s, ParamKey("BaudRate"), static_cast<int32_t>(param.BaudRate));
    ini.WriteInteger(s, ParamKey("Flags"), static_cast<int32_t>(param.Flags));
    ini.WriteInteger(s, ParamKey("ByteSize"), param.ByteSize);
    ini.WriteInteger(s, ParamKey("Parity"), param.Parity);
    ini.WriteInteger(s, ParamKey("StopBits"), param.StopBits);
    ini.WriteInteger(s, ParamKey("XonLim"), param.XonLim);
    ini.WriteInteger(s, ParamKey("XoffLim"), param.XoffLim);
    ini.WriteInteger(s, ParamKey("XonChar"), param.XonChar);
    ini.WriteInteger(s, ParamKey("XoffChar"), param.XoffChar);
    ini.WriteInteger(s, ParamKey("ErrorChar"), param.ErrorChar);
    ini.WriteInteger(s, ParamKey("EofChar"), param.EofChar);
    ini.WriteInteger(s, ParamKey("EvtChar"), param.EvtChar);
    ini.WriteBool(s, "Port.is485", port.is485());
    ini.WriteBool(s, "Port.Echo", port.Echo());
}
