#pragma once

#include <sched.h>

namespace e2e {

// Enters new namespaces of these kinds (CLONE_NEWNET, ...) and a mount
// namespace whose mounts stay in it; as the user's root in a user namespace
// of its own when the test does not run as root. Call it before any thread
// exists. False, with the reason on stderr, when the kernel refuses.
bool enterPrivateNamespaces(int kinds);

// Brings the loopback interface of a new network namespace up.
bool bringLoopbackUp();

} // namespace e2e
