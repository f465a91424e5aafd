// Resource identifiers of the program.
#pragma once

#define IDI_TOVARO 100
