#include "RecordingExit.h"

RecordingExit::RecordingExit() {
    seams::setProcessExit(this);
}

RecordingExit::~RecordingExit() {
    seams::setProcessExit(nullptr);
}

void RecordingExit::exit(int code) {
    codes.push_back(code);
}
