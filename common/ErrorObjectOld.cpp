#include "common/ErrorObjectOld.h"

#include "common/Deliverable.h"
#include "common/ErrorObject.h"
#include "platform/runtime/Error.h"

namespace common {

std::string ErrorObjectOld::GetRegistryPath() const
{
    return std::string("Software\\Kestrova\\") + ThisDeliverable().sAppTitle + "\\Settings\\";
}

void ErrorObjectOld::CaptureError(const std::string& sSource, bool& bFlag)
{
    // The capture itself is the same as the current error object's; only the members differ.
    ErrorObject oError;
    oError.CaptureError(sSource, bFlag);
    m_lNumber = oError.Number();
    m_sSource = oError.Source();
    m_sDescription = oError.Description();
    m_lHelpContext = oError.HelpContext();
    m_sHelpFile = oError.HelpFile();
    m_lLastDLLError = oError.LastDLLError();
}

void ErrorObjectOld::ReRaise() const
{
    platform::runtime::Error oError(m_lNumber == 0 ? kNumberForZero : m_lNumber, m_sSource,
                                    m_sDescription, m_sHelpFile, m_lHelpContext);
    oError.SetLastDllError(m_lLastDLLError);
    throw oError;
}

void ErrorObjectOld::Clear()
{
    m_lNumber = 0;
    m_lHelpContext = 0;
    m_lLastDLLError = 0;
    m_sSource.clear();
    m_sDescription.clear();
    m_sHelpFile.clear();
}

} // namespace common
