#include "common/modLanguage.h"

#include "common/Deliverable.h"
#include "platform/runtime/Error.h"

namespace common::modLanguage {
namespace {

// 0 means "not set yet"; each deliverable links its own copy of this module and so keeps its
// own language.
long g_lLanguageID = 0;

} // namespace

long GetLanguageID()
{
    if (g_lLanguageID == 0)
        g_lLanguageID = ThisDeliverable().lDefaultLanguage;
    return g_lLanguageID;
}

void SetLanguageID(long lID)
{
    g_lLanguageID =
        (lID == LANG_GERMAN || lID == LANG_ENGLISH) ? lID : ThisDeliverable().lDefaultLanguage;
}

long GetLanguageOffset()
{
    return GetLanguageID() == LANG_ENGLISH ? 10000 : 0;
}

std::string GetResString(long lID)
{
    const long lResID = lID + GetLanguageOffset();
    if (auto sText = FindResourceString(lResID))
        return *sText;
    platform::runtime::Raise(326, {},
                             "Resource with identifier '" + std::to_string(lResID) + "' not found");
}

void ResetLanguageForTests()
{
    g_lLanguageID = 0;
}

} // namespace common::modLanguage
