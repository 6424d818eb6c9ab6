#include "engine/detail/modExcel.h"

#include "platform/excel/Application.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Variant.h"

namespace engine::detail::modExcel {

namespace {

thread_local long t_lExcelVersion = 0;

} // namespace

long GetExcelVersion(const std::shared_ptr<platform::excel::Application>& oExcel)
{
    namespace rt = platform::runtime;
    if (t_lExcelVersion != 0)
        return t_lExcelVersion;
    if (!oExcel)
        return 0;
    const std::string sMajor = oExcel->Version().substr(0, 2);
    long lVersion = 0;
    if (sMajor == "8.")
        lVersion = 8;
    else if (sMajor == "9.")
        lVersion = 9;
    else if (rt::IsNumeric(rt::Variant(sMajor)))
        lVersion = static_cast<long>(rt::Val(sMajor));
    t_lExcelVersion = lVersion;
    return lVersion;
}

void ResetExcelVersion()
{
    t_lExcelVersion = 0;
}

} // namespace engine::detail::modExcel
