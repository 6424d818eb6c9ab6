#pragma once

#include "engine/detail/cBinaryMasterlist.h"

namespace engine::detail {

/// The master list of client version 10: a binary registry value.
class Masterlist02 final : public cBinaryMasterlist
{
public:
    Masterlist02() : cBinaryMasterlist("10.0", "Masterlist02") {}
};

} // namespace engine::detail
