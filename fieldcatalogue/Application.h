#pragma once

#include "common/ILanguage.h"
#include "fieldcatalogue/cFields.h"
#include "platform/runtime/Object.h"

#include <memory>
#include <vector>

namespace platform::mapi {
class Folder;
}

namespace fieldcatalogue {

/// The field catalogue's root object: which fields a report column can show for a folder,
/// with captions in the library's current language. Every answer is a new collection of new
/// fields, sorted by caption; nothing is kept between calls but the language.
class Application : public platform::runtime::Object, public common::ILanguage
{
public:
    std::string TypeName() const override { return "Application"; }

    /// The built-in fields of the folder's item type: 42 for appointments, 48 for tasks, 30 for
    /// journal entries, none for any other folder (or no folder). Throws only when the
    /// collection cannot be made, with "Juniper3.Application.GetFields (<line>)" added to the
    /// error's source.
    std::shared_ptr<cFields> GetFields(const std::shared_ptr<platform::mapi::Folder>& Folder);
    /// The folder's user-defined fields, whatever its item type; none when it has none or
    /// they cannot be read. Throws as GetFields does.
    std::shared_ptr<cFields> GetUserFields(const std::shared_ptr<platform::mapi::Folder>& Folder);
    /// This object as its language interface; the add-in sets the language through it right
    /// after creating the catalogue.
    common::ILanguage& ToILanguage() { return *this; }

    /// The library's current language (1031 until set).
    long LanguageID() const override;
    /// Stores 1031 or 1033; any other value stores 1031. Fields made before keep their
    /// captions.
    void SetLanguageID(long ID) override;
    /// The catalogue does not list its languages: always empty.
    std::vector<long> SupportedLanguages() const override { return {}; }

private:
    std::shared_ptr<cFields> LoadAnswer(const char* sProcedure,
                                        const std::shared_ptr<platform::mapi::Folder>& Folder,
                                        bool bStandard);
};

} // namespace fieldcatalogue
