#pragma once
// The hardware tree and its sensors in one include.
#include "core/Device/HardConfig.h"
#include "core/Device/MB.h"
#include "core/Device/SensorLimits.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"
