#pragma once

class QFile;

// Opens the file for reading only when it is a regular file: the opening of a pipe waits for
// a writer for ever, and a device such as /dev/zero never ends.
bool OpenRegularFile(QFile& file);
