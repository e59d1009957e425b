// The colour a finding marks its element with, by how it affects callers.
#pragma once

#include <QColor>

#include "config/CallFlowCheck.h"

namespace quorvel {

QColor findingColour(FindingCode code);

}  // namespace quorvel
