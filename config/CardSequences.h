// Whole-card operations in their fixed orders: creating missing files,
// loading every record and saving every record.
#pragma once

#include "CardFolder.h"
#include "DeviceConfiguration.h"

namespace quorvel {

// Creates each missing card file with its initial content, in file-number
// order; existing files are not opened. Throws CardError.
void ensureCardFiles(const CardFolder& card);

// Reads the 112 record files into `config`. A failure throws CardError and
// leaves `config` holding what was read before it; values a file leaves
// undetermined keep what `config` held.
void loadConfiguration(const CardFolder& card, DeviceConfiguration& config);

// Rewrites every existing record file from `config`; stops at the first
// failure with CardError. Validates nothing.
void saveConfiguration(const CardFolder& card, const DeviceConfiguration& config);

}  // namespace quorvel
