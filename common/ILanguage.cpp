#include "common/ILanguage.h"

#include "common/modLanguage.h"

namespace common {

long ModuleLanguage::LanguageID() const
{
    return modLanguage::GetLanguageID();
}

void ModuleLanguage::SetLanguageID(long ID)
{
    modLanguage::SetLanguageID(ID);
}

std::vector<long> ModuleLanguage::SupportedLanguages() const
{
    return {modLanguage::LANG_GERMAN, modLanguage::LANG_ENGLISH};
}

} // namespace common
