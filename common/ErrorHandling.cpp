#include "common/ErrorHandling.h"

#include "common/Deliverable.h"

namespace common {

std::string SourceText(std::string_view sModule, std::string_view sProcedure, int nLine)
{
    std::string sText = ThisDeliverable().sName;
    sText += '.';
    sText += sModule;
    sText += '.';
    sText += sProcedure;
    sText += " (" + std::to_string(nLine) + ")";
    return sText;
}

} // namespace common
