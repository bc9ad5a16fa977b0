#pragma once

#include <QString>

namespace platform::testing {

// Makes at `path` a file that is no regular file, as a folder of games may hold one by mistake or
// on purpose: "fifo" a named pipe nobody writes to (opening it to read would wait for ever), "zero" a
// link to /dev/zero (reading it would never end). False when it cannot be made.
bool makeNonRegularFile(const QString& path, const QString& kind);

} // namespace platform::testing
