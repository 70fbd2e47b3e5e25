// zelvar-htmlcheck: the HTML check in a process of its own. It reads a page as
// UTF-8 on standard input and writes the findings on standard output in the
// line form of encodeCheckResult. Tidy parses recursively, so it runs on a
// thread with a very large stack; the memory and the processor time are
// capped, so that a page that Tidy cannot cope with ends this process and no
// other.

#include "text/htmlcheck.h"

#include <QFile>
#include <QThread>
#include <cstdio>
#include <sys/resource.h>

namespace {

// About 600 bytes of stack per level of nesting: room for a million levels.
constexpr qsizetype kStackBytes = qsizetype(1) << 30;
constexpr rlim_t kHeapBytes = rlim_t(2) << 30;
constexpr rlim_t kProcessorSeconds = 300; // in case the editor is gone

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELVAR_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZELVAR_ASAN 1
#endif

void capResources() {
    const rlimit cpu{kProcessorSeconds, kProcessorSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
#ifndef ZELVAR_ASAN // the sanitizer reserves far more address space than it uses
    const rlimit memory{kHeapBytes + kStackBytes, kHeapBytes + kStackBytes};
    setrlimit(RLIMIT_AS, &memory);
#endif
}

} // namespace

int main() {
    capResources();
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        return 2;
    }
    const QByteArray page = input.readAll();
    QByteArray output;
    QThread* thread = QThread::create(
        [&page, &output] { output = zelvar::encodeCheckResult(zelvar::checkHtml(page)); });
    thread->setStackSize(static_cast<uint>(kStackBytes));
    thread->start();
    thread->wait();
    delete thread;
    if (output.isEmpty()) {
        return 3; // the thread could not start
    }
    const bool written = std::fwrite(output.constData(), 1, output.size(), stdout) ==
                             static_cast<size_t>(output.size()) &&
                         std::fflush(stdout) == 0;
    return written ? 0 : 1;
}
