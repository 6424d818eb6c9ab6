#include "platform/excel/PageSetup.h"

#include "platform/runtime/Utf8.h"

#include "platform/excel/detail/HeaderFooter.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Sheet.h"

namespace platform::excel {
namespace {

std::string& Section(detail::HeaderFooterParts& parts, int section)
{
    return section == 0 ? parts.left : section == 1 ? parts.center : parts.right;
}

} // namespace

PageSetup::PageSetup(std::shared_ptr<detail::Sheet> sheet) : sheet_(std::move(sheet)) {}

std::string PageSetup::LeftHeader() const
{
    return sheet_->header.left;
}
std::string PageSetup::CenterHeader() const
{
    return sheet_->header.center;
}
std::string PageSetup::RightHeader() const
{
    return sheet_->header.right;
}
std::string PageSetup::LeftFooter() const
{
    return sheet_->footer.left;
}
std::string PageSetup::CenterFooter() const
{
    return sheet_->footer.center;
}
std::string PageSetup::RightFooter() const
{
    return sheet_->footer.right;
}

void PageSetup::SetLeftHeader(const std::string& text)
{
    Set(true, 0, text);
}
void PageSetup::SetCenterHeader(const std::string& text)
{
    Set(true, 1, text);
}
void PageSetup::SetRightHeader(const std::string& text)
{
    Set(true, 2, text);
}
void PageSetup::SetLeftFooter(const std::string& text)
{
    Set(false, 0, text);
}
void PageSetup::SetCenterFooter(const std::string& text)
{
    Set(false, 1, text);
}
void PageSetup::SetRightFooter(const std::string& text)
{
    Set(false, 2, text);
}

void PageSetup::Set(bool header, int section, const std::string& text)
{
    detail::HeaderFooterParts parts = header ? sheet_->header : sheet_->footer;
    Section(parts, section) = text;
    platform::runtime::MakeValidUtf8(Section(parts, section));
    std::size_t length = 0;
    for (char c : detail::ComposeHeaderFooter(parts)) {
        length += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    if (length > detail::kMaxHeaderFooterLength) {
        detail::Raise(detail::kMethodFailed,
                      header ? detail::Say("the page header would be longer than 255 characters",
                                           "Die Kopfzeile wäre länger als 255 Zeichen")
                             : detail::Say("the page footer would be longer than 255 characters",
                                           "Die Fußzeile wäre länger als 255 Zeichen"));
    }
    (header ? sheet_->header : sheet_->footer) = std::move(parts);
}

} // namespace platform::excel
