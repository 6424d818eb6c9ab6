#pragma once

#include <vector>

namespace common {

/// The language interface by which the add-in hands its UI language to each library's root
/// object (reached through the library's `ToILanguage`).
class ILanguage
{
public:
    virtual ~ILanguage() = default;
    /// The root object's current language (1031 or 1033).
    virtual long LanguageID() const = 0;
    /// Sets the language; unsupported ids fall back as `modLanguage::SetLanguageID` does.
    virtual void SetLanguageID(long ID) = 0;
    /// The language ids this deliverable has texts for.
    virtual std::vector<long> SupportedLanguages() const = 0;
};

/// The `ILanguage` every root object offers: it keeps its language in this deliverable's
/// `modLanguage`.
class ModuleLanguage : public ILanguage
{
public:
    long LanguageID() const override;
    void SetLanguageID(long ID) override;
    std::vector<long> SupportedLanguages() const override;
};

} // namespace common
