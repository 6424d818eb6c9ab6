#pragma once

#include "engine/FolderData.h"

#include "platform/runtime/Collection.h"

#include <memory>

namespace engine {

/// The caller's list of folders to read: a keyed collection of `FolderData`.
/// `Application::ReadRecords` changes it: afterwards it holds only the folders that could be
/// opened.
using FolderDataList = platform::runtime::Collection<std::shared_ptr<FolderData>>;

} // namespace engine
