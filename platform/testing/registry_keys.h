// Creating and deleting keys below HKEY_LOCAL_MACHINE, for tests and for the
// installer of simulated drivers. The programs never create or delete keys:
// they do not link this, so the linker holds them to it.
#pragma once

#include <string>

// Creates a key and any missing parents; succeeds when it already exists.
bool MachineKeyCreate(const std::string& subkey);
// Deletes a key with everything below it; false when it does not exist.
bool MachineKeyDeleteTree(const std::string& subkey);
