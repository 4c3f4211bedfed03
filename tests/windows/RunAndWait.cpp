// Test support for the Windows build under Wine; never shipped.
//
//   RunAndWait.exe PROGRAM [ARGUMENTS...]
// Starts PROGRAM with the arguments (each quoted as Windows splits them), hands it this process's
// standard handles, waits for it and exits with the exit code Windows reports for it: the status a
// script on Windows sees.
//
// Why: in the alsa-vm guest, Wine's own process for a program that used WinMM's ALSA MIDI driver
// often dies with SIGSEGV after the program has ended (in the driver's notify thread, as Wine tears
// the process down; a ten-line program that only opens and closes a MIDI output does it too). Its
// Unix status is then 139 whatever the program returned. This launcher touches no MIDI, so its own
// Unix status is the program's Windows exit code.

#include <windows.h>

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

    PROCESS_INFORMATION process {};

    if (!CreateProcessW (nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                         &process))
        return 126;

    WaitForSingleObject (process.hProcess, INFINITE);
    DWORD exitCode = 127;
    GetExitCodeProcess (process.hProcess, &exitCode);
    return static_cast<int> (exitCode);
}
