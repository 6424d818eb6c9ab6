#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::excel {

namespace detail {
class Sheet;
}

/// A worksheet's page header and footer, each in three sections. The texts carry the
/// spreadsheet's own codes (&D date, &T time, &P page, &N pages, &F file, &A sheet, &&
/// ampersand), which are stored as they are.
class PageSetup : public platform::runtime::Object
{
public:
    /// Made by the worksheet.
    explicit PageSetup(std::shared_ptr<detail::Sheet> sheet);

    std::string TypeName() const override { return "PageSetup"; }

    std::string LeftHeader() const;
    std::string CenterHeader() const;
    std::string RightHeader() const;
    std::string LeftFooter() const;
    std::string CenterFooter() const;
    std::string RightFooter() const;

    /// Each setter raises 1004 when the whole header or footer would exceed 255 characters;
    /// the value then stays as it was.
    void SetLeftHeader(const std::string& text);
    void SetCenterHeader(const std::string& text);
    void SetRightHeader(const std::string& text);
    void SetLeftFooter(const std::string& text);
    void SetCenterFooter(const std::string& text);
    void SetRightFooter(const std::string& text);

private:
    void Set(bool header, int section, const std::string& text);
    std::shared_ptr<detail::Sheet> sheet_;
};

} // namespace platform::excel
