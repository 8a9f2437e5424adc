#pragma once

#include <QString>

// Writes the demo update site (demo/make-site.py) under folder, so the
// benchmark fetches exactly what the demo serves. False with the reason in
// error when the script fails or does not end within a minute.
bool makeDemoSite(const QString& folder, QString& error);
