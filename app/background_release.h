#pragma once

#include <QString>

namespace tallowby {

// Deleting a big file that was just written is mostly the kernel giving back
// its cached pages, milliseconds for a wide sheet's picture; that happens at
// the last close of the deleted file. These removals take the name away at
// once and leave that last close to a background thread.

// Removes the file as removeFile() does; its pages are given back later, on
// the background thread. Never reports.
void removeFileReleasingLater(const QString& path);

// Returns once every file handed over so far has been given back.
void waitForFileReleases();

}  // namespace tallowby
