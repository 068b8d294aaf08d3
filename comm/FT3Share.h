#pragma once
// The FT3 protocol as one include: frames, reply checks, time and data-reply helpers.
#include "comm/FT3DataReply.h"
#include "comm/FT3Exchange.h"
#include "comm/FT3Exceptions.h"
#include "comm/FT3Frame.h"
#include "comm/FT3Reply.h"
#include "comm/FT3Time.h"
