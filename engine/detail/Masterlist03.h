#pragma once

#include "engine/detail/cBinaryMasterlist.h"

namespace engine::detail {

/// The master list of client version 11: a binary registry value.
class Masterlist03 final : public cBinaryMasterlist
{
public:
    Masterlist03() : cBinaryMasterlist("11.0", "Masterlist03") {}
};

} // namespace engine::detail
