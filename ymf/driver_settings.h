// The driver's registry settings: strict readers and the group writers.
#pragma once

#include <cstdint>

// Reads the fifteen values under Env.DriverRegKey into Env.Settings.
void ReadDriverSettings();
