// Writing the settings of the "Additional Soft_Switch" tab: the encoders
// that turn the selected combo items into data bytes, and the write
// sequence framed by unlock and lock.
#pragma once

#include <optional>
#include <string>

#include "protocol/encoders.h"
#include "protocol/protocol_context.h"

namespace kt::protocol {

// The information message for the first combo the write needs that has no
// selection; nullopt when every needed combo has one.
std::optional<std::string> missingSelection(const ProtocolContext &context);

// The write sequence; it assumes missingSelection found nothing.
void writeAdditionalSwitches(ProtocolContext &context);

} // namespace kt::protocol
