#include "fieldcatalogue/Application.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObjectOld.h"
#include "common/modLanguage.h"

namespace fieldcatalogue {

std::shared_ptr<cFields>
Application::GetFields(const std::shared_ptr<platform::mapi::Folder>& Folder)
{
    return LoadAnswer("GetFields", Folder, true);
}

std::shared_ptr<cFields>
Application::GetUserFields(const std::shared_ptr<platform::mapi::Folder>& Folder)
{
    return LoadAnswer("GetUserFields", Folder, false);
}

long Application::LanguageID() const
{
    return common::modLanguage::GetLanguageID();
}

void Application::SetLanguageID(long ID)
{
    common::modLanguage::SetLanguageID(ID);
}

std::shared_ptr<cFields>
Application::LoadAnswer(const char* sProcedure,
                        const std::shared_ptr<platform::mapi::Folder>& Folder, bool bStandard)
{
    // The catalogue carries the older error object: it captures and raises again, and never
    // logs; the add-in logs what reaches it.
    return common::Rethrowing<common::ErrorObjectOld>("Application", sProcedure, [&](int& nLine) {
        nLine = 20;
        auto oFields = std::make_shared<cFields>();
        nLine = 30;
        oFields->LoadFields(Folder, bStandard);
        return oFields;
    });
}

} // namespace fieldcatalogue
