// The show's file names use '\' as separator: mapped to '/' in one place for
// every layer that opens files (the data reader, the sound library).
#pragma once

// A path that may use '\' as separator with each one mapped to '/', cut to
// outSize - 1 characters: the one mapping of the show's file names.
void SlashPath(const char *path, char *out, int outSize);
