#include "cli/cli.h"

namespace veltron::cli {

void registerRunCommand();
void registerFormatCommand();
void registerReportCommand();
void registerStoreCommands();
void registerModelCommands();
void registerZoneMapCommand();
void registerRegisterCommand();
void registerExchangeCommands();

// Each command lives in a file of its own and is added here.
void registerBuiltinCommands()
{
    registerRunCommand();
    registerFormatCommand();
    registerReportCommand();
    registerStoreCommands();
    registerModelCommands();
    registerZoneMapCommand();
    registerRegisterCommand();
    registerExchangeCommands();
}

}  // namespace veltron::cli
