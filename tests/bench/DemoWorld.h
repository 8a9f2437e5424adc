#pragma once

#include <QString>

// The demo's virtual monitor (demo/virtual-monitor.json) loaded from its
// text, so nothing is persisted beside the description, with the writer's
// timing set here. False with the reason in error when it is refused.
bool loadDemoWorld(int firmwareWriteMs, int progressSteps, QString& error);
