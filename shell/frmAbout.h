#pragma once

#include "common/IControlResource.h"
#include "platform/forms/Form.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::forms {
class CommandButton;
class Image;
class Label;
class PictureBox;
class Timer;
} // namespace platform::forms

namespace shell {

/// The about box: product name, short and full version, a legal notice, the maker's company
/// line and web address and a logo on a soft gradient. The logo, the company line and the
/// address open the product page. With a display time it hides its OK button, refuses every
/// way of closing and closes itself when the time is up.
class frmAbout : public platform::forms::Form, public common::IControlResource
{
public:
    frmAbout();
    ~frmAbout() override;
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    /// Loads the dialog, fills in the texts and shows it modally; returns when it is closed.
    /// Duration > 0: milliseconds until it closes itself. A failure is shown in a message box
    /// and the dialog is unloaded; nothing is raised.
    void ShowDialog(const std::string& Version, const std::string& ProductName,
                    const std::string& ProductVersion, std::int32_t Duration = 0);
    /// Always the empty text.
    std::string GetTagResource(const std::string& Tag) const;

    // IControlResource
    std::string Caption() const override { return Form::Caption(); }
    void SetCaption(const std::string& sCaption) override { Form::SetCaption(sCaption); }
    const std::vector<std::shared_ptr<platform::forms::Control>>& Controls() const override
    {
        return Form::Controls();
    }
    /// The dialog's text for a numeric tag in the current language; empty for any other tag.
    std::string GetResource(const std::string& Tag) override;
    std::string Tag() const override { return Form::Tag(); }

    /// The product page address taken when the dialog was shown.
    const std::string& ProductUrl() const { return m_sProductUrl; }
    /// True while the dialog waits for its auto-close timer.
    bool AutoClose() const { return m_bAutoClose; }

    platform::forms::Label& lblProductName() const { return *m_lblProductName; }
    platform::forms::Label& lblProductVersion() const { return *m_lblProductVersion; }
    platform::forms::Label& lblBuild() const { return *m_lblBuild; }
    platform::forms::Label& lblWarning() const { return *m_lblWarning; }
    platform::forms::Label& lblCompany() const { return *m_lblCompany; }
    platform::forms::Label& lblCompanyProduct() const { return *m_lblCompanyProduct; }
    platform::forms::Label& lblInternet() const { return *m_lblInternet; }
    platform::forms::Image& img() const { return *m_img; }
    platform::forms::PictureBox& pic() const { return *m_pic; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::Timer& Timer() const { return *m_Timer; }

protected:
    void Form_Load() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

private:
    void Layout();
    void PaintBackground();
    void cmdOK_Click();
    void Timer_Timer();
    void OpenProductPage();

    bool m_bAutoClose = false;
    std::string m_sProductUrl;
    std::shared_ptr<platform::forms::Label> m_lblProductName;
    std::shared_ptr<platform::forms::Label> m_lblProductVersion;
    std::shared_ptr<platform::forms::Label> m_lblBuild;
    std::shared_ptr<platform::forms::Label> m_lblWarning;
    std::shared_ptr<platform::forms::Label> m_lblCompany;
    std::shared_ptr<platform::forms::Label> m_lblCompanyProduct;
    std::shared_ptr<platform::forms::Label> m_lblInternet;
    std::shared_ptr<platform::forms::Image> m_img;
    std::shared_ptr<platform::forms::PictureBox> m_pic;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::Timer> m_Timer;
};

} // namespace shell
