// The little-endian helpers live in the file layer, below every user.
#pragma once

#include "files/le_bytes.h"
