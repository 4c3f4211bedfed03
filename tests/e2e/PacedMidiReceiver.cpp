// A MIDI receiver that behaves like a device: it holds a rawmidi input with the usual 4 KB buffer
// and empties it no faster than a set byte rate (twice MIDI's wire speed by default). A reader that
// drains the buffer at once (amidi -r) lets an unpaced sender get away with bursts that a real
// device would lose; this one loses them too, so an end-to-end test can see the loss.
//
// It writes what it reads to a file, logs when bytes reach the port (for the benchmark), creates a
// "ready" file once the input is open and triggered (the kernel only delivers to readers that
// have started reading), and stops on SIGINT/SIGTERM (taking what is still waiting in the buffer)
// or after an idle time.
//
// Test support only; never installed.

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <string>
#include <vector>

namespace
{
volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal (int)
{
    stopRequested = 1;
}

struct Options
{
    std::string device = "hw:0,0";
    std::string output;
    std::string readyFile;
    std::string arrivalsFile;
    double bytesPerSecond = 6250.0; // twice MIDI's 3125 bytes per second
    size_t bufferSize = 4096;       // the kernel's default rawmidi buffer (one page)
    int64_t startTimeoutMs = 120000;
    int64_t idleMs = 3000;
};

int64_t nowNs()
{
    timespec ts {};
    clock_gettime (CLOCK_MONOTONIC, &ts);
    return int64_t (ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

[[noreturn]] void usage (const char* message)
{
    std::fprintf (stderr,
                  "PacedMidiReceiver: %s\n"
                  "usage: PacedMidiReceiver --output FILE [--device hw:C,D] [--rate BYTES_PER_S]\n"
                  "       [--buffer BYTES] [--ready FILE] [--arrivals FILE]\n"
                  "       [--start-timeout-ms MS] [--idle-ms MS]\n",
                  message);
    std::exit (2);
}

Options parseArguments (int argc, char** argv)
{
    Options o;

    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];

        if (i + 1 >= argc)
            usage (("missing value after " + arg).c_str());

        const char* value = argv[++i];

        if (arg == "--device")
            o.device = value;
        else if (arg == "--output")
            o.output = value;
        else if (arg == "--ready")
            o.readyFile = value;
        else if (arg == "--arrivals")
            o.arrivalsFile = value;
        else if (arg == "--rate")
            o.bytesPerSecond = std::atof (value);
        else if (arg == "--buffer")
            o.bufferSize = size_t (std::atol (value));
        else if (arg == "--start-timeout-ms")
            o.startTimeoutMs = std::atoll (value);
        else if (arg == "--idle-ms")
            o.idleMs = std::atoll (value);
        else
            usage (("unknown option " + arg).c_str());
    }

    if (o.output.empty())
        usage ("--output is required");

    if (o.bytesPerSecond <= 0.0 || o.bufferSize < 32)
        usage ("--rate must be positive and --buffer at least 32");

    return o;
}

// Creates the file under a temporary name and renames it, so a watcher never sees it half-written.
bool announceReady (const std::string& path)
{
    const std::string temporary = path + ".tmp";
    FILE* f = std::fopen (temporary.c_str(), "w");

    if (f == nullptr)
        return false;

    std::fprintf (f, "ready\n");
    std::fclose (f);
    return std::rename (temporary.c_str(), path.c_str()) == 0;
}

struct Arrival
{
    uint64_t bytesArrived; // bytes that reached the port so far: read, waiting, or dropped on overrun
    int64_t timeNs;        // CLOCK_MONOTONIC
};
} // namespace

int main (int argc, char** argv)
{
    const Options options = parseArguments (argc, argv);

    struct sigaction action
    {
    };
    action.sa_handler = onStopSignal;
    sigemptyset (&action.sa_mask);
    sigaction (SIGINT, &action, nullptr);
    sigaction (SIGTERM, &action, nullptr);

    snd_rawmidi_t* input = nullptr;
    int err = snd_rawmidi_open (&input, nullptr, options.device.c_str(), SND_RAWMIDI_NONBLOCK);

    if (err < 0)
    {
        std::fprintf (stderr, "PacedMidiReceiver: cannot open %s: %s\n", options.device.c_str(),
                      snd_strerror (err));
        return 1;
    }

    snd_rawmidi_params_t* params = nullptr;
    snd_rawmidi_params_alloca (&params);
    snd_rawmidi_params_current (input, params);
    snd_rawmidi_params_set_buffer_size (input, params, options.bufferSize);
    snd_rawmidi_params_set_avail_min (input, params, 1);

    if ((err = snd_rawmidi_params (input, params)) < 0)
    {
        std::fprintf (stderr, "PacedMidiReceiver: cannot set a %zu-byte buffer: %s\n", options.bufferSize,
                      snd_strerror (err));
        return 1;
    }

    snd_rawmidi_params_current (input, params);
    const size_t bufferSize = snd_rawmidi_params_get_buffer_size (params);

    FILE* capture = std::fopen (options.output.c_str(), "wb");

    if (capture == nullptr)
    {
        std::fprintf (stderr, "PacedMidiReceiver: cannot write %s: %s\n", options.output.c_str(),
                      std::strerror (errno));
        return 1;
    }

    std::vector<pollfd> fds (size_t (snd_rawmidi_poll_descriptors_count (input)));
    snd_rawmidi_poll_descriptors (input, fds.data(), unsigned (fds.size()));

    // Polling starts the input: only from then on does the kernel pass events to this reader.
    poll (fds.data(), nfds_t (fds.size()), 0);
    unsigned char chunk[256];

    if (!options.readyFile.empty() && !announceReady (options.readyFile))
    {
        std::fprintf (stderr, "PacedMidiReceiver: cannot create %s\n", options.readyFile.c_str());
        return 1;
    }

    snd_rawmidi_status_t* status = nullptr;
    snd_rawmidi_status_alloca (&status);

    const int64_t startNs = nowNs();
    const double burstLimit = std::max (1.0, options.bytesPerSecond / 100.0); // at most 10 ms worth at once
    double tokens = 0.0;
    int64_t lastRefillNs = startNs;
    uint64_t totalRead = 0;
    uint64_t overrunBytes = 0;
    std::vector<Arrival> arrivals;
    arrivals.reserve (4096);

    while (stopRequested == 0)
    {
        const int64_t now = nowNs();

        tokens = std::min (burstLimit, tokens + options.bytesPerSecond * double (now - lastRefillNs) * 1e-9);
        lastRefillNs = now;

        if ((err = snd_rawmidi_status (input, status)) < 0)
        {
            std::fprintf (stderr, "PacedMidiReceiver: status failed: %s\n", snd_strerror (err));
            break;
        }

        overrunBytes += snd_rawmidi_status_get_xruns (status); // the kernel resets it on every read
        const size_t waiting = snd_rawmidi_status_get_avail (status);
        const uint64_t arrived = totalRead + waiting + overrunBytes;

        if (arrivals.empty() ? arrived > 0 : arrived > arrivals.back().bytesArrived)
            arrivals.push_back ({ arrived, now });

        const int64_t sinceLastMs = (now - (arrivals.empty() ? startNs : arrivals.back().timeNs)) / 1000000;
        const int64_t limitMs = arrivals.empty() ? options.startTimeoutMs : options.idleMs;

        if (waiting == 0)
        {
            if (sinceLastMs >= limitMs)
                break;

            // Nothing to read: sleep until bytes arrive, so their arrival time is exact.
            const int timeoutMs = int (std::min<int64_t> (50, limitMs - sinceLastMs));
            poll (fds.data(), nfds_t (fds.size()), timeoutMs);
            continue;
        }

        const size_t allowed = std::min ({ waiting, size_t (tokens), sizeof (chunk) });

        if (allowed == 0)
        {
            const timespec pause { 0, 1000000 }; // 1 ms: about 6 bytes at the default rate
            nanosleep (&pause, nullptr);
            continue;
        }

        const ssize_t n = snd_rawmidi_read (input, chunk, allowed);

        if (n == -EAGAIN || n == 0)
            continue;

        if (n < 0)
        {
            std::fprintf (stderr, "PacedMidiReceiver: read failed: %s\n", snd_strerror (int (n)));
            break;
        }

        // Flushed at once, so that a test can watch the capture grow.
        std::fwrite (chunk, 1, size_t (n), capture);
        std::fflush (capture);
        totalRead += uint64_t (n);
        tokens -= double (n);
    }

    // What reached the port before the stop counts, paced or not: a test stops the receiver once
    // the sender has ended, and by then everything the sender wrote is in this buffer (the kernel
    // drains a sequencer client's output into the port when the client goes).
    for (ssize_t n; (n = snd_rawmidi_read (input, chunk, sizeof (chunk))) > 0;)
    {
        std::fwrite (chunk, 1, size_t (n), capture);
        totalRead += uint64_t (n);
    }

    snd_rawmidi_status (input, status);
    overrunBytes += snd_rawmidi_status_get_xruns (status);
    snd_rawmidi_close (input);
    std::fclose (capture);

    if (!options.arrivalsFile.empty())
    {
        if (FILE* f = std::fopen (options.arrivalsFile.c_str(), "w"))
        {
            for (const auto& a : arrivals)
                std::fprintf (f, "%" PRIu64 " %" PRId64 "\n", a.bytesArrived, a.timeNs);

            std::fclose (f);
        }
    }

    std::printf ("PacedMidiReceiver: %s, buffer %zu bytes, %.0f bytes/s: received %" PRIu64 " bytes, %" PRIu64
                 " bytes dropped by the kernel (buffer overrun)\n",
                 options.device.c_str(), bufferSize, options.bytesPerSecond, totalRead, overrunBytes);
    return 0;
}
