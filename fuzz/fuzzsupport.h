#pragma once

// What every fuzz target shares: a Qt application object for the whole run, a private
// folder for files a reader wants by path, and the input as bytes.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

// In memory where the system has it: the writers sync every file to disk, which on a real
// disk would make each run a hundred times slower.
inline QTemporaryDir& workspace() {
    static QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm"))
                                 ? QStringLiteral("/dev/shm/diskarium-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/diskarium-fuzz-XXXXXX"));
    return dir;
}

inline void start(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    workspace();
}

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The bytes as a file of the workspace, for readers that take a path.
inline QString asFile(const QByteArray& content, const QString& name) {
    const QString path = workspace().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        std::abort(); // the workspace itself failed: nothing to learn from this input
    return path;
}

// A broken promise of the code under test: libFuzzer keeps the input that led here.
inline void fail(const char* condition, int line) {
    std::fprintf(stderr, "fuzz target line %d: %s does not hold\n", line, condition);
    std::abort();
}

} // namespace fuzzsupport

#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzsupport::fail(#condition, __LINE__);                                               \
    } while (false)

#define DISKARIUM_FUZZ_INIT                                                                        \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {                                 \
        fuzzsupport::start(argc, argv);                                                            \
        return 0;                                                                                  \
    }
