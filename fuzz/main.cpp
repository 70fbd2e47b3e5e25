// One libFuzzer target: ZELVAR_FUZZ_CHECK names the check of checks.h that
// every input goes through. A failed check aborts, which libFuzzer reports
// as a crash and keeps the input.

#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/checks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Text documents want a GUI application for their fonts; no window is
    // ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The fuzzer's own buffer, not a copy: a copy would end in a zero byte
    // and hide a read one past the end from the address sanitizer.
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString failure = zelvar::fuzz::ZELVAR_FUZZ_CHECK(input);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "check failed: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
