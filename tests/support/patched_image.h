// What a driver image must look like after the code patch, written out the
// way the driver's code reads: the bytes of each patched site in order.
#pragma once

#include <cstdint>
#include <string>

#include "tools/fixture/fixture.h"
#include "ymf/environment.h"

// The image with the kind's patch bytes put in at the profile's patch
// offsets; bytes the patch keeps stay as they are.
Bytes PatchedImage(Bytes image, const VersionProfile& profile, bool isVxD);
// The same, leaving out the site at one patch offset (1 to 4).
Bytes PatchedImageWithoutSite(Bytes image, const VersionProfile& profile, bool isVxD, int site);

// The image checksum by the procedure published for the image help
// library's CheckSumMappedFile: 16-bit arithmetic, a fold after every word,
// one byte past an odd end read as zero, the field's halves taken out with
// borrow, the length added. Written apart from the product's checksum, to
// judge it; the Windows tests hold the product's against CheckSumMappedFile
// itself.
std::uint32_t ReferenceChecksum(Bytes image, std::uint32_t fieldOffset);

// The driver as a switch to a bank must leave it: the backup driver with
// the patch, the first bytes of each table file (the bank path with its
// last character made 1, 2 or 3) at its offset, and on the WDM driver the
// reference checksum of the result in the fixture's CheckSum field.
Bytes SwitchedImage(const Bytes& backupDriver, const std::string& bank, const VersionProfile& profile, bool isVxD);
