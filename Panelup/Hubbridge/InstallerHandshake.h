#pragma once

namespace hubbridge {

class CMpFlow;

// Tells the hub maker's driver installer that the USB-to-I2C function is about
// to be used and gives it up to 3 s to finish. False when it did not answer;
// true also where no such installer exists.
bool signalDriverInstaller(const CMpFlow& log);

} // namespace hubbridge
