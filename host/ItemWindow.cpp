#include "host/ItemWindow.h"

#include "host/TextFit.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Variant.h"

#include <sstream>
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

// A mail's recipients, attachments and plain body, as its window shows them.
std::string MailText(const platform::mapi::Message& oMail, int nWidth)
{
    std::string out;
    const auto line = [&](const std::string& s) { out += WrapText(s, nWidth); };
    const platform::mapi::Recipients oRecipients(oMail.Data());
    std::string sTo;
    for (long i = 1; i <= oRecipients.Count(); ++i) {
        const auto oRecipient = oRecipients.Item(i);
        sTo += (sTo.empty() ? "" : "; ") +
               (oRecipient->Address().empty() ? oRecipient->Name() : oRecipient->Address());
    }
    line("   To: " + sTo);
    const platform::mapi::Attachments oAttachments(oMail.Data());
    for (long i = 1; i <= oAttachments.Count(); ++i)
        line("   Attachment: " + oAttachments.DisplayName(i) + " (" +
             std::to_string(oAttachments.Size(i)) + " bytes)");
    std::istringstream body(oMail.Body());
    for (std::string sLine; std::getline(body, sLine);) {
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        line("   | " + sLine);
    }
    return out;
}

} // namespace

std::string ItemWindowText(const platform::mapi::Message& oItem, int nWidth)
{
    std::string out =
        WrapText("== item window: " + oItem.Subject() + " (" + oItem.MessageClass() + ") ==",
                 nWidth);
    for (const auto& [sName, sDate] : Dates(oItem))
        out += WrapText("   " + sName + ": " + sDate, nWidth);
    const std::string sCategories = oItem.Categories();
    out += WrapText("   Categories: " + (sCategories.empty() ? "None" : sCategories), nWidth);
    if (oItem.IsMail())
        out += MailText(oItem, nWidth);
    return out;
}

} // namespace host
