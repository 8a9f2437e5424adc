#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace update {

// Keeps the old and the new bytes of every EDID area the repair writes, so
// that a repair can be undone by hand. One file, appended to.
class EdidBackup {
public:
    static const char* const FileName;

    explicit EdidBackup(QString folder);

    // Appends one entry. False when the file could not be written; the area
    // must then be left alone.
    bool record(const QString& model, int address, const std::vector<uint8_t>& oldBytes,
                const std::vector<uint8_t>& newBytes) const;

    QString path() const { return path_; }

private:
    QString path_;
};

} // namespace update
