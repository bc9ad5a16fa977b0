// One libFuzzer target; HOOP_FUZZ_ENTRY names the entry of FuzzEntries.h that it drives.
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The fuzzer's own arguments must not reach the program as a game file to open at start-up.
    static int argc = 1;
    static char name[] = "Hooptally";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's font caches outlive it and would read as leaks at exit.
    static auto* app = new QApplication(argc, argv);
    Q_UNUSED(app);
    hoop::fuzz::checkGameRoundTrips = qEnvironmentVariableIntValue("HOOP_FUZZ_ROUNDTRIP") != 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString problem =
        hoop::fuzz::HOOP_FUZZ_ENTRY(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "finding: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
