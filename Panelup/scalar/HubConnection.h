#pragma once

namespace scalar {

class ConnectionReporter;

// Finds the monitor's hub through the bridge, opens it and configures its
// I2C bus. Each window exchange makes its own; nothing is reused.
class HubConnection {
public:
    enum class Failure { None, LibraryMissing, NoHub, BusConfigRefused };

    // hubIndex receives the chosen hub: the last one that answered.
    explicit HubConnection(int& hubIndex) : hubIndex_(hubIndex) {}

    // Probe, enumerate, open and, when configureBus, configure the bus.
    // After a refused configuration the device stays open, as the next
    // probe closes it.
    Failure open(bool configureBus);
    void close();

    // What the user sees of a failure: a box, or the hub-not-detected
    // notice through reporter.
    static void report(Failure failure, ConnectionReporter& reporter);

private:
    int& hubIndex_;
};

} // namespace scalar
