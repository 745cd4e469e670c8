// The commands of the self test and the fonts test, as the session sends
// them; they are defined with the other printer commands.
#pragma once

#include "protocol/print_commands.h"

namespace kt::session {

using protocol::fontsTestCommands;
using protocol::selfTestCommand;

} // namespace kt::session
