// What a driver image must look like after the code patch, written out the
// way the driver's code reads: the bytes of each patched site in order.
#pragma once

#include "tools/fixture/fixture.h"
#include "ymf/environment.h"

// The image with the kind's patch bytes put in at the profile's patch
// offsets; bytes the patch keeps stay as they are.
Bytes PatchedImage(Bytes image, const VersionProfile& profile, bool isVxD);
// The same, leaving out the site at one patch offset (1 to 4).
Bytes PatchedImageWithoutSite(Bytes image, const VersionProfile& profile, bool isVxD, int site);
