#pragma once

// Shared by the tests of the atomic file writer and of output sets, which
// both write over files and make the writer's system calls fail.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <string>
#include <utility>

#include "app/atomic_file.h"
#include "app/failure.h"

namespace tallowby::testing {

// The file as it was before any atomic write: written plainly.
inline void writePlain(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Installs replacement system calls for the writer while alive.
struct FaultyCalls {
    explicit FaultyCalls(AtomicFileWriter::SystemCalls c) : calls(std::move(c)) {
        AtomicFileWriter::setSystemCallsForTesting(&calls);
    }
    ~FaultyCalls() { AtomicFileWriter::setSystemCallsForTesting(nullptr); }
    AtomicFileWriter::SystemCalls calls;
};

// What the Failure that `f` throws says; "no failure" when it throws none.
inline std::string failureText(const std::function<void()>& f) {
    try {
        f();
    } catch (const Failure& e) {
        return e.what();
    }
    return "no failure";
}

}  // namespace tallowby::testing
