#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// libFuzzer's entry point, which each fuzzer defines.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

// A broken invariant ends the run with a report; libFuzzer then saves the input that caused it.
#define FUZZ_CHECK(condition)                                                                                \
    do                                                                                                       \
    {                                                                                                        \
        if (!(condition))                                                                                    \
        {                                                                                                    \
            std::fprintf (stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition);          \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
