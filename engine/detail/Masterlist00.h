#pragma once

#include "engine/detail/cTextMasterlist.h"

namespace engine::detail {

/// The master list of client version 9: a text registry value.
class Masterlist00 final : public cTextMasterlist
{
public:
    Masterlist00() : cTextMasterlist("9.0") {}
};

} // namespace engine::detail
