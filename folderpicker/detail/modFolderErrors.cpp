#include "folderpicker/detail/modFolderErrors.h"

#include "common/ErrorObject.h"

namespace folderpicker::detail::modFolderErrors {

void LogFolderError(const std::string& sSource, const std::string& sName)
{
    common::ErrorObject oError;
    bool bFlag = false;
    oError.CaptureError(sSource, bFlag);
    oError.SetDescription(oError.Description() + "\r\n- Folder name: " + sName);
    // AppendToLog loses the record rather than throw.
    oError.AppendToLog(oError.FormatLogRecord(), true);
}

} // namespace folderpicker::detail::modFolderErrors
