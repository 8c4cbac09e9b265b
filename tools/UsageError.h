#pragma once

#include "Error.h"

namespace initdb {

// A command line the tool cannot act on; it ends the tool with exit code 2.
class UsageError : public data::Error
{
public:
    using data::Error::Error;
};

} // namespace initdb
