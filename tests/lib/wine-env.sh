# Sourced by every script that starts Wine: its environment for the tests.
# - Quiet, and no offer to install Mono or Gecko, which nothing here needs.
# - No crash debugger: on an unhandled exception Wine starts winedbg --auto, which here never
#   returned (seen without a terminal: it waited on a pipe), so a crash would hang the run instead
#   of ending with the exception's code. Without it the process ends at once with that code.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
