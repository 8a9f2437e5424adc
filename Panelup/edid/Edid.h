#pragma once

#include "edid/DisplayRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace edid {

constexpr size_t EdidBlockSize = 128;

enum EdidValidation {
    EdidValid = 0,
    EdidBadLength = 1,   // not a multiple of 128 bytes
    EdidBadChecksum = 2, // a block does not sum to 0
    EdidBlank = 3        // every byte is 0x00 or 0xFF
};

// One of EdidValidation. An empty image counts as valid.
int validateEdid(std::vector<uint8_t> bytes);

// Sets byte 127 of every block so that the block sums to 0. An image whose
// length is not a multiple of 128 is left alone.
void repairEdidChecksums(std::vector<uint8_t>& bytes);

// Text of a display descriptor: bytes 5-17 up to a line feed or NUL.
std::string descriptorText(const EdidRecord::Descriptor& descriptor);

// Fills the EDID fields of record from an image: the first 128 bytes, with
// zeros for what a short image lacks.
void decodeEdidBaseBlock(EdidRecord& record, const std::vector<uint8_t>& bytes);

// The low byte of each UTF-16 code unit, as the registry lookup expects.
std::string narrowDeviceId(const std::u16string& deviceId);

// Each byte as one UTF-16 code unit: the inverse of narrowDeviceId for the
// ASCII names and EDID texts the back ends make up.
std::u16string widenBytes(const std::string& text);

// The Windows monitor class GUID, third part of a monitor's device ID.
inline const char* const MonitorClassGuid = "{4d36e96e-e325-11ce-bfc1-08002be10318}";

// A device ID in the Windows form MONITOR\<PNP id><product>\<class GUID>\<instance>
// for back ends that have none of their own.
std::string monitorDeviceId(const EdidRecord& edid, const std::string& instance);

// The three-letter PNP id of EDID bytes 8-9, e.g. "NVL"; "" when invalid.
std::string pnpVendorId(const std::array<uint8_t, 2>& manufacturerCode);

} // namespace edid
