// ymf does not stand on app: this include must not resolve.
#include "app/main_view.h"
