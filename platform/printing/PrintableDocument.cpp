#include "platform/printing/PrintableDocument.h"

#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"
#include "platform/win/RunProgram.h"

#include <algorithm>
#include <array>
#include <cctype>
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

Renderer RendererFor(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
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

std::vector<std::string> RenderCommand(Renderer renderer, const std::filesystem::path& source,
                                       const std::filesystem::path& folder,
                                       const std::filesystem::path& pdf)
{
    if (renderer == Renderer::HtmlRenderer)
        return {"weasyprint", "--quiet", source.string(), pdf.string()};
    // A profile of its own keeps the suite apart from one the user has open.
    return {"soffice",      "-env:UserInstallation=file://" + (folder / "profile").string(),
            "--headless",   "--norestore",
            "--convert-to", "pdf",
            "--outdir",     folder.string(),
            source.string()};
}

} // namespace

PrintableDocument::PrintableDocument(const std::string& path) : path_(path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        rt::Raise(rt::errors::FileNotFound, kSource, "File not found: " + path);
    const Renderer renderer = RendererFor(path);
    if (renderer == Renderer::None)
        return;
    folder_ = NewFolder();
    const std::filesystem::path source = std::filesystem::absolute(path);
    const auto pdf = folder_ / (source.stem().string() + ".pdf");
    const auto run =
        platform::win::runProgram(RenderCommand(renderer, source, folder_, pdf), kRenderWait);
    if (!run.succeeded || !std::filesystem::is_regular_file(pdf, ec))
        rt::Raise(errors::JobNotAccepted, kSource,
                  "\"" + path + "\" could not be made ready for printing: " +
                      (run.succeeded ? std::string("no PDF was made") : run.detail));
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
