#pragma once

#include <sys/types.h>

#include <QString>
#include <optional>

namespace tallowby::output_target {

// Why `path` cannot be an output, or nothing when it can: a regular file (a
// link to one counts) or a name that does not exist yet. Folders, devices,
// FIFOs and sockets are refused, e.g. "it is a folder".
std::optional<QString> refusal(const QString& path);

// The same for a file already looked at: nothing for a regular file, else
// what it is ("it is a FIFO").
std::optional<QString> kindRefused(mode_t mode);

// Throws tallowby::Failure ("Cannot write PATH: it is a FIFO") when refused.
void check(const QString& path);

// True when both names lead to the same file: the same device and inode for
// files that exist (links and ".." resolved by the system, not by the text),
// else the same name in the same folder.
bool sameFile(const QString& a, const QString& b);

}  // namespace tallowby::output_target
