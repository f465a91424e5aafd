#include "ymf/driver_settings.h"

// Placeholder until the settings store lands: reads nothing.
void ReadDriverSettings() {}
