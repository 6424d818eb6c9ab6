#pragma once

#include "common/ObjectSize.h"

#include <cstdint>
#include <string>

namespace platform::forms {
class FlexGrid;
class Form;
} // namespace platform::forms

namespace common {

/// Keeps a window's placement and the last used template in the registry, as UTF-16LE text
/// stored as binary data: the placement as "WindowState NUL Left NUL Top NUL Width NUL
/// Height" (twips, in the user's number format) under the window's name, the template's
/// name under "LastTemplate". Every operation ignores its errors.
class FormPersitent
{
public:
    /// Restores the form's placement, clamped to the screen; OldSize receives the stored
    /// normal-state rectangle (clamped).
    void LoadFormular(platform::forms::Form& F, ObjectSize& OldSize, std::int64_t HKey,
                      const std::string& Section);
    /// Stores the form's placement (OldSize's rectangle when the form is not in the normal
    /// state).
    void SaveFormular(const platform::forms::Form& F, const ObjectSize& OldSize, std::int64_t HKey,
                      const std::string& Section);
    /// The stored last template, or empty text.
    std::string LoadViewSettings(std::int64_t HKey, const std::string& Section);
    /// Stores the view's name as the last template.
    template <class TView>
    void SaveViewSettings(const TView& Vs, std::int64_t HKey, const std::string& Section)
    {
        SaveLastTemplate(Vs.Name(), HKey, Section);
    }
    void SaveLastTemplate(const std::string& sName, std::int64_t HKey, const std::string& Section);
    /// Restores the grid's column widths stored under its name, when the stored list has as
    /// many entries as the grid has columns; an entry that is no number keeps its width.
    void LoadGrid(platform::forms::FlexGrid& fg, std::int64_t HKey, const std::string& Section);
    /// Stores the grid's column widths (twips, decimal, NUL-separated) under its name.
    void SaveGrid(const platform::forms::FlexGrid& fg, std::int64_t HKey,
                  const std::string& Section);

    /// Writes a text value as the window state is written (UTF-16LE bytes).
    static void WriteText(std::int64_t HKey, const std::string& Section, const std::string& sName,
                          const std::string& sText);
    /// Reads such a value; empty text when it is missing.
    static std::string ReadText(std::int64_t HKey, const std::string& Section,
                                const std::string& sName);
};

} // namespace common
