#include "platform/printing/PrintableDocument.h"

#include "platform/printing/Spooler.h"
#include "platform/printing/detail/PaperSizes.h"
#include "platform/printing/detail/WorkbookLayout.h"
#include "platform/runtime/Error.h"
#include "platform/win/RunProgram.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

namespace platform::printing {

namespace {

namespace rt = platform::runtime;

constexpr const char* kSource = "PrintableDocument";
// The office suite needs a while to start, more so on a busy machine.
constexpr std::chrono::minutes kRenderWait{3};

enum class Renderer
{
    None,
    OfficeSuite,
    HtmlRenderer
};

std::string Extension(const std::filesystem::path& path);

Renderer RendererFor(const std::filesystem::path& path)
{
    const std::string ext = Extension(path);
    for (const char* workbook : {".xls", ".xlsx", ".xlsm", ".ods"})
        if (ext == workbook)
            return Renderer::OfficeSuite;
    if (ext == ".html" || ext == ".htm")
        return Renderer::HtmlRenderer;
    return Renderer::None;
}

std::filesystem::path NewFolder()
{
    std::random_device rd;
    for (int attempt = 0; attempt < 16; ++attempt) {
        auto folder = std::filesystem::temp_directory_path() /
                      ("tallyman-print-" + std::to_string(rd()) + std::to_string(rd()));
        if (std::filesystem::create_directory(folder))
            return folder;
    }
    throw std::system_error(std::make_error_code(std::errc::file_exists),
                            "No temporary folder for printing");
}

std::string Extension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

[[noreturn]] void RaiseNotRendered(const std::filesystem::path& path, const std::string& why)
{
    rt::Raise(errors::JobNotAccepted, kSource,
              "\"" + path.string() + "\" could not be made ready for printing: " + why);
}

void Run(const std::vector<std::string>& argv, const std::filesystem::path& source,
         const std::filesystem::path& made)
{
    const auto run = platform::win::runProgram(argv, kRenderWait);
    std::error_code ec;
    if (!run.succeeded)
        RaiseNotRendered(source, run.detail);
    if (!std::filesystem::is_regular_file(made, ec))
        RaiseNotRendered(source, "no " + made.extension().string().substr(1) + " was made");
}

// The office suite takes its locale from its user profile; a profile of its own, made afresh
// for each document, also keeps it apart from one the user has open.
std::filesystem::path OfficeProfile(const std::filesystem::path& folder,
                                    const std::string& localeName)
{
    const auto profile = folder / "profile";
    std::filesystem::create_directories(profile / "user");
    std::string locale;
    for (const char c : localeName)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-')
            locale += c;
    std::ofstream out(profile / "user" / "registrymodifications.xcu", std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
           "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
           "<item oor:path=\"/org.openoffice.Setup/L10N\"><prop oor:name=\"ooSetupSystemLocale\" "
           "oor:op=\"fuse\"><value>"
        << locale << "</value></prop></item>\n</oor:items>\n";
    if (!out.flush())
        rt::Raise(rt::errors::PathFileAccess, kSource,
                  "No profile for the office suite in " + profile.string());
    return profile;
}

std::vector<std::string> OfficeCommand(const std::filesystem::path& profile, const char* format,
                                       const std::filesystem::path& outdir,
                                       const std::filesystem::path& source)
{
    return {"soffice",      "-env:UserInstallation=file://" + profile.string(),
            "--headless",   "--norestore",
            "--convert-to", format,
            "--outdir",     outdir.string(),
            source.string()};
}

// The paper of a layout in millimetres, portrait; A4 when its size is unknown.
std::pair<double, double> PaperMillimetres(const PageLayout& page)
{
    if (page.paperWidth > 0 && page.paperLength > 0)
        return {page.paperWidth / 10.0, page.paperLength / 10.0};
    const auto size =
        detail::PaperDimensionsForCode(page.paperSize).value_or(std::pair{21000, 29700});
    return {size.first / 100.0, size.second / 100.0};
}

} // namespace

PageLayout PageLayout::Of(const DeviceMode& deviceMode)
{
    return {deviceMode.paperSize, deviceMode.paperWidth, deviceMode.paperLength,
            deviceMode.orientation, deviceMode.scale};
}

PrintableDocument::PrintableDocument(const std::string& path)
    : PrintableDocument(path, PageLayout{}, "en-US")
{
}

PrintableDocument::PrintableDocument(const std::string& path, const PageLayout& page,
                                     const std::string& localeName)
    : path_(path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        rt::Raise(rt::errors::FileNotFound, kSource, "File not found: " + path);
    const Renderer renderer = RendererFor(path);
    if (renderer == Renderer::None)
        return;
    folder_ = NewFolder();
    const std::filesystem::path source = std::filesystem::absolute(path);
    if (renderer == Renderer::OfficeSuite)
        RenderWorkbook(source, page, localeName);
    else
        RenderPage(source, page);
}

void PrintableDocument::RenderWorkbook(const std::filesystem::path& source, const PageLayout& page,
                                       const std::string& localeName)
{
    const auto profile = OfficeProfile(folder_, localeName);
    // The page layout goes into a copy in the open workbook format, the one whose page setup
    // can be written here; the file itself stays as it is.
    const auto layout = folder_ / "layout";
    std::filesystem::create_directories(layout);
    auto copy = layout / source.filename();
    const std::string ext = Extension(source);
    if (ext == ".xlsx" || ext == ".xlsm") {
        std::filesystem::copy_file(source, copy);
    } else {
        copy = layout / (source.stem().string() + ".xlsx");
        Run(OfficeCommand(profile, "xlsx", layout, source), source, copy);
    }
    detail::LayOutWorkbook(copy, page);
    const auto pdf = folder_ / (source.stem().string() + ".pdf");
    Run(OfficeCommand(profile, "pdf", folder_, copy), source, pdf);
    path_ = pdf.string();
}

void PrintableDocument::RenderPage(const std::filesystem::path& source, const PageLayout& page)
{
    auto [width, length] = PaperMillimetres(page);
    if (page.orientation == 2)
        std::swap(width, length);
    // The renderer has no scale of its own: a page is laid out at its natural size.
    char css[100];
    std::snprintf(css, sizeof css, "@page { size: %.1fmm %.1fmm; }\n", width, length);
    const auto sheet = folder_ / "page.css";
    std::ofstream(sheet, std::ios::binary) << css;
    const auto pdf = folder_ / (source.stem().string() + ".pdf");
    Run({"weasyprint", "--quiet", "--stylesheet", sheet.string(), source.string(), pdf.string()},
        source, pdf);
    path_ = pdf.string();
}

PrintableDocument::~PrintableDocument()
{
    if (folder_.empty())
        return;
    std::error_code ec; // a leftover temporary folder is no reason to fail
    std::filesystem::remove_all(folder_, ec);
}

} // namespace platform::printing
