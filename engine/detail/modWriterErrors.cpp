#include "engine/detail/modWriterErrors.h"

#include "engine/Application.h"
#include "engine/detail/EngineState.h"
#include "engine/detail/Options.h"

#include "common/ErrorObject.h"
#include "platform/runtime/Error.h"
#include "platform/win/FileComponent.h"

namespace engine::detail::modWriterErrors {

void RaiseEngineError(std::int32_t lNumber, const std::vector<std::string>& vArgs)
{
    common::ErrorObject oError;
    throw platform::runtime::Error(lNumber, {}, oError.GetMessageText(lNumber, vArgs));
}

std::string PrepareTargetFile(const std::string& sFilename)
{
    const platform::win::FileComponent oFso;
    std::string sPath = oFso.fullPath(sFilename);
    const std::string sFolder = oFso.parentFolder(sPath);
    if (!oFso.folderExists(sFolder)) {
        try {
            oFso.createFolder(sFolder);
        } catch (const std::exception&) {
            RaiseEngineError(ERR_CREATE_FILE, {sPath});
        }
    }
    return sPath;
}

namespace {

// The settings of the root that is initialised on this thread (Initialize without Terminate).
const Options* CurrentOptions()
{
    const Application* pRoot = State().pCurrentRoot;
    return pRoot != nullptr ? pRoot->OptionsObject().get() : nullptr;
}

} // namespace

std::string CurrentCsvDelimiter()
{
    const Options* pOptions = CurrentOptions();
    return pOptions != nullptr ? pOptions->CSVDelimiter : std::string(";");
}

std::string CurrentHtmlPrefix()
{
    // Without an initialised root there is no setting: the setting's default is what a
    // template written for this system expects.
    const Options* pOptions = CurrentOptions();
    return pOptions != nullptr ? pOptions->PrefixHtmlVariable : Options().PrefixHtmlVariable;
}

} // namespace engine::detail::modWriterErrors
