#include "host/AddInLibrary.h"

#include "common/ILanguage.h"
#include "host/HostTexts.h"
#include "platform/outlook/AddIn.h"

#include <dlfcn.h>
#include <filesystem>
#include <stdexcept>

namespace host {

namespace fs = std::filesystem;

AddInLibrary::AddInLibrary(const std::vector<std::string>& vCandidates)
{
    std::string sTried;
    for (const auto& sPath : vCandidates) {
        std::error_code ec;
        if (sPath.empty() || !fs::exists(sPath, ec)) {
            sTried += "\n  " + sPath + ": no such file";
            continue;
        }
        m_pHandle = dlopen(sPath.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (m_pHandle) {
            m_sPath = sPath;
            return;
        }
        const char* pError = dlerror();
        sTried += "\n  " + sPath + ": " + (pError ? pError : "cannot be loaded");
    }
    throw std::runtime_error(Say(HostText::AddInNotLoaded, {sTried}));
}

AddInLibrary::~AddInLibrary()
{
    if (m_pHandle)
        dlclose(m_pHandle);
}

void* AddInLibrary::Symbol(const char* pName) const
{
    void* pSymbol = dlsym(m_pHandle, pName);
    if (!pSymbol)
        throw std::runtime_error(m_sPath + " does not export " + pName);
    return pSymbol;
}

std::unique_ptr<platform::outlook::IAddIn> AddInLibrary::CreateAddIn() const
{
    using Factory = platform::outlook::IAddIn* (*)();
    auto pFactory = reinterpret_cast<Factory>(Symbol(platform::outlook::kAddInFactory));
    std::unique_ptr<platform::outlook::IAddIn> oAddIn(pFactory());
    if (!oAddIn)
        throw std::runtime_error(m_sPath + " made no add-in");
    return oAddIn;
}

common::ILanguage* AddInLibrary::Language() const
{
    using LanguageOf = common::ILanguage* (*)();
    return reinterpret_cast<LanguageOf>(Symbol("TallymanAddInLanguage"))();
}

platform::forms::Form* AddInLibrary::ReportWindow() const
{
    using WindowOf = platform::forms::Form* (*)();
    return reinterpret_cast<WindowOf>(Symbol("TallymanReportWindow"))();
}

platform::forms::FlexGrid* AddInLibrary::ReportGrid() const
{
    using GridOf = platform::forms::FlexGrid* (*)();
    return reinterpret_cast<GridOf>(Symbol("TallymanReportGrid"))();
}

bool AddInLibrary::FillGrid(platform::forms::FlexGrid& oGrid) const
{
    using FillOf = bool (*)(platform::forms::FlexGrid*);
    return reinterpret_cast<FillOf>(Symbol("TallymanFillGrid"))(&oGrid);
}

bool AddInLibrary::SaveReport() const
{
    using SaveOf = bool (*)();
    return reinterpret_cast<SaveOf>(Symbol("TallymanSaveReport"))();
}

std::pair<long, long> AddInLibrary::ReportProgress() const
{
    using ProgressOf = void (*)(long*, long*);
    long lValue = 0;
    long lMax = 0;
    reinterpret_cast<ProgressOf>(Symbol("TallymanReportProgress"))(&lValue, &lMax);
    return {lValue, lMax};
}

std::string AddInLibrary::ReportExported() const
{
    using ExportedOf = const char* (*)();
    return reinterpret_cast<ExportedOf>(Symbol("TallymanReportExported"))();
}

long AddInLibrary::ReportFolderCount() const
{
    using CountOf = long (*)();
    return reinterpret_cast<CountOf>(Symbol("TallymanReportFolderCount"))();
}

std::vector<std::string> AddInCandidates(const std::string& sBuiltPath)
{
    std::vector<std::string> v{sBuiltPath};
    std::error_code ec;
    const fs::path oSelf = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::string sName = fs::path(sBuiltPath).filename().string();
        v.push_back((oSelf.parent_path() / sName).string());
        v.push_back((oSelf.parent_path().parent_path() / sName).string());
    }
    return v;
}

} // namespace host
