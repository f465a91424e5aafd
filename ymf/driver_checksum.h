// The image checksum of the WDM driver file.
#pragma once

// Recomputes the PE image checksum of Env.DriverPath and stores it in the
// optional header's CheckSum field. A file that cannot be opened for writing
// or carries no valid PE headers is left untouched; nothing is reported.
void UpdateDriverChecksum();
