#pragma once

#include "engine/detail/cTextMasterlist.h"

namespace engine::detail {

/// The master list of client version 8: a text registry value.
class Masterlist97 final : public cTextMasterlist
{
public:
    Masterlist97() : cTextMasterlist("8.0") {}
};

} // namespace engine::detail
