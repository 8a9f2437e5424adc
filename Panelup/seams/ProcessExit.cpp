#include "seams/ProcessExit.h"

#include <cstdlib>

namespace seams {

void RuntimeExit::exit(int code) {
    std::exit(code);
}

namespace {
RuntimeExit runtimeExit;
ProcessExit* current = &runtimeExit;
} // namespace

ProcessExit& processExit() {
    return *current;
}

void setProcessExit(ProcessExit* replacement) {
    current = replacement ? replacement : &runtimeExit;
}

} // namespace seams
