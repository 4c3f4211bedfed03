#pragma once

// The update procedure as the help window shows it.
extern const char* const helpText;

// What to do when an update fails, shown after the procedure.
extern const char* const ifTheUpdateStopsText;
