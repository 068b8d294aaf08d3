#pragma once
// The line as a poll pass uses it: one FT3 exchange on the program's port (SharedCommPort),
// waiting for the reply as long as the settings say (Parameters::TimeoutData).
#include "comm/FT3Frame.h"

// Sends the request frame in the buffer and leaves the reply's user data there; raises what
// the exchange raises, or Exception when the program has no port.
void ExchangeOnSharedPort(DynByteArray& buffer);
