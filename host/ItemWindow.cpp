#include "host/ItemWindow.h"
#include "host/AnswerSource.h"

#include "host/TextFit.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Variant.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/LocalTime.h"

#include <sstream>
#include <stdexcept>
#include <utility>

namespace host {

namespace rt = platform::runtime;

namespace {

struct Word
{
    const char* english;
    const char* german;
};

constexpr Word kWords[] = {
    {"item window", "Elementfenster"},
    {"Start", "Beginn"},
    {"End", "Ende"},
    {"Due", "Fällig"},
    {"Completed", "Erledigt am"},
    {"Categories", "Kategorien"},
    {"None", "Keine"},
    {"To", "An"},
    {"Subject", "Betreff"},
    {"Attachment", "Anlage"},
    {"Attachments", "Anlagen"},
    {"bytes", "Bytes"},
    {"Message", "Nachricht"},
    {"&Send", "&Senden"},
    {"Untitled", "Unbenannt"},
    {"Close", "Schließen"},
    {"Sent", "Gesendet"},
    {"The mail was sent.", "Die Nachricht wurde gesendet."},
    {"The mail cannot be sent", "Die Nachricht kann nicht gesendet werden"},
    {"Do you want to save the changes?", "Möchten Sie die Änderungen speichern?"},
    {"The mail cannot be saved", "Die Nachricht kann nicht gespeichert werden"},
    {"Date", "Datum"},
};

bool German()
{
    return platform::locale::CurrentName().rfind("de", 0) == 0;
}

// A date as the regional settings show it; the zero date is no date.
std::string DateText(const rt::Date& oDate)
{
    return oDate.Serial() == 0 ? ItemWindowWord("None")
                               : rt::Format(rt::Variant(oDate), "General Date");
}

std::vector<ItemField> Dates(const platform::mapi::Message& oItem)
{
    const auto field = [](const char* sLabel, const rt::Date& oDate) {
        return ItemField{ItemWindowWord(sLabel), DateText(oDate)};
    };
    if (oItem.IsAppointment())
        return {field("Start", oItem.Start()), field("End", oItem.End())};
    if (oItem.IsTask())
        return {field("Start", oItem.StartDate()), field("Due", oItem.DueDate()),
                field("Completed", oItem.DateCompleted())};
    return {};
}

std::string RecipientsText(const platform::mapi::Message& oMail)
{
    const platform::mapi::Recipients oRecipients(oMail.Data());
    std::string sTo;
    for (long i = 1; i <= oRecipients.Count(); ++i) {
        const auto oRecipient = oRecipients.Item(i);
        sTo += (sTo.empty() ? "" : "; ") +
               (oRecipient->Address().empty() ? oRecipient->Name() : oRecipient->Address());
    }
    return sTo;
}

// The names or addresses of a recipient line, without the blanks around them.
std::vector<std::string> SplitRecipients(const std::string& sTo)
{
    std::vector<std::string> vNames;
    std::string sName;
    const auto take = [&] {
        const auto nFirst = sName.find_first_not_of(" \t");
        if (nFirst != std::string::npos)
            vNames.push_back(sName.substr(nFirst, sName.find_last_not_of(" \t") - nFirst + 1));
        sName.clear();
    };
    for (const char c : sTo) {
        if (c == ';' || c == ',')
            take();
        else
            sName += c;
    }
    take();
    return vNames;
}

} // namespace

std::string ItemWindowWord(const std::string& sEnglish)
{
    if (German())
        for (const Word& oWord : kWords)
            if (sEnglish == oWord.english)
                return oWord.german;
    return sEnglish;
}

ItemWindowContent ItemWindowContentOf(const platform::mapi::Message& oItem)
{
    ItemWindowContent oContent;
    oContent.sSubject = oItem.Subject();
    oContent.sMessageClass = oItem.MessageClass();
    oContent.vFields = Dates(oItem);
    const std::string sCategories = oItem.Categories();
    oContent.vFields.push_back(
        {ItemWindowWord("Categories"), sCategories.empty() ? ItemWindowWord("None") : sCategories});
    oContent.bMail = oItem.IsMail();
    if (!oContent.bMail)
        return oContent;
    oContent.bSendable = !oItem.Sent();
    oContent.bUnsaved = oItem.EntryID().empty(); // a new item has no id until it is written
    oContent.sTo = RecipientsText(oItem);
    const platform::mapi::Attachments oAttachments(oItem.Data());
    for (long i = 1; i <= oAttachments.Count(); ++i)
        oContent.vAttachments.push_back(oAttachments.DisplayName(i) + " (" +
                                        std::to_string(oAttachments.Size(i)) + " " +
                                        ItemWindowWord("bytes") + ")");
    oContent.sBody = oItem.Body();
    return oContent;
}

namespace {

// A mail's send time, else the time it was last changed, in local time; the zero date if none.
rt::Date MailDate(const platform::mapi::Message& oMail)
{
    namespace store = platform::store;
    for (const std::int32_t tag :
         {platform::mapi::PR_CLIENT_SUBMIT_TIME,
          static_cast<std::int32_t>(store::props::PR_LAST_MODIFICATION_TIME)}) {
        const rt::Variant utc = oMail.Fields(tag);
        if (const auto* pDate = utc.Get<rt::Date>()) {
            const auto local =
                store::UtcToLocal(store::SysTime{store::FromDaySerial(pDate->Serial()).seconds});
            return rt::Date(store::ToDaySerial(local));
        }
    }
    return rt::Date();
}

} // namespace

gui::ItemRow ItemRowOf(const platform::mapi::Message& oItem)
{
    gui::ItemRow oRow{oItem.Subject(), "", ""};
    rt::Date oDate;
    if (oItem.IsAppointment())
        oDate = oItem.Start();
    else if (oItem.IsTask())
        oDate = oItem.DueDate();
    else if (oItem.IsMail())
        oDate = MailDate(oItem);
    // The client's "no date" (a task without a due date) shows as none.
    if (oDate.Serial() != 0 && oDate.Serial() < rt::DateSerial(4501, 1, 1).Serial())
        oRow.sDate = rt::Format(rt::Variant(oDate), "General Date");
    if (oItem.IsMail())
        oRow.sTo = RecipientsText(oItem);
    return oRow;
}

std::string ItemWindowText(const platform::mapi::Message& oItem, int nWidth)
{
    const ItemWindowContent oContent = ItemWindowContentOf(oItem);
    std::string out;
    const auto line = [&](const std::string& s) { out += WrapText(s, nWidth); };
    line("== " + ItemWindowWord("item window") + ": " + oContent.sSubject + " (" +
         oContent.sMessageClass + ") ==");
    for (const auto& oField : oContent.vFields)
        line("   " + oField.sLabel + ": " + oField.sValue);
    if (!oContent.bMail)
        return out;
    line("   " + ItemWindowWord("To") + ": " + oContent.sTo);
    for (const auto& sAttachment : oContent.vAttachments)
        line("   " + ItemWindowWord("Attachment") + ": " + sAttachment);
    std::istringstream body(oContent.sBody);
    for (std::string sLine; std::getline(body, sLine);) {
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        line("   | " + sLine);
    }
    return out;
}

namespace {

// The person's edits into the mail; the parts they left alone stay as they are.
// Refuses edits that hold a control character or bytes that are not UTF-8 (pasted, say): no
// line of a mail holds them, and a header would carry them to every reader. The body's lines
// may end with CR LF and hold tabs.
void RefuseUntakableEdits(const MailEdits& oEdits)
{
    std::vector<std::string> vTexts = {oEdits.sTo, oEdits.sSubject};
    std::istringstream oBody(oEdits.sBody);
    for (std::string sLine; std::getline(oBody, sLine);) {
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        vTexts.push_back(std::move(sLine));
    }
    for (const auto& sText : vTexts)
        if (const auto oRefusal = TextRefusal(sText))
            throw std::runtime_error(*oRefusal);
}

void ApplyEdits(platform::mapi::Message& oMail, const MailEdits& oEdits)
{
    RefuseUntakableEdits(oEdits);
    const auto oRecipients = oMail.GetRecipients();
    const std::vector<std::string> vNames = SplitRecipients(oEdits.sTo);
    // The recipients the mail had stay as they are when the person left the line alone.
    if (vNames != SplitRecipients(RecipientsText(oMail))) {
        while (oRecipients->Count() > 0)
            oRecipients->Remove(oRecipients->Count());
        for (const auto& sName : vNames)
            oRecipients->Add(sName);
    }
    if (oEdits.sSubject != oMail.Subject())
        oMail.SetSubject(oEdits.sSubject);
    if (oEdits.sBody != oMail.Body())
        oMail.SetBody(oEdits.sBody);
}

} // namespace

void SendFromItemWindow(platform::mapi::Message& oMail, const MailEdits& oEdits)
{
    ApplyEdits(oMail, oEdits);
    oMail.GetRecipients()->ResolveAll();
    oMail.Send();
}

void SaveFromItemWindow(platform::mapi::Message& oMail, const MailEdits& oEdits)
{
    ApplyEdits(oMail, oEdits);
    oMail.Save();
}

} // namespace host
