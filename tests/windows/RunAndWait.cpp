// Test support for the Windows build under Wine; never shipped.
//
//   RunAndWait.exe PROGRAM [ARGUMENTS...]
// Starts PROGRAM with the arguments (each quoted as Windows splits them), hands it this process's
// standard handles, waits for it and exits with the exit code Windows reports for it: the status a
// script on Windows sees. Two exceptions, both for what Wine makes of a status (its low 8 bits):
// - An exit code beyond 0..254, such as the code of an unhandled exception (0xC0000005, an access
//   violation), is printed on stderr and the status is 255: cut to 8 bits, 0xC0000005 would read
//   as the program's own status 5.
// - PROGRAM ends with this launcher: a script that kills the launcher (a test that gives up) would
//   otherwise leave PROGRAM running unseen, and the next start would meet it.
//
// Why: in the alsa-vm guest, Wine's own process for a program that used WinMM's ALSA MIDI driver
// often dies with SIGSEGV after the program has ended (in the driver's notify thread, as Wine tears
// the process down; a ten-line program that only opens and closes a MIDI output does it too). Its
// Unix status is then 139 whatever the program returned. This launcher touches no MIDI, so its own
// Unix status is the program's Windows exit code.

#include <windows.h>

#include <cstdio>
#include <string>

namespace
{
// One argument quoted for CommandLineToArgvW: backslashes double only before a quote.
std::wstring quoted (const std::wstring& argument)
{
    std::wstring result = L"\"";
    size_t backslashes = 0;

    for (const wchar_t c : argument)
    {
        if (c == L'\\')
        {
            ++backslashes;
            continue;
        }

        result.append (c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        result += c;
    }

    result.append (backslashes * 2, L'\\');
    return result + L"\"";
}
} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW (GetCommandLineW(), &argc);

    if (argv == nullptr || argc < 2)
        return 125;

    std::wstring commandLine;

    for (int i = 1; i < argc; ++i)
        commandLine += (i > 1 ? L" " : L"") + quoted (argv[i]);

    STARTUPINFOW startup {};
    startup.cb = sizeof (startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle (STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle (STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle (STD_ERROR_HANDLE);

    for (const DWORD stream : { STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE })
        SetHandleInformation (GetStdHandle (stream), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

    // The job ends the program when its last handle closes, which is this process's when it ends
    // in whatever way.
    const HANDLE job = CreateJobObjectW (nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;

    if (job == nullptr ||
        !SetInformationJobObject (job, JobObjectExtendedLimitInformation, &limits, sizeof (limits)))
        return 125;

    PROCESS_INFORMATION process {};

    // Suspended until it is in the job, so that nothing it starts escapes it either.
    if (!CreateProcessW (nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                         nullptr, &startup, &process))
        return 126;

    if (!AssignProcessToJobObject (job, process.hProcess))
    {
        TerminateProcess (process.hProcess, 125);
        return 125;
    }

    ResumeThread (process.hThread);
    WaitForSingleObject (process.hProcess, INFINITE);
    DWORD exitCode = 127;
    GetExitCodeProcess (process.hProcess, &exitCode);

    if (exitCode > 254)
    {
        std::fprintf (stderr,
                      "RunAndWait: %ls ended with exit code 0x%08lX, which no status holds (0xC... codes are "
                      "unhandled exceptions)\n",
                      argv[1], static_cast<unsigned long> (exitCode));
        return 255;
    }

    return static_cast<int> (exitCode);
}
