#pragma once

// The one list of the command-line options: --help prints it (CommandLineInfo) and the build
// writes it into the man page (ManPageSections, tools/man-page-tool). Adding an option is one row
// here, beside its rule in the parser. Plain text only, so that each medium can format it: an
// option word ("--file") and the row's own argument ("PATH") are marked up where the medium can.
struct CommandLineOptionRow
{
    const char* option;   // "--file"
    const char* argument; // "PATH", or "" for an option that takes none
    const char* summary;  // for --help and the man page; starts in lower case, no closing full stop
    const char* details;  // further sentences for the man page only; may be ""
};

constexpr CommandLineOptionRow commandLineOptionTable[] = {
    { "--file", "PATH",
      "send the SysEx file at PATH instead of the built-in firmware. Everything after --file up to the end "
      "of the command line is the path (blanks included), so --file comes last. A file that cannot be "
      "loaded is reported, and the window offers the built-in firmware instead; an update with --autoupdate "
      "then sends nothing",
      "Quote a path with blanks for the shell; quotation marks that reach the program are part of the "
      "name. A file cannot be loaded when it is missing, a folder, empty, unreadable or larger than 64 MiB; "
      "the message box names the file and what is wrong. An unattended update never sends the built-in "
      "firmware in place of a named file." },
    { "--autoupdate", "", "choose the output, start the update at once, quit once it has completed",
      "After anything else the window stays open and shows why, so that the user can reconnect the pedal "
      "and press update again; the exit status, once the window is closed, says how the update ended." },
    { "--outputid", "N",
      "with --autoupdate: the output, counted from 1 as --list-outputs numbers them (values below 1 mean 1)",
      "N counts in the list as it was at start." },
    { "--output", "NAME",
      "with --autoupdate: the output by name: the one named exactly NAME, else the only one whose name "
      "contains NAME in any letter case. Wins over --outputid",
      "None or several: nothing is sent, and the line on standard error lists the outputs there are "
      "(status 3). NAME runs up to the next option, blanks included." },
    { "--inputid", "N", "accepted and ignored (there is no input side)", "" },
    { "--no-window", "",
      "update in the terminal, without a window or a display (implies --autoupdate); --autoupdate does the "
      "same where no display can be opened. Progress goes to stderr, and its last line names the outcome",
      "The same output choice, image rules, pacing, outcome and exit statuses as the window. On a terminal "
      "the progress is one line redrawn in place (per cent, bytes and messages sent, time left); in a log "
      "or a pipe it is a plain line every few seconds and one at the end. Standard output stays empty. "
      "Ctrl-C, SIGTERM or SIGHUP stop the update between two messages (status 1)." },
    { "--quiet", "", "with --no-window: no progress, only the last line, and that only on failure", "" },
    { "--check", "",
      "check the image (--file, else the built-in one) without sending it: name, size, SysEx messages, "
      "manufacturer ID, wire time and SHA-256 on stdout, and exit 0. A damaged or unloadable image gives "
      "status 2 and one line on stderr saying what is wrong and where (message number and byte offset)",
      "The check is the framing check every upload runs. It needs no display and no MIDI device, and "
      "works while Quillon runs." },
    { "--pause", "MS",
      "wait MS milliseconds (0 to 5000, default 0) after each SysEx message, on top of its time on the wire; "
      "counts in the time left and in --check's wire time. Any other value is refused before anything is "
      "sent (status 6)",
      "Use it when an update fails again and again although the pedal stays connected: some bootloaders need "
      "time to write each block, and some USB-MIDI interfaces lose data when messages follow closely; 100 to "
      "200 is usual." },
    { "--list-outputs", "",
      "print the MIDI outputs in the order --outputid counts them, one a line: number, name, identifier "
      "(tab-separated), and exit 0",
      "An empty list is no error." },
    { "--help", "", "print the usage, the options and the exit statuses, and exit 0", "" },
    { "--version", "",
      "print the version of Quillon and of its built-in firmware (product and version), and exit 0", "" },
};

// The rules every option follows, as paragraphs.
constexpr const char* commandLineOptionRules[] = {
    "Options are whole words in any letter case (--FILE works, --filex is not an option); a number follows "
    "its option after a blank (--outputid 2, not --outputid=2). Other words, also those beginning with --, "
    "are ignored.",
    "--output, --pause, --list-outputs, --help, --version, --no-window, --quiet and --check count only "
    "before --file, whose path is the rest of the line. --help, --version, --list-outputs and --check need "
    "no display and work while Quillon runs.",
};
