#include "common/FormPersitent.h"

#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/win/Desktop.h"
#include "platform/win/Registry.h"
#include "platform/win/RegistryValue.h"

#include <cmath>

namespace common {
namespace {

namespace rt = platform::runtime;
namespace win = platform::win;
namespace forms = platform::forms;

const std::string kSeparator(1, '\0');

win::Hive HiveOf(std::int64_t HKey)
{
    return static_cast<win::Hive>(static_cast<std::uint32_t>(HKey));
}

// The text's UTF-16LE bytes, as the registry stand-in turns text into binary data.
std::vector<std::uint8_t> Utf16Le(const std::string& sText)
{
    return win::RegistryValue::text(sText).asBytes();
}

std::string Number(double d)
{
    return rt::CStr(rt::Variant(static_cast<float>(d)));
}

// The stored element as a number in the user's format, if it is one.
std::optional<float> ToNumber(const std::vector<std::string>& vParts, std::size_t nIndex)
{
    if (nIndex >= vParts.size() || !rt::IsNumeric(rt::Variant(vParts[nIndex])))
        return std::nullopt;
    return static_cast<float>(rt::CDbl(rt::Variant(vParts[nIndex])));
}

} // namespace

void FormPersitent::WriteText(std::int64_t HKey, const std::string& Section,
                              const std::string& sName, const std::string& sText)
{
    win::Registry().write(HiveOf(HKey), Section, sName, win::RegistryValue::binary(Utf16Le(sText)));
}

std::string FormPersitent::ReadText(std::int64_t HKey, const std::string& Section,
                                    const std::string& sName)
{
    const auto oValue = win::Registry().read(HiveOf(HKey), Section, sName);
    return oValue ? oValue->asText() : std::string{};
}

void FormPersitent::SaveFormular(const forms::Form& F, const ObjectSize& OldSize, std::int64_t HKey,
                                 const std::string& Section)
{
    rt::ResumeNext oResume;
    oResume([&] {
        const bool bNormal = F.GetWindowState() == forms::WindowState::Normal;
        const double dLeft = bNormal ? F.Left() : OldSize.Left();
        const double dTop = bNormal ? F.Top() : OldSize.Top();
        const double dWidth = bNormal ? F.Width() : OldSize.Width();
        const double dHeight = bNormal ? F.Height() : OldSize.Height();
        const std::string sText = std::to_string(static_cast<int>(F.GetWindowState())) +
                                  kSeparator + Number(dLeft) + kSeparator + Number(dTop) +
                                  kSeparator + Number(dWidth) + kSeparator + Number(dHeight);
        WriteText(HKey, Section, F.Name(), sText);
    });
}

void FormPersitent::LoadFormular(forms::Form& F, ObjectSize& OldSize, std::int64_t HKey,
                                 const std::string& Section)
{
    rt::ResumeNext oResume;
    oResume([&] {
        OldSize.SetHeight(static_cast<float>(F.Height()));
        OldSize.SetLeft(static_cast<float>(F.Left()));
        OldSize.SetTop(static_cast<float>(F.Top()));
        OldSize.SetWidth(static_cast<float>(F.Width()));
        const std::string sText = ReadText(HKey, Section, F.Name());
        if (sText.empty())
            return;
        const auto vParts = rt::Split(sText, kSeparator);
        if (auto f = ToNumber(vParts, 1))
            OldSize.SetLeft(*f);
        if (auto f = ToNumber(vParts, 2))
            OldSize.SetTop(*f);
        if (auto f = ToNumber(vParts, 3))
            OldSize.SetWidth(*f);
        if (auto f = ToNumber(vParts, 4))
            OldSize.SetHeight(*f);
        const auto& oDesktop = win::Desktop::current();
        const float fScreenWidth =
            static_cast<float>(oDesktop.screenWidth() * win::Desktop::kTwipsPerPixel);
        const float fScreenHeight =
            static_cast<float>(oDesktop.screenHeight() * win::Desktop::kTwipsPerPixel);
        if (OldSize.Left() < 0)
            OldSize.SetLeft(0);
        if (fScreenWidth < OldSize.Left() + OldSize.Width())
            OldSize.SetLeft(fScreenWidth - OldSize.Width());
        if (OldSize.Top() < 0)
            OldSize.SetTop(0);
        if (fScreenHeight < OldSize.Top() + OldSize.Height())
            OldSize.SetTop(fScreenHeight - OldSize.Height());
        const auto oState = ToNumber(vParts, 0);
        if (!oState)
            return;
        int nState = static_cast<int>(*oState);
        if (nState < 0 || nState > 2)
            return;
        if (nState == static_cast<int>(forms::WindowState::Minimized))
            nState = static_cast<int>(forms::WindowState::Normal);
        // The normal place first, also for a maximised window: it is where the window returns
        // when the person restores it.
        F.SetLeft(static_cast<int>(OldSize.Left()));
        F.SetTop(static_cast<int>(OldSize.Top()));
        F.SetWidth(static_cast<int>(OldSize.Width()));
        F.SetHeight(static_cast<int>(OldSize.Height()));
        F.SetWindowState(static_cast<forms::WindowState>(nState));
    });
}

std::string FormPersitent::LoadViewSettings(std::int64_t HKey, const std::string& Section)
{
    std::string sName;
    rt::ResumeNext oResume;
    oResume([&] { sName = ReadText(HKey, Section, "LastTemplate"); });
    return sName;
}

void FormPersitent::SaveLastTemplate(const std::string& sName, std::int64_t HKey,
                                     const std::string& Section)
{
    rt::ResumeNext oResume;
    oResume([&] { WriteText(HKey, Section, "LastTemplate", sName); });
}

void FormPersitent::SaveGrid(const forms::FlexGrid& fg, std::int64_t HKey,
                             const std::string& Section)
{
    rt::ResumeNext oResume;
    oResume([&] {
        if (fg.Name().empty())
            rt::Raise(rt::errors::InvalidProcedureCall, {}, "The grid has no name to store under");
        std::string sText;
        for (int i = 0; i < fg.Cols(); ++i)
            sText += (i == 0 ? "" : kSeparator) + std::to_string(fg.ColWidth(i));
        WriteText(HKey, Section, fg.Name(), sText);
    });
}

void FormPersitent::LoadGrid(forms::FlexGrid& fg, std::int64_t HKey, const std::string& Section)
{
    rt::ResumeNext oResume;
    oResume([&] {
        if (fg.Name().empty())
            return;
        const std::string sText = ReadText(HKey, Section, fg.Name());
        if (sText.empty())
            return;
        const auto vParts = rt::Split(sText, kSeparator);
        // A list stored for another column layout would give the widths to the wrong columns.
        if (static_cast<int>(vParts.size()) != fg.Cols())
            return;
        for (int i = 0; i < fg.Cols(); ++i)
            if (const auto f = ToNumber(vParts, static_cast<std::size_t>(i)))
                oResume([&] { fg.SetColWidth(i, static_cast<int>(std::lround(*f))); });
    });
}

} // namespace common
