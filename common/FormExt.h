#pragma once

#include "common/ObjectSize.h"

#include <cstdint>
#include <memory>

namespace platform::forms {
class Form;
}

namespace common {

/// Per-window state flags and two remembered sizes of the window's inner area, from which
/// the window works out how much it grew or shrank. The numeric codes belong to the window.
class FormExt
{
public:
    std::int32_t CommandPressed = 0;
    bool DataChanged = false;
    std::int32_t FormClose = 1;
    bool FormIsLoaded = false;
    std::int32_t FormShow = 1;
    std::int32_t SaveMode = 2;
    bool StartProcess = false;
    bool UnloadByControlMenu = true;
    bool UnloadProcess = false;

    /// CommandPressed 0, UnloadProcess and DataChanged false.
    void Reset();
    /// The form's inner area becomes the old or the new size.
    void SetOldSize(const platform::forms::Form& oForm);
    void SetNewSize(const platform::forms::Form& oForm);
    /// New minus old Height (0), Left (1), Top (2) or Width (3); 0 when a size is missing or
    /// the index is outside 0..3.
    float GetSizeDiff(std::int32_t lIndex) const;
    /// For the min-max-info message (36) sets the minimum tracking size in *pMinTrack to
    /// 300 x 200 pixels and answers true; false for any other message.
    bool FormMessage(std::int32_t uMsg, std::int32_t wParam, std::int32_t* pMinTrack);

private:
    std::unique_ptr<ObjectSize> m_oOldSize;
    std::unique_ptr<ObjectSize> m_oNewSize;
};

} // namespace common
