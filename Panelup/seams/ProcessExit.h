#pragma once

namespace seams {

// Ending the process after a start-up refusal or on close. The real one does
// not return; a test one does, so callers must return right after calling it.
class ProcessExit {
public:
    virtual ~ProcessExit() = default;
    virtual void exit(int code) = 0;
};

class RuntimeExit : public ProcessExit {
public:
    [[noreturn]] void exit(int code) override;
};

ProcessExit& processExit();
// nullptr restores the runtime's exit. Not owned.
void setProcessExit(ProcessExit* replacement);

} // namespace seams
