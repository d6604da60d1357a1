#include "dmutils/dm_utils.h"
