#pragma once

// The update procedure as the help window shows it.
extern const char* const helpText;
