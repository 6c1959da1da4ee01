#include "common/test_support.h"

#include <stdexcept>

namespace veltron::test {

TempFolder::TempFolder()
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

}  // namespace veltron::test
