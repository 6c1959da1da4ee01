#include "cli/cli.h"

namespace veltron::cli {

// Each command lives in a file of its own and is added here.
void registerBuiltinCommands()
{
}

}  // namespace veltron::cli
