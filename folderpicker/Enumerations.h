#pragma once

#include <cstdint>

namespace folderpicker {

/// The kinds of message store the tree can show, as bits of `Dialog::ShowStoreKind`.
enum olfStoreKind : std::int32_t
{
    fskUnknown = 1,
    fskPST = 2,
    fskPrimaryExchangeMailbox = 4,
    fskDelegateExchangeMailbox = 8,
    fskPublicFolders = 16,
    fskBCM = 32,
    fskIMAP4 = 64,
    fskHotmail = 128,
    fskEAS = 256,
};

/// Every store kind together: what the tree shows by default.
inline constexpr std::int32_t fskAll = 511;

/// The library's own error numbers: the resource id of the message minus 277174649.
enum FOLDERDLG_ERR : std::int32_t
{
    /// "Einige Ordner konnten nicht geöffnet werden." (resource 10).
    ERR_READ_FOLDER = -277174639,
};

} // namespace folderpicker
