#include "platform/printing/PrintableDocument.h"

#include "platform/printing/Spooler.h"
#include "platform/printing/detail/CustomProperties.h"
#include "platform/printing/detail/PaperSizes.h"
#include "platform/printing/detail/PrintFolder.h"
#include "platform/printing/detail/WorkbookLayout.h"
#include "platform/runtime/CNotation.h"
#include "platform/runtime/Error.h"
#include "platform/win/RunProgram.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
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

std::string Extension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// What the errors say, in the run's language.
struct Words
{
    bool german = false;
    const char* operator()(const char* english, const char* german_) const
    {
        return german ? german_ : english;
    }
};

[[noreturn]] void RaiseNotRendered(const Words& say, const std::string& shownName,
                                   const std::string& why)
{
    rt::Raise(errors::JobNotAccepted, kSource,
              "\"" + shownName + "\"" +
                  say(" could not be made ready for printing: ",
                      " konnte nicht für den Druck vorbereitet werden: ") +
                  why + ".");
}

// Why a program that renders a document did not, as a person reads it.
std::string WhyNotRun(const Words& say, const std::string& program,
                      const platform::win::ProgramRun& run)
{
    using Outcome = platform::win::ProgramRun::Outcome;
    const std::string name = "\"" + program + "\"";
    switch (run.outcome) {
    case Outcome::NotStarted:
        if (run.error == ENOENT)
            return name + say(" is not installed", " ist nicht installiert");
        return name +
               say(" could not be started (system error ", " konnte nicht starten (Systemfehler ") +
               std::to_string(run.error) + ": " + std::strerror(run.error) + ")";
    case Outcome::TimedOut:
        return name + say(" did not finish within ", " wurde nicht fertig binnen ") +
               std::to_string(kRenderWait.count()) + say(" minutes", " Minuten");
    case Outcome::Failed:
        return name + say(" failed with exit status ", " scheiterte mit dem Exit-Status ") +
               std::to_string(run.exitStatus);
    case Outcome::Succeeded:
        break;
    }
    return name;
}

void Run(const Words& say, const std::string& shownName, const std::vector<std::string>& argv,
         const std::filesystem::path& made)
{
    const auto run = platform::win::runProgram(argv, kRenderWait);
    std::error_code ec;
    if (!run.succeeded())
        RaiseNotRendered(say, shownName, WhyNotRun(say, argv.front(), run));
    if (!std::filesystem::is_regular_file(made, ec))
        RaiseNotRendered(say, shownName,
                         say("no ", "es entstand keine ") + made.extension().string() +
                             say(" file was made", "-Datei"));
}

// The office suite takes its locale from its user profile; a profile of its own, made afresh
// for each document, also keeps it apart from one the user has open.
std::filesystem::path OfficeProfile(const detail::PrintFolder& folder, const Words& say,
                                    const std::string& shownName, const std::string& localeName)
{
    const auto profile = folder.Folder("profile");
    const auto user = folder.Folder("profile/user");
    std::string locale;
    for (const char c : localeName)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-')
            locale += c;
    std::ofstream out(user / "registrymodifications.xcu", std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
           "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
           "<item oor:path=\"/org.openoffice.Setup/L10N\"><prop oor:name=\"ooSetupSystemLocale\" "
           "oor:op=\"fuse\"><value>"
        << locale << "</value></prop></item>\n</oor:items>\n";
    if (!out.flush())
        RaiseNotRendered(say, shownName,
                         say("the office suite's settings cannot be written",
                             "die Einstellungen der Office-Suite lassen sich nicht schreiben"));
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

// The page's style sheet for the HTML renderer: the paper and orientation of the layout, and
// each letter one glyph of its own (see FontsWithoutLigatures), over what the page says.
std::string PageStyle(const PageLayout& page)
{
    auto [width, length] = PaperMillimetres(page);
    if (page.orientation == 2)
        std::swap(width, length);
    // The notation of style sheets, whatever the process locale's decimal separator is.
    return "@page { size: " + rt::FixedNotation(width, 1) + "mm " + rt::FixedNotation(length, 1) +
           "mm; }\n* { font-variant-ligatures: none !important; }\n";
}

// The page as the HTML renderer is to read it: the renderer drops declarations such as
// "background: var(--accent)", which a browser draws, so its custom properties are resolved
// in a copy; the report's file stays as the user has it. The page itself when nothing changes.
std::filesystem::path PageForRenderer(const std::filesystem::path& source,
                                      const std::filesystem::path& copy, const Words& say,
                                      const std::string& shownName)
{
    std::ifstream in(source, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof())
        return source; // the renderer reads it itself and says what is wrong
    const std::string page = text.str();
    const std::string resolved = detail::ResolveCustomPropertiesInPage(page);
    if (resolved == page)
        return source;
    std::ofstream out(copy, std::ios::binary);
    out << resolved;
    if (!out.flush())
        RaiseNotRendered(say, shownName,
                         say("no copy can be made", "es lässt sich keine Kopie anlegen"));
    return copy;
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
                                     const std::string& localeName, const std::string& shownName)
    : path_(path)
{
    const Words say{localeName.rfind("de", 0) == 0};
    const std::string name = shownName.empty() ? path : shownName;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        rt::Raise(rt::errors::FileNotFound, kSource,
                  say("File not found: ", "Datei nicht gefunden: ") + name);
    const Renderer renderer = RendererFor(path);
    if (renderer == Renderer::None)
        return;
    // Held by the object from here: a render that fails takes it away with the object.
    folder_ = std::make_unique<detail::PrintFolder>("tallyman-print");
    const std::filesystem::path source = std::filesystem::absolute(path);
    if (renderer == Renderer::OfficeSuite)
        RenderWorkbook(source, page, localeName, name);
    else
        RenderPage(source, page, localeName, name);
}

void PrintableDocument::RenderWorkbook(const std::filesystem::path& source, const PageLayout& page,
                                       const std::string& localeName, const std::string& shownName)
{
    const Words say{localeName.rfind("de", 0) == 0};
    const auto profile = OfficeProfile(*folder_, say, shownName, localeName);
    // The page layout goes into a copy in the open workbook format, the one whose page setup
    // can be written here; the file itself stays as it is.
    const auto layout = folder_->Folder("layout");
    auto copy = layout / source.filename();
    const std::string ext = Extension(source);
    if (ext == ".xlsx" || ext == ".xlsm") {
        std::error_code ec;
        if (!std::filesystem::copy_file(source, copy, ec))
            RaiseNotRendered(say, shownName,
                             say("no copy can be made: ", "es lässt sich keine Kopie anlegen: ") +
                                 ec.message());
    } else {
        copy = layout / (source.stem().string() + ".xlsx");
        Run(say, shownName, OfficeCommand(profile, "xlsx", layout, source), copy);
    }
    try {
        detail::LayOutWorkbook(copy, page);
    } catch (const rt::Error&) {
        // Its words name the copy and are English: the person hears of the report's file.
        RaiseNotRendered(say, shownName,
                         say("its page setup cannot be written",
                             "seine Seiteneinrichtung lässt sich nicht schreiben"));
    }
    const auto pdf = folder_->path() / (source.stem().string() + ".pdf");
    Run(say, shownName, OfficeCommand(profile, "pdf", folder_->path(), copy), pdf);
    path_ = pdf.string();
}

void PrintableDocument::RenderPage(const std::filesystem::path& source, const PageLayout& page,
                                   const std::string& localeName, const std::string& shownName)
{
    const Words say{localeName.rfind("de", 0) == 0};
    // The renderer has no scale of its own: a page is laid out at its natural size.
    const auto sheet = folder_->path() / "page.css";
    std::ofstream(sheet, std::ios::binary) << PageStyle(page);
    const auto readable =
        PageForRenderer(source, folder_->path() / source.filename(), say, shownName);
    const auto pdf = folder_->path() / (source.stem().string() + ".pdf");
    // Relative addresses (pictures, linked sheets) still lead from the report's own folder.
    Run(say, shownName,
        {"weasyprint", "--quiet", "--base-url", source.string(), "--stylesheet", sheet.string(),
         readable.string(), pdf.string()},
        pdf);
    path_ = pdf.string();
}

PrintableDocument::~PrintableDocument() = default;

} // namespace platform::printing
