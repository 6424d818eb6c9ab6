#include "platform/store/SampleReports.h"

#include "platform/runtime/ReplacingFile.h"
#include "platform/store/Store.h"
#include "platform/store/StoreError.h"

#include <cstdio>
#include <stdexcept>

namespace platform::store {

namespace {

std::string DateText(int year, int month, int day, const char* time)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %s", year, month, day, time);
    return buffer;
}

// Year and month n months after the anchor's month.
std::pair<int, int> MonthAfter(const CivilDate& anchor, int n)
{
    const int index = anchor.year * 12 + (anchor.month - 1) + n;
    return {index / 12, index % 12 + 1};
}

std::shared_ptr<Store> StoreNamed(Profile& profile, std::string_view name)
{
    for (const auto& info : profile.Stores())
        if (info.name == name)
            return profile.OpenStore(info.entryId);
    throw StoreError(StoreErrorKind::NotFound, "no store \"" + std::string(name) + "\"");
}

std::string FolderId(Profile& profile, std::string_view path)
{
    const auto slash = path.find('/');
    auto store = StoreNamed(profile, path.substr(0, slash));
    FolderInfo folder = store->RootFolder();
    std::string_view rest = slash == std::string_view::npos ? "" : path.substr(slash + 1);
    while (!rest.empty()) {
        const auto next = rest.find('/');
        const std::string_view name = rest.substr(0, next);
        bool found = false;
        for (const auto& sub : store->SubFolders(folder.entryId)) {
            if (sub.name == name) {
                folder = sub;
                found = true;
                break;
            }
        }
        if (!found)
            throw StoreError(StoreErrorKind::NotFound, "no folder \"" + std::string(path) + "\"");
        rest = next == std::string_view::npos ? "" : rest.substr(next + 1);
    }
    return folder.entryId;
}

std::string Resolve(Profile& profile, const CivilDate& anchor, std::string_view language,
                    std::string_view token)
{
    const auto colon = token.find(':');
    const std::string_view kind = token.substr(0, colon);
    const std::string_view arg = colon == std::string_view::npos ? "" : token.substr(colon + 1);
    if (kind == "store")
        return StoreNamed(profile, arg)->EntryId();
    if (kind == "folder")
        return FolderId(profile, arg);
    if (kind == "monthstart" || kind == "monthend") {
        const auto [year, month] = MonthAfter(anchor, std::stoi(std::string(arg)));
        return kind == "monthstart" ? DateText(year, month, 1, "00:00:00")
                                    : DateText(year, month, DaysInMonth(year, month), "23:59:59");
    }
    if (kind == "text") {
        const auto bar = arg.find('|');
        if (bar == std::string_view::npos)
            throw std::invalid_argument("{{" + std::string(token) + "}} has no English text");
        return std::string(language == "en" ? arg.substr(bar + 1) : arg.substr(0, bar));
    }
    throw std::invalid_argument("unknown token {{" + std::string(token) + "}}");
}

} // namespace

std::string FillSampleReports(Profile& profile, const CivilDate& anchor, std::string_view text,
                              std::string_view language)
{
    std::string out;
    std::size_t at = 0;
    for (;;) {
        const auto open = text.find("{{", at);
        out += text.substr(at, open == std::string_view::npos ? open : open - at);
        if (open == std::string_view::npos)
            return out;
        const auto close = text.find("}}", open + 2);
        if (close == std::string_view::npos)
            throw std::invalid_argument("unterminated token in the report definitions");
        out += Resolve(profile, anchor, language, text.substr(open + 2, close - open - 2));
        at = close + 2;
    }
}

bool WriteSampleReports(Profile& profile, const CivilDate& anchor,
                        const std::filesystem::path& dataFolder, std::string_view text,
                        std::string_view language)
{
    const auto path = dataFolder / "reports.xml";
    if (std::filesystem::exists(path))
        return false;
    const std::string filled = FillSampleReports(profile, anchor, text, language);
    std::filesystem::create_directories(dataFolder);
    runtime::ReplacingFile file(path.string(), "WriteSampleReports");
    file.Write(filled);
    file.Commit();
    return true;
}

} // namespace platform::store
