#pragma once

namespace seams {

// The fixed waits of the device protocol and the update. Tests replace it to
// record the waits asked for without spending them.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleepMs(unsigned long ms) = 0;
};

class ThreadSleeper : public Sleeper {
public:
    void sleepMs(unsigned long ms) override;
};

Sleeper& sleeper();
// nullptr restores the real sleep. Not owned.
void setSleeper(Sleeper* replacement);

} // namespace seams
