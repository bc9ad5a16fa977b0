#pragma once

#include <QString>

namespace platform {

// A save that failed, and why, for whoever diagnoses it: "保存に失敗しました: <file>: <reason>" to the
// program's warning output; returns that line. The user is told by the caller, in the program's words.
QString logSaveFailure(const QString& fileName, const QString& reason);

} // namespace platform
