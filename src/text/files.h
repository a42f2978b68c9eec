// The little the program needs of the file system.
#pragma once

#include "text/text.h"

// Replaces the file's content with data. The data goes to a new file in the same folder that
// is then moved over the old name, so a failed write leaves the old file as it was. False for
// an empty name or any failure.
bool WriteBytesToFile(const Text& fileName, const Bytes& data);

// The folder of the running executable, without a trailing separator ("C:" for a drive root).
Text RunDirectory();
