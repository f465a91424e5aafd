// ymf stands on the seams and the file layer: these includes resolve.
#include "files/fileops.h"
#include "platform/registry.h"
#include "ymf/environment.h"
