#pragma once

#include "platform/forms/Form.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform::forms {
class Label;
class ProgressBar;
} // namespace platform::forms

namespace shell {

/// The small modeless window that follows a read: a bar and the number of items of the
/// folder being read. It holds its one text itself, in German and English.
class frmProgress : public platform::forms::Form
{
public:
    frmProgress();

    /// The bar at 1 of 1 and no number yet.
    void Init();
    /// The bar at Value of Max and Max as the number shown.
    void Update(std::int32_t Value, std::int32_t Max);

    /// The text of a numeric resource id in the current language; empty for anything else.
    static std::string GetResource(const std::string& sTag);

    const platform::forms::ProgressBar& PBar() const { return *m_oBar; }
    /// The label of that index (0 the text, 2 the number).
    const platform::forms::Label& lbl(int nIndex) const;

protected:
    void Form_Load() override;

private:
    std::shared_ptr<platform::forms::ProgressBar> m_oBar;
    std::shared_ptr<platform::forms::Label> m_aLabels[3];
};

} // namespace shell
