#include "core/Exchange/PassLine.h"

#include "base/Exception.h"
#include "comm/FT3Exchange.h"
#include "core/Parameters.h"

void ExchangeOnSharedPort(DynByteArray& buffer)
{
    TCommPort* port = SharedCommPort;
    if (!port)
        throw Exception("Порт обмена не задан");
    ExchangeFT3Timed(*port, buffer, Settings.TimeoutData);
}
