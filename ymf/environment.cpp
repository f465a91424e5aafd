#include "ymf/environment.h"

DriverEnvironment Env;
