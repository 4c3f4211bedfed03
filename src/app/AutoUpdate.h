#pragma once

#include <atomic>

// Automatic mode (--autoupdate): set once while the panel reads the command line, before any
// upload thread exists; read afterwards by the panel and by the upload thread.
extern std::atomic<bool> bAutoUpdate;
