// What the command-line tools share: the name and usage text, --help and -h,
// usage errors, options that take a value, failures, and a checked standard
// output. Unix conventions: the usage asked for goes to stdout with status 0,
// a usage error prints the usage on stderr with status 2, a failure prints
// one line "NAME: message" on stderr with status 1.
#pragma once

#include <cstddef>

// Call first in main. name is the tool's name as messages give it; usage is
// the whole usage text, lines ending in '\n'. Answers --help and -h (any
// argument) by printing the usage on stdout, and --version by printing
// "NAME VERSION", each ending with status 0. From
// here on a failed write to stdout ends the tool with one line and status 1.
void ToolStart(const char *name, const char *usage, int argc, char **argv);

// "NAME: message" (when format is not null) and the usage on stderr; status 2.
// A usage text with an empty line gives only its part before that line here
// (the synopsis); --help prints the whole.
[[noreturn]] void ToolUsageError(const char *format, ...) __attribute__((format(printf, 1, 2)));

// "NAME: message" on stderr; status 1.
[[noreturn]] void ToolFail(const char *format, ...) __attribute__((format(printf, 1, 2)));

// argv[i] is an option that takes a value: steps i to the value and returns
// it, or ends with the usage error "OPTION needs a value".
const char *ToolOptionValue(int argc, char **argv, int &i);

// A whole decimal number from low to high, or the usage error
// "OPTION takes LOW ... HIGH".
int ToolIntValue(const char *option, const char *text, int low, int high);

// Ends with a usage error when the output would overwrite the input: the same
// name, or another name of the same file.
void ToolRefuseSameFile(const char *input, const char *output);

// Ends with "PATH: no such file", "PATH: is a directory" or "PATH: is not a
// regular file" (a device, a pipe) unless the path names a regular file.
void ToolRequireFile(const char *path);

// Writes size bytes as the file path: under a temporary name beside it,
// renamed when whole, so that a failure never leaves a truncated file under
// its name. False, with errno telling why, when it cannot.
bool ToolWriteFile(const char *path, const void *bytes, size_t size);
