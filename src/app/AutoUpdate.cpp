#include "app/AutoUpdate.h"

std::atomic<bool> bAutoUpdate { false };
