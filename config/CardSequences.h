// Whole-card operations in their fixed orders: creating missing files,
// loading every record and saving every record.
#pragma once

#include "CardFolder.h"
#include "CardWrite.h"
#include "DeviceConfiguration.h"

namespace quorvel {

// Creates each missing card file with its initial content, in file-number
// order; existing files are not opened.
[[nodiscard]] CardResult ensureCardFiles(const CardFolder& card);

// Adds each missing card file with its initial content to `write`.
void addMissingFiles(const CardFolder& card, CardWrite& write);

// Reads the 112 record files into `config`. A failure leaves `config`
// holding what was read before it; values a file leaves undetermined keep
// what `config` held.
[[nodiscard]] CardResult loadConfiguration(const CardFolder& card, DeviceConfiguration& config);

// Adds the new content of every existing record file to `write`, in the
// fixed order. Validates nothing.
void addConfiguration(const CardFolder& card, const DeviceConfiguration& config, CardWrite& write);

// Rewrites every existing record file from `config`, all of them or none;
// a failure says what the card holds. Validates nothing.
[[nodiscard]] CardResult saveConfiguration(const CardFolder& card, const DeviceConfiguration& config);

}  // namespace quorvel
