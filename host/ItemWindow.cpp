#include "host/ItemWindow.h"

#include "host/TextFit.h"
#include "platform/mapi/Message.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Variant.h"

#include <utility>
#include <vector>

namespace host {

namespace rt = platform::runtime;

namespace {

// A date as the regional settings show it; the zero date is no date.
std::string DateText(const rt::Date& oDate)
{
    return oDate.Serial() == 0 ? "None" : rt::Format(rt::Variant(oDate), "General Date");
}

std::vector<std::pair<std::string, std::string>> Dates(const platform::mapi::Message& oItem)
{
    if (oItem.IsAppointment())
        return {{"Start", DateText(oItem.Start())}, {"End", DateText(oItem.End())}};
    if (oItem.IsTask())
        return {{"Start", DateText(oItem.StartDate())},
                {"Due", DateText(oItem.DueDate())},
                {"Completed", DateText(oItem.DateCompleted())}};
    return {};
}

} // namespace

std::string ItemWindowText(const platform::mapi::Message& oItem, int nWidth)
{
    std::string out =
        FitText("== item window: " + oItem.Subject() + " (" + oItem.MessageClass() + ") ==",
                nWidth) +
        "\n";
    for (const auto& [sName, sDate] : Dates(oItem))
        out += FitText("   " + sName + ": " + sDate, nWidth) + "\n";
    const std::string sCategories = oItem.Categories();
    out += FitText("   Categories: " + (sCategories.empty() ? "None" : sCategories), nWidth) + "\n";
    return out;
}

} // namespace host
